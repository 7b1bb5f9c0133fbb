#include "kit/text/StringHelpers.h"

#include "kit/text/Splitting.h"
#include "kit/text/Unicode.h"

#include <functional>
#include <gtest/gtest.h>

namespace tessellar {
namespace {

struct Case {
    std::string input;
    std::string expected;
};

void expectAll(const std::function<std::string(const std::string&)>& f, const std::vector<Case>& cases) {
    for (const auto& [input, expected] : cases)
        EXPECT_EQ(f(input), expected) << '"' << input << '"';
}

TEST(StringHelpers, WhitespaceIsUnicodeWhiteSpaceAndNewlines) {
    expectAll(trimmed, {{"  a b \n", "a b"},
                        {"\t\r\n\u00A0\u2003x\u3000\u2028", "x"},
                        {"\u200Bx", "\u200Bx"}, // zero-width space is not whitespace
                        {" \n ", ""}});
    expectAll(
        normalizedWhitespace,
        {{"  a \n\n b\t\tc  ", "a b c"}, {"one\r\ntwo", "one two"}, {"\u00A0x\u2003y", "x y"}, {"   ", ""}});
    EXPECT_TRUE(isBlank(" \u00A0\n"));
    EXPECT_FALSE(isBlank(" . "));
}

TEST(StringHelpers, TruncatedCutsAtTheLastSpaceWithinTheLimitCountingCharacters) {
    expectAll([](const std::string& s) { return truncated(s, 10); },
              {{"hello wonderful world", "hello\u2026"},
               {"abcdefghijklmnop", "abcdefghij\u2026"},
               {" abcdefghijklmnop", " abcdefghi\u2026"}, // a space at the start does not count
               {"exactly10!", "exactly10!"},
               {"hello\u00A0wonderful world", "hello\u00A0wond\u2026"}}); // only U+0020 is a cut point
    EXPECT_EQ(truncated("ab", 0), "\u2026");
    EXPECT_EQ(truncated("hello world", 6, "..."), "hello...");
    // A flag is two scalars and "é" with a combining accent two: each counts as one character.
    EXPECT_EQ(truncated("\U0001F1EB\U0001F1F7\U0001F1E9\U0001F1EA\U0001F1EE\U0001F1F9", 2),
              "\U0001F1EB\U0001F1F7\U0001F1E9\U0001F1EA\u2026");
    EXPECT_EQ(truncated("e\u0301e\u0301e\u0301", 3), "e\u0301e\u0301e\u0301");
    EXPECT_EQ(truncated("e\u0301e\u0301e\u0301", 2), "e\u0301e\u0301\u2026");
}

TEST(StringHelpers, LinesEndAtLineFeedCharactersOnly) {
    EXPECT_EQ(firstMeaningfulLine("\n  \n  Hello there \nnext"), "Hello there");
    EXPECT_EQ(firstMeaningfulLine(" \n\t\n"), std::nullopt);
    EXPECT_EQ(firstMeaningfulLine(""), std::nullopt);
    // CR LF is one character and not a line feed: the whole text is one line.
    EXPECT_EQ(firstMeaningfulLine("first\r\nsecond\r\n"), "first\r\nsecond");
    for (const auto& [text, count] : std::vector<std::pair<std::string, std::size_t>>{
             {"", 0}, {"a", 1}, {"a\n\nb", 3}, {"\n", 2}, {"a\r\nb\r\nc", 1}, {"a\rb", 1}})
        EXPECT_EQ(lineCount(text), count) << text;
}

TEST(StringHelpers, SplitLinesKeepsEachCallersLineBreaks) {
    using Lines = std::vector<std::string_view>;
    const std::string text = "a\r\nb\rc\nd\u2028e\n";
    EXPECT_EQ(splitLines(text, LineBreaks::lineFeed), (Lines{"a\r", "b\rc", "d\u2028e", ""}));
    EXPECT_EQ(splitLines(text, LineBreaks::lineFeedCharacter), (Lines{"a\r\nb\rc", "d\u2028e", ""}));
    EXPECT_EQ(splitLines(text, LineBreaks::anyNewline), (Lines{"a", "", "b", "c", "d", "e", ""}));
    EXPECT_EQ(splitLines("x\u0085y\u2029z\v\f", LineBreaks::anyNewline), (Lines{"x", "y", "z", "", ""}));
    EXPECT_EQ(splitLines("", LineBreaks::anyNewline), (Lines{""}));
    // Cut-off or other E2 80 sequences are not breaks.
    EXPECT_EQ(splitLines("a\xE2\x80", LineBreaks::anyNewline), (Lines{"a\xE2\x80"}));
    EXPECT_EQ(splitLines("a\u2027b", LineBreaks::anyNewline), (Lines{"a\u2027b"}));
}

TEST(StringHelpers, SplitFileNameTakesTheExtensionOfTheLastComponent) {
    const std::vector<std::array<std::string_view, 3>> cases{
        {"report.PDF", "report", "PDF"},    {"archive.tar.gz", "archive.tar", "gz"},
        {".profile", ".profile", ""},       {"dir.d/.profile", "dir.d/.profile", ""},
        {"dir.d/notes", "dir.d/notes", ""}, {"dir/a.b", "dir/a", "b"},
        {"trailing.", "trailing", ""}};
    for (const auto& [name, stem, extension] : cases) {
        EXPECT_EQ(splitFileName(name).stem, stem) << name;
        EXPECT_EQ(splitFileName(name).extension, extension) << name;
    }
}

TEST(StringHelpers, ContainsCaseInsensitiveIgnoresCaseAndDiacritics) {
    EXPECT_TRUE(containsCaseInsensitive("Invoice from ACME", "acme"));
    EXPECT_TRUE(containsCaseInsensitive("Caf\u00E9 M\u00FCller", "cafe muller"));
    EXPECT_TRUE(containsCaseInsensitive("cafe", "CAF\u00C9"));
    EXPECT_TRUE(containsCaseInsensitive("STRASSE", "stra\u00DFe")); // full case folding
    EXPECT_FALSE(containsCaseInsensitive("abc", "abd"));
    EXPECT_FALSE(containsCaseInsensitive("abc", ""));
}

TEST(StringHelpers, SlugifiedFoldsAndJoinsWithSingleDashes) {
    expectAll(slugified, {{"  Q3 Report \u2014 Final!! ", "q3-report-final"},
                          {"Caf\u00E9 \u00DC", "cafe-u"},
                          {"--Hello--World--", "hello-world"},
                          {"!!!", ""},
                          {"\u65E5\u672C 2026", "\u65E5\u672C-2026"},
                          {"a_b.c", "a-b-c"}});
}

TEST(StringHelpers, InvalidUTF8NeverBreaksTheHelpers) {
    const std::string junk("\xff\xfe a \xc3\x28 b \xed\xa0\x80", 13);
    EXPECT_EQ(trimmed(junk), junk.substr(0, 10) + "\xed\xa0\x80");
    EXPECT_EQ(normalizedWhitespace(junk), "\xff\xfe a \xc3\x28 b \xed\xa0\x80");
    EXPECT_EQ(lineCount(junk), 1u);
    EXPECT_EQ(firstMeaningfulLine(junk), junk);
    EXPECT_EQ(slugified(junk), "a-b");
    EXPECT_EQ(unicode::utf16Length("\U0001F600a"), 3);
}

} // namespace
} // namespace tessellar
