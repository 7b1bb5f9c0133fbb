#include "kit/scan/DataDetector.h"
#include "support/Fixtures.h"

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

// tests/fixtures/links.tsv: a text, then the (matched text, URL) of each link in it.
TEST(LinkScanner, FixtureTexts) {
    const auto rows = testing::tableRows(testing::fixture("links.tsv"));
    EXPECT_GE(rows.size(), 35u);
    for (const auto& cells : rows) {
        ASSERT_EQ(cells.size() % 2, 1u) << cells[0];
        Links expected;
        for (std::size_t k = 1; k < cells.size(); k += 2)
            expected.emplace_back(cells[k], cells[k + 1]);
        EXPECT_EQ(links(cells[0]), expected) << cells[0];
    }
}

TEST(LinkScanner, AnyBytesGiveMatchesOrNothing) {
    EXPECT_TRUE(links("").empty());
    // Invalid UTF-8 and an encoded lone surrogate become U+FFFD, one unit each; they end a link.
    const std::string broken = "\xFF\xFE https://example.com/a\xED\xA0\x80z \x01\x02 example.org\x7F";
    EXPECT_EQ(DataDetector::matches(DataDetector::Type::link, broken).at(0).range, (TextRange{3, 21}));
    EXPECT_EQ(links(broken), (Links{{"https://example.com/a", "https://example.com/a"},
                                    {"example.org", "http://example.org"}}));
    std::string nuls("www.example.com", 15);
    nuls += std::string(3, '\0') + "x@example.com";
    EXPECT_EQ(links(nuls).size(), 2u);
}

TEST(LinkScanner, LongHostileTextsFinishWithTheRightAnswer) {
    // Each of these once cost a scan per position; they must come back, and with the right answer.
    std::string dots, ats, schemes, apostrophes;
    for (int i = 0; i < 200000; ++i)
        dots += "a.", ats += "a@", schemes += "http:", apostrophes += "a'";
    for (const std::string* text : {&dots, &ats, &schemes, &apostrophes})
        EXPECT_TRUE(links(*text).empty());
    EXPECT_EQ(links(apostrophes + "@example.com").size(), 1u);
    const std::string longLink = "https://example.com/" + std::string(500000, 'a');
    const auto m = DataDetector::matches(DataDetector::Type::link, longLink + ").");
    ASSERT_EQ(m.size(), 1u);
    EXPECT_EQ(m[0].range.length, static_cast<int32_t>(longLink.size()));
}

} // namespace
} // namespace tessellar
