#include "kit/scan/DataDetector.h"

#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace tessellar {
namespace {

// (matched text, URL it carries) for each link in `text`, in order; ranges are checked by
// cutting the text with them, so a wrong UTF-16 offset shows up as a wrong substring.
std::vector<std::pair<std::string, std::string>> links(const std::string& text) {
    std::vector<std::pair<std::string, std::string>> out;
    for (const auto& m : DataDetector::matches(DataDetector::Type::link, text)) {
        EXPECT_EQ(m.type, DataDetector::Type::link);
        EXPECT_TRUE(m.url.has_value());
        out.emplace_back(DataDetector::substring(text, m.range), m.url ? m.url->absoluteString() : "");
    }
    return out;
}

using Links = std::vector<std::pair<std::string, std::string>>;

TEST(LinkScanner, SchemeLinksKeepTheirTextAndDropSentencePunctuation) {
    EXPECT_EQ(links("Visit https://example.com/path?x=1#frag."),
              (Links{{"https://example.com/path?x=1#frag", "https://example.com/path?x=1#frag"}}));
    EXPECT_EQ(links("Is it http://example.com/a, or ftp://files.example.com/pub?!"),
              (Links{{"http://example.com/a", "http://example.com/a"},
                     {"ftp://files.example.com/pub", "ftp://files.example.com/pub"}}));
    EXPECT_EQ(links("HTTPS://EXAMPLE.COM/X;"), (Links{{"HTTPS://EXAMPLE.COM/X", "HTTPS://EXAMPLE.COM/X"}}));
    EXPECT_EQ(links("dev at http://localhost:3000/api and http://[::1]:8080/x"),
              (Links{{"http://localhost:3000/api", "http://localhost:3000/api"},
                     {"http://[::1]:8080/x", "http://[::1]:8080/x"}}));
    EXPECT_EQ(links("open file:///etc/hosts now"), (Links{{"file:///etc/hosts", "file:///etc/hosts"}}));
    EXPECT_EQ(links("call tel:+1-650-253-0000."), (Links{{"tel:+1-650-253-0000", "tel:+1-650-253-0000"}}));
}

TEST(LinkScanner, ClosingBracketsAreKeptOnlyWhenTheLinkOpenedThem) {
    EXPECT_EQ(
        links("(see https://en.wikipedia.org/wiki/Foo_(bar))."),
        (Links{{"https://en.wikipedia.org/wiki/Foo_(bar)", "https://en.wikipedia.org/wiki/Foo_(bar)"}}));
    EXPECT_EQ(links("[docs: example.com/docs]"), (Links{{"example.com/docs", "http://example.com/docs"}}));
    EXPECT_EQ(links("{x: https://a.example.com/q?a[0]=1}"),
              (Links{{"https://a.example.com/q?a[0]=1", "https://a.example.com/q?a[0]=1"}}));
    EXPECT_EQ(links("\"https://quoted.example.com\" and <http://angle.example.com>"),
              (Links{{"https://quoted.example.com", "https://quoted.example.com"},
                     {"http://angle.example.com", "http://angle.example.com"}}));
}

TEST(LinkScanner, AddressesWithoutSchemeComeBackAsHttp) {
    EXPECT_EQ(links("example.com/path and www.example.org."),
              (Links{{"example.com/path", "http://example.com/path"},
                     {"www.example.org", "http://www.example.org"}}));
    EXPECT_EQ(links("Go to sub.example.co.uk:8080/x?y=1#z, then stop"),
              (Links{{"sub.example.co.uk:8080/x?y=1#z", "http://sub.example.co.uk:8080/x?y=1#z"}}));
    EXPECT_EQ(links("Router 192.168.1.1:8080/admin or 10.0.0.1."),
              (Links{{"192.168.1.1:8080/admin", "http://192.168.1.1:8080/admin"},
                     {"10.0.0.1", "http://10.0.0.1"}}));
    const auto m = DataDetector::matches(DataDetector::Type::link, "www.example.org");
    ASSERT_EQ(m.size(), 1u);
    EXPECT_EQ(m[0].url->scheme(), "http");
    EXPECT_EQ(m[0].url->host(), "www.example.org");
}

TEST(LinkScanner, HostsNeedAKnownTopLevelDomain) {
    // Abbreviations, file names, missing spaces and bare suffixes are no links.
    EXPECT_TRUE(links("e.g. i.e. U.S.A. a.m. 3.14 v1.2.3 example.invalidtld").empty());
    EXPECT_TRUE(links("end of sentence.Next one, Mr.Smith").empty());
    EXPECT_TRUE(links("run setup.py, unzip notes.zip, co.uk").empty());
    EXPECT_TRUE(links("bad -example.com labels and example-.com and a..example.com").empty());
    EXPECT_TRUE(links("256.1.1.1 and 01.2.3.4 are not addresses").empty());
    // A file-like top-level domain is a link once it has www., a port or a path.
    EXPECT_EQ(links("www.setup.py docs.rs/serde github.io"), (Links{{"www.setup.py", "http://www.setup.py"},
                                                                    {"docs.rs/serde", "http://docs.rs/serde"},
                                                                    {"github.io", "http://github.io"}}));
    EXPECT_EQ(links("EXAMPLE.COM"), (Links{{"EXAMPLE.COM", "http://EXAMPLE.COM"}}));
}

TEST(LinkScanner, SchemesNeedSomethingAfterThem) {
    EXPECT_TRUE(links("http:// and https://. and mailto: and tel: and http:/example.com").empty());
    EXPECT_TRUE(links("Note:this re:that ftp:/x").empty());
    // Part of a word is not a scheme.
    EXPECT_TRUE(links("xhttp://example").empty());
}

TEST(LinkScanner, EmailAddressesBecomeMailtoLinks) {
    EXPECT_EQ(links("Mail john.doe+tag@example.com. Or mailto:jane@example.org?subject=Hi!"),
              (Links{{"john.doe+tag@example.com", "mailto:john.doe+tag@example.com"},
                     {"mailto:jane@example.org?subject=Hi", "mailto:jane@example.org?subject=Hi"}}));
    EXPECT_EQ(links("Contact:john@example.com"), (Links{{"john@example.com", "mailto:john@example.com"}}));
    EXPECT_EQ(links("(ann@mail.example.co.uk)"),
              (Links{{"ann@mail.example.co.uk", "mailto:ann@mail.example.co.uk"}}));
    const auto m = DataDetector::matches(DataDetector::Type::link, "x john@example.com");
    ASSERT_EQ(m.size(), 1u);
    EXPECT_EQ(m[0].url->scheme(), "mailto");
    EXPECT_EQ(m[0].range, (TextRange{2, 16}));
}

TEST(LinkScanner, MailboxesKeepApostrophesAndCapitalisedDomains) {
    EXPECT_EQ(links("Write to d'angelo@example.com or Ana.Silva@Example.Org."),
              (Links{{"d'angelo@example.com", "mailto:d'angelo@example.com"},
                     {"Ana.Silva@Example.Org", "mailto:Ana.Silva@Example.Org"}}));
    // After "mailto:" every character a mailbox may hold counts.
    EXPECT_EQ(links("mailto:first/last=x!y@example.com"),
              (Links{{"mailto:first/last=x!y@example.com", "mailto:first/last=x!y@example.com"}}));
    // Without an "@" an apostrophe ends a host as before; a capitalised last word is no domain.
    EXPECT_EQ(links("example.com's page, sentence.Next"), (Links{{"example.com", "http://example.com"}}));
}

TEST(LinkScanner, MalformedEmailAddressesAreNotLinks) {
    EXPECT_TRUE(links("user@localhost a@b.c a..b@example.com a.@example.com @example.com").empty());
    EXPECT_TRUE(links("x@1.2.3.4 mailto:@example.com mailto:a.@example.com").empty());
}

TEST(LinkScanner, RangesAreUTF16Units) {
    // The emoji takes two UTF-16 units, each accented letter one.
    const std::string text = "\U0001F600 caf\u00E9 https://m\u00FCnchen.de/stra\u00DFe \u2014 ok";
    const auto m = DataDetector::matches(DataDetector::Type::link, text);
    ASSERT_EQ(m.size(), 1u);
    EXPECT_EQ(m[0].range, (TextRange{8, 25}));
    EXPECT_EQ(m[0].url->absoluteString(), "https://m\u00FCnchen.de/stra\u00DFe");
    // A closing typographic quote or an ellipsis ends a link.
    EXPECT_EQ(links("\u201Cexample.com/a\u201D and example.org\u2026"),
              (Links{{"example.com/a", "http://example.com/a"}, {"example.org", "http://example.org"}}));
}

TEST(LinkScanner, LinksTouchingTextOfUnspacedScripts) {
    EXPECT_EQ(links("\u8BF7\u8BBF\u95EEexample.com\u8C22\u8C22"),
              (Links{{"example.com", "http://example.com"}}));
    EXPECT_EQ(links("\u30E1\u30FC\u30EBann@example.jp\u307E\u3067"),
              (Links{{"ann@example.jp", "mailto:ann@example.jp"}}));
    // With its scheme written out a link runs on over such letters, up to the full stop.
    EXPECT_EQ(links("\u89C1https://zh.wikipedia.org/wiki/\u4E2D\u56FD\u3002"),
              (Links{{"https://zh.wikipedia.org/wiki/\u4E2D\u56FD",
                      "https://zh.wikipedia.org/wiki/\u4E2D\u56FD"}}));
    // Letters of other scripts belong to the host name they touch.
    EXPECT_EQ(links("\u0431\u043B\u043Eexample.com"),
              (Links{{"\u0431\u043B\u043Eexample.com", "http://\u0431\u043B\u043Eexample.com"}}));
    EXPECT_EQ(links("https://\u4F8B\u5B50.\u4E2D\u56FD/"),
              (Links{{"https://\u4F8B\u5B50.\u4E2D\u56FD/", "https://\u4F8B\u5B50.\u4E2D\u56FD/"}}));
}

TEST(LinkScanner, AnyBytesGiveMatchesOrNothing) {
    EXPECT_TRUE(links("").empty());
    // Invalid UTF-8 and an encoded lone surrogate become U+FFFD, one unit each; they end a link.
    const std::string broken = "\xFF\xFE https://example.com/a\xED\xA0\x80z \x01\x02 example.org\x7F";
    const auto m = DataDetector::matches(DataDetector::Type::link, broken);
    ASSERT_EQ(m.size(), 2u);
    EXPECT_EQ(m[0].range, (TextRange{3, 21}));
    EXPECT_EQ(m[0].url->absoluteString(), "https://example.com/a");
    EXPECT_EQ(m[1].url->absoluteString(), "http://example.org");
    std::string nuls("www.example.com", 15);
    nuls += std::string(3, '\0') + "x@example.com";
    EXPECT_EQ(links(nuls).size(), 2u);
}

TEST(LinkScanner, LongHostileTextsFinishWithTheRightAnswer) {
    // Each of these once cost a scan per position; they must come back, and with the right answer.
    std::string dots;
    std::string ats;
    std::string schemes;
    std::string apostrophes;
    for (int i = 0; i < 200000; ++i) {
        dots += "a.";
        ats += "a@";
        schemes += "http:";
        apostrophes += "a'";
    }
    EXPECT_TRUE(links(dots).empty());
    EXPECT_TRUE(links(ats).empty());
    EXPECT_TRUE(links(schemes).empty());
    EXPECT_TRUE(links(apostrophes).empty());
    EXPECT_EQ(links(apostrophes + "@example.com").size(), 1u);
    const std::string longLink = "https://example.com/" + std::string(500000, 'a');
    const auto m = DataDetector::matches(DataDetector::Type::link, longLink + ").");
    ASSERT_EQ(m.size(), 1u);
    EXPECT_EQ(m[0].range.length, static_cast<int32_t>(longLink.size()));
}

} // namespace
} // namespace tessellar
