#include "kit/scan/address/AddressToken.h"

#include "kit/scan/address/PhraseTable.h"
#include "kit/text/Unicode.h"

#include <gtest/gtest.h>
#include <string>

namespace tessellar::address {
namespace {

std::vector<AddressToken> tokensOf(const icu::UnicodeString& text) {
    std::vector<AddressToken> tokens;
    AddressTokenizer::tokenize(text, 0, text.length(), tokens);
    return tokens;
}

std::string textOf(const icu::UnicodeString& text, const AddressToken& t) {
    return unicode::toUTF8(text.tempSubString(t.start, t.end - t.start));
}

TEST(AddressTokenizer, SplitsLinesAtEveryBreakWithCrLfAsOne) {
    const icu::UnicodeString text = unicode::toICU("a\r\nb\rc\nd\u2028e\u2029\n");
    using Lines = std::vector<std::pair<int32_t, int32_t>>;
    EXPECT_EQ(AddressTokenizer::lines(text),
              (Lines{{0, 1}, {3, 4}, {5, 6}, {7, 8}, {9, 10}, {11, 11}, {12, 12}}));
    EXPECT_EQ(AddressTokenizer::lines(icu::UnicodeString()), (Lines{{0, 0}}));
}

TEST(AddressTokenizer, JoinsInnerPunctuationAndNotesDotsAndCapitals) {
    const icu::UnicodeString text =
        unicode::toICU("P.O. Box 12, Winston-Salem, St. O'Fallon 62701-1234 1/2 d'Alene iL x- #5");
    const auto tokens = tokensOf(text);
    std::vector<std::string> texts;
    for (const auto& t : tokens)
        texts.push_back(textOf(text, t));
    EXPECT_EQ(texts,
              (std::vector<std::string>{"P.O", "Box", "12", ",", "Winston-Salem", ",", "St", "O'Fallon",
                                        "62701-1234", "1/2", "d'Alene", "iL", "x", "-", "#", "5"}));
    EXPECT_TRUE(tokens[0].innerDot && tokens[0].dotAfter && tokens[0].allCaps);
    EXPECT_EQ(tokens[0].key, "po");
    EXPECT_EQ(tokens[0].endWithDot(), 4);
    EXPECT_TRUE(tokens[6].dotAfter && !tokens[6].innerDot && !tokens[6].allCaps);
    EXPECT_TRUE(tokens[8].isNumber() && tokens[8].hasDigit);
    EXPECT_EQ(tokens[8].key, "62701-1234");
    EXPECT_TRUE(tokens[10].upperInitial) << "an elided article before a capital counts as capitalised";
    EXPECT_FALSE(tokens[11].upperInitial || tokens[11].allCaps);
    EXPECT_TRUE(tokens[3].isMark(u',') && !tokens[3].spaceBefore);
    EXPECT_TRUE(tokens[14].isMark(u'#') && tokens[14].spaceBefore);
    EXPECT_FALSE(tokens[15].spaceBefore);
}

TEST(AddressTokenizer, OffsetsAreUtf16AndLongOrForeignWordsHaveNoKey) {
    const icu::UnicodeString text = unicode::toICU("\U0001F4E6 Cañon " + std::string(40, 'A') + "\x01St");
    const auto tokens = tokensOf(text);
    ASSERT_EQ(tokens.size(), 4u);
    EXPECT_EQ(tokens[0].mark, u'\uFFFD'); // a supplementary-plane symbol is one mark
    EXPECT_EQ(tokens[0].end, 2);
    EXPECT_EQ(tokens[1].start, 3);
    EXPECT_EQ(tokens[1].end, 8);
    EXPECT_TRUE(tokens[1].key.empty());
    EXPECT_TRUE(tokens[2].key.empty());
    EXPECT_TRUE(tokens[2].allCaps);
    EXPECT_EQ(tokens[3].key, "st"); // the control character separates like a blank
    EXPECT_TRUE(tokens[3].spaceBefore);
}

TEST(PhraseTable, KeysAndLongestMatch) {
    EXPECT_EQ(PhraseTable::key("N.W."), "nw");
    EXPECT_EQ(PhraseTable::key("O'Fallon"), "o'fallon");
    EXPECT_EQ(PhraseTable::key("Cañon"), "ca\xC3\xB1on");

    const PhraseTable table{"New", "New York", "New York City", "South  Dakota"};
    const auto match = [&](std::vector<std::string_view> words) {
        return table.longestMatch(
            [&](std::size_t i) { return i < words.size() ? words[i] : std::string_view{}; });
    };
    EXPECT_EQ(match({"new", "york", "city"}), 3u);
    EXPECT_EQ(match({"new", "york", "state"}), 2u);
    EXPECT_EQ(match({"new", "jersey"}), 1u);
    EXPECT_EQ(match({"south", "dakota"}), 2u);
    EXPECT_EQ(match({"york"}), 0u);
    EXPECT_EQ(match({}), 0u);
    EXPECT_TRUE(table.contains("NEW"));
    EXPECT_FALSE(table.contains("New York"));
}

} // namespace
} // namespace tessellar::address
