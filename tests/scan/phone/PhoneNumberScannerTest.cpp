#include "kit/scan/DataDetector.h"
#include "support/ScopedEnvironment.h"

#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace tessellar {
namespace {

using Numbers = std::vector<std::pair<TextRange, std::string>>;

Numbers numbers(const std::string& text) {
    Numbers out;
    for (const auto& m : DataDetector::matches(DataDetector::Type::phoneNumber, text)) {
        EXPECT_EQ(m.type, DataDetector::Type::phoneNumber);
        EXPECT_EQ(DataDetector::substring(text, m.range), m.phoneNumber.value_or("?"));
        out.emplace_back(m.range, m.phoneNumber.value_or(""));
    }
    return out;
}

TEST(PhoneNumberScanner, NumbersAsWrittenWithTheirRanges) {
    EXPECT_EQ(numbers("Call (650) 253-0000 or +44 20 7946 0958 today"),
              (Numbers{{{5, 14}, "(650) 253-0000"}, {{23, 16}, "+44 20 7946 0958"}}));
    EXPECT_EQ(numbers("Office: 650.253.0000."), (Numbers{{{8, 12}, "650.253.0000"}}));
    EXPECT_EQ(numbers("6502530000"), (Numbers{{{0, 10}, "6502530000"}}));
    EXPECT_EQ(numbers("Desk 650-253-0000 ext. 123, thanks"), (Numbers{{{5, 21}, "650-253-0000 ext. 123"}}));
}

TEST(PhoneNumberScanner, FiguresThatAreNoPhoneNumbersAreLeftAlone) {
    EXPECT_TRUE(numbers("Order 1234567 shipped 2024-01-15 at 12:30, total 1500.00, zip 94043").empty());
    // Invalid area code, and numbers glued to letters.
    EXPECT_TRUE(numbers("(555) 123-4567 abc6502530000 6502530000abc").empty());
    EXPECT_TRUE(numbers("").empty());
}

TEST(PhoneNumberScanner, NationalNumbersFollowTheUserRegion) {
    const std::string london = "Ring 020 7946 0958 please";
    EXPECT_TRUE(numbers(london).empty()); // the tests run as en_US
    testing::ScopedEnvironment gb("LC_ALL", "en_GB.UTF-8");
    EXPECT_EQ(numbers(london), (Numbers{{{5, 13}, "020 7946 0958"}}));
}

TEST(PhoneNumberScanner, RangesAreUTF16UnitsEvenAfterBadBytes) {
    // Emoji: two units; each invalid byte: one U+FFFD unit.
    EXPECT_EQ(numbers("\U0001F4DE \u00FC (650) 253-0001"), (Numbers{{{5, 14}, "(650) 253-0001"}}));
    EXPECT_EQ(numbers("\xFF\xFE 650 253 0000\xED\xA0\x80"), (Numbers{{{3, 12}, "650 253 0000"}}));
}

TEST(PhoneNumberScanner, LongRunsAreCutWithoutLosingOrRepeatingNumbers) {
    // Twenty numbers in one unbroken run of phone characters, longer than two windows.
    std::string text;
    Numbers expected;
    for (int i = 0; i < 20; ++i) {
        const std::string number = "(650) 253-00" + std::to_string(10 + i);
        expected.push_back({TextRange{static_cast<int32_t>(text.size()), 14}, number});
        text += number + " / ";
    }
    EXPECT_EQ(numbers(text), expected);
}

TEST(PhoneNumberScanner, DigitHeavyTextStopsCostingAfterItsBudget) {
    std::string digits;
    for (int i = 0; i < 20000; ++i)
        digits += "12 34 56 78 ";
    // Before the budget runs out numbers are found; the hostile block then ends the search.
    const auto found = numbers("650 253 0000, " + digits + ", 650 253 0001");
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].second, "650 253 0000");
    // A short block of figures costs little of the budget.
    EXPECT_EQ(numbers("12 34 56 78 90 12 34 56 78 90, 650 253 0001").size(), 1u);
}

} // namespace
} // namespace tessellar
