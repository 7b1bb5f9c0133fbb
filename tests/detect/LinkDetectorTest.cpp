#include "kit/detect/LinkDetector.h"

#include "support/ConcurrentCalls.h"
#include "support/Fixtures.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace tessellar {
namespace {

std::string standalone(const std::string& text) {
    const auto url = LinkDetector::standaloneURL(text);
    return url ? url->absoluteString() : "-";
}

// tests/fixtures/standalone-links.tsv: a function, a text, the expected answer ("-": none).
TEST(LinkDetector, FixtureTexts) {
    using testing::Row;
    using testing::shown;
    EXPECT_GE(testing::checkTable(
                  testing::fixture("standalone-links.tsv"),
                  {{"url", [](const Row& c) { return standalone(c[1]); }},
                   {"display", [](const Row& c) { return LinkDetector::displayString(*Url::parse(c[1])); }},
                   {"email", [](const Row& c) { return shown(LinkDetector::standaloneEmailAddress(c[1])); }},
                   {"phone", [](const Row& c) { return shown(LinkDetector::standalonePhoneNumber(c[1])); }}}),
              40);
}

TEST(LinkDetector, StandaloneURLAcceptsAtMost2048Characters) {
    const std::string head = "https://example.com/";
    const std::string atLimit = head + std::string(2048 - head.size(), 'a');
    EXPECT_EQ(standalone(atLimit), atLimit);
    EXPECT_EQ(standalone(atLimit + "a"), "-");
    // Characters, not bytes: 2,048 two-byte letters are still one link.
    const std::string bare = "example.com/";
    std::string accented = bare;
    for (std::size_t i = bare.size(); i < 2048; ++i)
        accented += "\u00E9";
    EXPECT_EQ(standalone(accented), "http://" + accented);
    EXPECT_EQ(standalone(accented + "\u00E9"), "-");
}

TEST(LinkDetector, ConcurrentCallsAgree) {
    const std::vector<std::string> texts = {
        "https://example.com/a", "Ana.Silva@Example.ORG", "(650) 253-0000", "example.org", "not a link",
        "d'angelo@example.com"};
    auto answers = [&texts] {
        std::vector<std::string> out;
        for (const std::string& text : texts) {
            out.push_back(standalone(text));
            out.push_back(LinkDetector::standaloneEmailAddress(text).value_or("-"));
            out.push_back(LinkDetector::standalonePhoneNumber(text).value_or("-"));
        }
        return out;
    };
    const auto expected = answers();
    for (const auto& result : concurrentResults(answers))
        EXPECT_EQ(result, expected);
}

} // namespace
} // namespace tessellar
