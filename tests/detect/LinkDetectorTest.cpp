#include "kit/detect/LinkDetector.h"

#include "support/ConcurrentCalls.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace tessellar {
namespace {

std::string standalone(const std::string& text) {
    const auto url = LinkDetector::standaloneURL(text);
    return url ? url->absoluteString() : "(none)";
}

TEST(LinkDetector, StandaloneURLIsOneWebLinkAndNothingElse) {
    EXPECT_EQ(standalone("  https://www.example.com/docs/?q=1 \n"), "https://www.example.com/docs/?q=1");
    EXPECT_EQ(standalone("HTTP://Example.com"), "HTTP://Example.com");
    // Without a scheme the detector adds http.
    EXPECT_EQ(standalone("example.com/path"), "http://example.com/path");
    EXPECT_EQ(standalone("www.example.org"), "http://www.example.org");
    // Other schemes, more words, or no recognisable link.
    EXPECT_EQ(standalone("ftp://files.example.com/a"), "(none)");
    EXPECT_EQ(standalone("john@example.com"), "(none)");
    EXPECT_EQ(standalone("https://example.com more"), "(none)");
    EXPECT_EQ(standalone("https://example.com\u00A0more"), "(none)");
    EXPECT_EQ(standalone("example.com."), "(none)");
    EXPECT_EQ(standalone("https:example.com"), "(none)");
    EXPECT_EQ(standalone("notes.txt"), "(none)");
    EXPECT_EQ(standalone(""), "(none)");
    EXPECT_EQ(standalone(" \n\t "), "(none)");
}

TEST(LinkDetector, StandaloneURLAcceptsAtMost2048Characters) {
    const std::string head = "https://example.com/";
    const std::string atLimit = head + std::string(2048 - head.size(), 'a');
    EXPECT_EQ(standalone(atLimit), atLimit);
    EXPECT_EQ(standalone(atLimit + "a"), "(none)");
    // Characters, not bytes: 2,048 two-byte letters are still one link.
    const std::string bare = "example.com/";
    std::string accented = bare;
    for (std::size_t i = bare.size(); i < 2048; ++i)
        accented += "\u00E9";
    EXPECT_EQ(standalone(accented), "http://" + accented);
    EXPECT_EQ(standalone(accented + "\u00E9"), "(none)");
}

TEST(LinkDetector, DisplayStringIsHostAndPathWithoutWwwOrTrailingSlash) {
    const auto display = [](const std::string& text) {
        return LinkDetector::displayString(*Url::parse(text));
    };
    EXPECT_EQ(display("https://www.example.com/docs/guide/?q=1#top"), "example.com/docs/guide");
    EXPECT_EQ(display("https://www.example.com/"), "example.com");
    EXPECT_EQ(display("https://example.com"), "example.com");
    EXPECT_EQ(display("https://example.com//"), "example.com/");
    EXPECT_EQ(display("http://wwwexample.com/a%20b"), "wwwexample.com/a b");
    // Without a host the whole link stands in for it, and the path still follows.
    EXPECT_EQ(display("mailto:ann@example.com"), "mailto:ann@example.comann@example.com");
    EXPECT_EQ(display("urn:isbn"), "urn:isbnisbn");
}

TEST(LinkDetector, StandaloneEmailAddressIsTheTrimmedText) {
    EXPECT_EQ(LinkDetector::standaloneEmailAddress("  Ann.Lee+x@Example.co.uk\n"), "Ann.Lee+x@Example.co.uk");
    for (const char* address : {"Ana.Silva@Example.ORG", "Ana.Silva@Example.Org", "d'angelo@example.com",
                                "o'brien+news@example.ie", "a!b#c$d&e*f=g?h^i`j{k|l}m~n/o@example.com"})
        EXPECT_EQ(LinkDetector::standaloneEmailAddress(address), address);
    EXPECT_EQ(LinkDetector::standaloneEmailAddress("ann\"x@example.com"), std::nullopt);
    EXPECT_EQ(LinkDetector::standaloneEmailAddress("ann@exa'mple.com"), std::nullopt);
    EXPECT_EQ(LinkDetector::standaloneEmailAddress("ann@example.com and more"), std::nullopt);
    EXPECT_EQ(LinkDetector::standaloneEmailAddress("ann@example.com."), std::nullopt);
    EXPECT_EQ(LinkDetector::standaloneEmailAddress("ann@example"), std::nullopt);
    EXPECT_EQ(LinkDetector::standaloneEmailAddress("ann@example.com,bob@example.com"), std::nullopt);
    EXPECT_EQ(LinkDetector::standaloneEmailAddress("example.com"), std::nullopt);
    EXPECT_EQ(LinkDetector::standaloneEmailAddress(""), std::nullopt);
}

TEST(LinkDetector, StandalonePhoneNumberHasSevenTo24Characters) {
    EXPECT_EQ(LinkDetector::standalonePhoneNumber(" (650) 253-0000 "), "(650) 253-0000");
    EXPECT_EQ(LinkDetector::standalonePhoneNumber("+44 20 7946 0958"), "+44 20 7946 0958");
    // 24 characters is the longest accepted; 25 is never a phone number.
    EXPECT_EQ(LinkDetector::standalonePhoneNumber("+1 (650) 253-0000 x 1234"), "+1 (650) 253-0000 x 1234");
    EXPECT_EQ(LinkDetector::standalonePhoneNumber("+1 (650) 253-0000 x 12345"), std::nullopt);
    EXPECT_EQ(LinkDetector::standalonePhoneNumber("253000"), std::nullopt);
    EXPECT_EQ(LinkDetector::standalonePhoneNumber("650 253 0000 office"), std::nullopt);
    EXPECT_EQ(LinkDetector::standalonePhoneNumber("650 253 0000, (650) 253-0001"), std::nullopt);
    EXPECT_EQ(LinkDetector::standalonePhoneNumber("Order 1234567"), std::nullopt);
}

TEST(LinkDetector, ConcurrentCallsAgree) {
    const std::vector<std::string> texts = {
        "https://example.com/a", "Ana.Silva@Example.ORG", "(650) 253-0000", "example.org", "not a link",
        "d'angelo@example.com"};
    auto answers = [&texts] {
        std::vector<std::string> out;
        for (const std::string& text : texts) {
            out.push_back(standalone(text));
            out.push_back(LinkDetector::standaloneEmailAddress(text).value_or("(none)"));
            out.push_back(LinkDetector::standalonePhoneNumber(text).value_or("(none)"));
        }
        return out;
    };
    const auto expected = answers();
    for (const auto& result : concurrentResults(answers))
        EXPECT_EQ(result, expected);
}

} // namespace
} // namespace tessellar
