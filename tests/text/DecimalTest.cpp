#include "kit/text/Decimal.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <vector>

namespace tessellar {
namespace {

Decimal decimal(const char* text) {
    const auto value = Decimal::parse(text);
    EXPECT_TRUE(value) << text;
    return value.value_or(Decimal{});
}

TEST(Decimal, ParsesPlainNotationIntoCanonicalText) {
    const std::pair<const char*, const char*> cases[] = {
        {"1234.50", "1234.5"},
        {"99.90", "99.9"},
        {"007.50", "7.5"},
        {"0", "0"},
        {"0.00", "0"},
        {"-0", "0"},
        {"-0.0", "0"},
        {"-3", "-3"},
        {"10", "10"},
        {"0.05", "0.05"},
        {"100.001", "100.001"},
        // More digits than any binary floating-point number keeps.
        {"12345678901234567890.123456789", "12345678901234567890.123456789"},
    };
    for (const auto& [text, canonical] : cases)
        EXPECT_EQ(decimal(text).string(), canonical) << text;
}

TEST(Decimal, RejectsAnythingButDigitsWithOnePoint) {
    for (const char* text : {"", "-", ".5", "5.", "1,000", "1.2.3", " 5", "5 ", "+5", "1e5", "--1", "0x10",
                             "\u0663", "12a", "NaN"})
        EXPECT_FALSE(Decimal::parse(text)) << text;
}

TEST(Decimal, ComparesByValue) {
    EXPECT_EQ(decimal("99.90"), decimal("99.9"));
    EXPECT_EQ(decimal("-0"), decimal("0"));
    EXPECT_LT(decimal("0.45"), decimal("0.5"));
    EXPECT_LT(decimal("9.99"), decimal("10"));
    EXPECT_LT(decimal("999.99"), decimal("1234.5"));
    EXPECT_LT(decimal("-2"), decimal("-1"));
    EXPECT_LT(decimal("-1.5"), decimal("-1.25"));
    EXPECT_LT(decimal("-0.01"), decimal("0"));
    EXPECT_GT(decimal("0.1"), decimal("0.09"));
    EXPECT_NE(decimal("1.01"), decimal("1.1"));

    std::vector<Decimal> values{decimal("10"), decimal("-3.5"), decimal("0.25"), decimal("2"),
                                decimal("-10")};
    std::sort(values.begin(), values.end());
    std::vector<std::string> texts;
    for (const Decimal& value : values)
        texts.push_back(value.string());
    EXPECT_EQ(texts, (std::vector<std::string>{"-10", "-3.5", "0.25", "2", "10"}));
}

TEST(Decimal, ConvertsToTheNearestDouble) {
    EXPECT_DOUBLE_EQ(decimal("1234.50").toDouble(), 1234.5);
    EXPECT_DOUBLE_EQ(decimal("-0.1").toDouble(), -0.1);
    EXPECT_DOUBLE_EQ(Decimal{}.toDouble(), 0.0);
}

} // namespace
} // namespace tessellar
