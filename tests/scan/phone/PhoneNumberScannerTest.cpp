#include "kit/scan/DataDetector.h"
#include "support/Fixtures.h"
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

TEST(PhoneNumberScanner, FixtureTable) {
    const auto shown = [](const testing::Row& c) {
        std::string out;
        for (const auto& [range, number] : numbers(c[1]))
            out += (out.empty() ? "" : ";") + std::to_string(range.location) + "," +
                   std::to_string(range.length) + "," + number;
        return out;
    };
    EXPECT_GE(testing::checkTable(testing::fixture("tables/phones.tsv"), {{"numbers", shown}}), 9);
}

TEST(PhoneNumberScanner, NationalNumbersFollowTheUserRegion) {
    const std::string london = "Ring 020 7946 0958 please";
    EXPECT_TRUE(numbers(london).empty()); // the tests run as en_US
    testing::ScopedEnvironment gb("LC_ALL", "en_GB.UTF-8");
    EXPECT_EQ(numbers(london), (Numbers{{{5, 13}, "020 7946 0958"}}));
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
    // Before the budget runs out numbers are found; the hostile block then ends the search.
    const auto found =
        numbers("650 253 0000, " + testing::repeated("12 34 56 78 ", 20000) + ", 650 253 0001");
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].second, "650 253 0000");
    // A short block of figures costs little of the budget.
    EXPECT_EQ(numbers("12 34 56 78 90 12 34 56 78 90, 650 253 0001").size(), 1u);
}

} // namespace
} // namespace tessellar
