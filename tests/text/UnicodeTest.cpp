#include "kit/text/Unicode.h"

#include <gtest/gtest.h>
#include <string>

namespace tessellar {
namespace {

TEST(Unicode, ValidatesUTF8ByTheStrictRules) {
    for (const std::string valid : {"", "plain", "Café ✓ 🦊", "\xF4\x8F\xBF\xBF", "\xEF\xBF\xBE"})
        EXPECT_TRUE(unicode::isValidUTF8(valid)) << valid;
    // Overlong, surrogate, past U+10FFFF, truncated, lone continuation, a byte never used.
    for (const std::string invalid :
         {"\xC0\x80", "\xED\xA0\x80", "\xF4\x90\x80\x80", "ab\xE2\x82", "\x80", "\xFF"})
        EXPECT_FALSE(unicode::isValidUTF8(invalid));
    // Past the validator's 32-byte blocks, the fault still counts wherever it falls.
    for (std::size_t at = 0; at < 70; ++at) {
        std::string text(70, 'a');
        text[at] = '\xC3';
        EXPECT_FALSE(unicode::isValidUTF8(text)) << at;
    }
}

TEST(Unicode, CountsCodePointsAcrossWordBoundaries) {
    // Characters of one to four bytes at every offset of the eight-byte steps.
    const std::string pieces[] = {"a", "é", "✓", "🦊"};
    std::string text;
    std::size_t expected = 0;
    for (std::size_t i = 0; i < 45; ++i) {
        EXPECT_EQ(unicode::codePointCount(text), expected) << text;
        text += pieces[i % 4];
        ++expected;
    }
    EXPECT_EQ(unicode::codePointCount(""), 0u);

    // Past the 255 steps a lane can count before the lanes are summed, and not a multiple of them.
    std::string mixed;
    std::size_t characters = 0;
    for (std::size_t i = 0; mixed.size() < 3 * 16 * 255 + 7; ++i, ++characters)
        mixed += pieces[(i * 7) % 4];
    EXPECT_EQ(unicode::codePointCount(mixed), characters);
    EXPECT_EQ(unicode::codePointCount(std::string(5000, '\x80')), 0u) << "continuations only";
}

} // namespace
} // namespace tessellar
