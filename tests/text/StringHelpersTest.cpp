#include "kit/text/StringHelpers.h"

#include "kit/text/Unicode.h"

#include <gtest/gtest.h>

namespace tessellar {
namespace {

TEST(StringHelpers, TrimmedRemovesUnicodeWhitespaceAndNewlinesOnly) {
    EXPECT_EQ(trimmed("  a b \n"), "a b");
    EXPECT_EQ(trimmed("\t\r\n\u00A0\u2003x\u3000\u2028"), "x");
    EXPECT_EQ(trimmed("\u200Bx"), "\u200Bx"); // zero-width space is not whitespace
    EXPECT_EQ(trimmed(""), "");
    EXPECT_EQ(trimmed(" \n "), "");
    EXPECT_TRUE(isBlank(" \u00A0\n"));
    EXPECT_FALSE(isBlank(" . "));
}

TEST(StringHelpers, NormalizedWhitespaceCollapsesEveryRun) {
    EXPECT_EQ(normalizedWhitespace("  a \n\n b\t\tc  "), "a b c");
    EXPECT_EQ(normalizedWhitespace("one\r\ntwo"), "one two");
    EXPECT_EQ(normalizedWhitespace("\u00A0x\u2003y"), "x y");
    EXPECT_EQ(normalizedWhitespace("   "), "");
    EXPECT_EQ(normalizedWhitespace("solo"), "solo");
}

TEST(StringHelpers, TruncatedCutsAtTheLastSpaceWithinTheLimit) {
    EXPECT_EQ(truncated("hello wonderful world", 10), "hello\u2026");
    EXPECT_EQ(truncated("abcdefghijklmnop", 10), "abcdefghij\u2026");
    EXPECT_EQ(truncated(" abcdefghijklmnop", 10), " abcdefghi\u2026"); // a space at the start does not count
    EXPECT_EQ(truncated("exactly10!", 10), "exactly10!");
    EXPECT_EQ(truncated("", 0), "");
    EXPECT_EQ(truncated("ab", 0), "\u2026");
    EXPECT_EQ(truncated("hello world", 6, "..."), "hello...");
    // Only U+0020 is a cut point.
    EXPECT_EQ(truncated("hello\u00A0wonderful world", 10), "hello\u00A0wond\u2026");
}

TEST(StringHelpers, TruncatedCountsGraphemeClusters) {
    // Each flag is two scalars, each "é" written with a combining accent is two: all count as one.
    EXPECT_EQ(truncated("\U0001F1EB\U0001F1F7\U0001F1E9\U0001F1EA\U0001F1EE\U0001F1F9", 2),
              "\U0001F1EB\U0001F1F7\U0001F1E9\U0001F1EA\u2026");
    EXPECT_EQ(truncated("e\u0301e\u0301e\u0301", 3), "e\u0301e\u0301e\u0301");
    EXPECT_EQ(truncated("e\u0301e\u0301e\u0301", 2), "e\u0301e\u0301\u2026");
    EXPECT_EQ(unicode::characterCount("a\r\nb"), 3u);
}

TEST(StringHelpers, FirstMeaningfulLineSkipsBlankLinesAndTrims) {
    EXPECT_EQ(firstMeaningfulLine("\n  \n  Hello there \nnext"), "Hello there");
    EXPECT_EQ(firstMeaningfulLine(" \n\t\n"), std::nullopt);
    EXPECT_EQ(firstMeaningfulLine(""), std::nullopt);
    EXPECT_EQ(firstMeaningfulLine("last line only"), "last line only");
    // CR LF is one character and not a line feed: the whole text is one line.
    EXPECT_EQ(firstMeaningfulLine("first\r\nsecond\r\n"), "first\r\nsecond");
}

TEST(StringHelpers, LineCountCountsLineFeedCharacters) {
    EXPECT_EQ(lineCount(""), 0u);
    EXPECT_EQ(lineCount("a"), 1u);
    EXPECT_EQ(lineCount("a\n\nb"), 3u);
    EXPECT_EQ(lineCount("a\n"), 2u);
    EXPECT_EQ(lineCount("a\r\nb\r\nc"), 1u);
    EXPECT_EQ(lineCount("a\rb"), 1u);
    EXPECT_EQ(lineCount("\n"), 2u);
}

TEST(StringHelpers, ContainsCaseInsensitiveIgnoresCaseAndDiacritics) {
    EXPECT_TRUE(containsCaseInsensitive("Invoice from ACME", "acme"));
    EXPECT_TRUE(containsCaseInsensitive("Caf\u00E9 M\u00FCller", "cafe muller"));
    EXPECT_TRUE(containsCaseInsensitive("cafe", "CAF\u00C9"));
    EXPECT_TRUE(containsCaseInsensitive("STRASSE", "stra\u00DFe")); // full case folding
    EXPECT_FALSE(containsCaseInsensitive("abc", "abd"));
    EXPECT_FALSE(containsCaseInsensitive("abc", ""));
    EXPECT_FALSE(containsCaseInsensitive("", "a"));
}

TEST(StringHelpers, SlugifiedFoldsAndJoinsWithSingleDashes) {
    EXPECT_EQ(slugified("  Q3 Report \u2014 Final!! "), "q3-report-final");
    EXPECT_EQ(slugified("Caf\u00E9 \u00DC"), "cafe-u");
    EXPECT_EQ(slugified("--Hello--World--"), "hello-world");
    EXPECT_EQ(slugified("!!!"), "");
    EXPECT_EQ(slugified(""), "");
    EXPECT_EQ(slugified("\u65E5\u672C 2026"), "\u65E5\u672C-2026");
    EXPECT_EQ(slugified("a_b.c"), "a-b-c");
}

TEST(StringHelpers, InvalidUTF8NeverBreaksTheHelpers) {
    const std::string junk("\xff\xfe a \xc3\x28 b \xed\xa0\x80", 13);
    EXPECT_NO_THROW(trimmed(junk));
    EXPECT_NO_THROW(normalizedWhitespace(junk));
    EXPECT_NO_THROW(truncated(junk, 3));
    EXPECT_EQ(lineCount(junk), 1u);
    EXPECT_TRUE(firstMeaningfulLine(junk).has_value());
    EXPECT_EQ(slugified(junk), "a-b");
    EXPECT_EQ(unicode::utf16Length("\U0001F600a"), 3);
}

} // namespace
} // namespace tessellar
