#include "kit/detect/TextSignals.h"

#include "kit/base/Clock.h"
#include "kit/text/ISO8601.h"
#include "support/Fixtures.h"
#include "support/ScopedEnvironment.h"

#include <gtest/gtest.h>

namespace tessellar {
namespace {

using Money = TextSignals::MoneyAmount;
using testing::Row;
using testing::shown;

std::string shownMoney(const std::optional<Money>& money) {
    return money ? money->raw + "|" + money->value.string() + "|" + money->currencySymbol : "-";
}

// A list written "a|b|c" ("-": empty).
std::vector<std::string> list(const std::string& cell) {
    std::vector<std::string> out;
    for (std::size_t from = 0, at = 0; cell != "-" && at != std::string::npos; from = at + 1)
        out.push_back(cell.substr(from, (at = cell.find('|', from)) - from));
    return out;
}

// tests/fixtures/text-signals.tsv: a function, its arguments, then the expected answer.
TEST(TextSignals, FixtureTable) {
    const testing::PinnedZoneAndLocale pinned;
    const Clock::ScopedOverride clock(*iso8601::parse("2026-03-11T10:30:00-04:00"));
    const auto money = [](const Row& c) {
        std::string out;
        for (const auto& amount : TextSignals::moneyAmounts(c[1]))
            out += (out.empty() ? "" : ";") + shownMoney(amount);
        return out;
    };
    const auto labelRange = [](const Row& c) {
        const auto range = TextSignals::labelRange(c[1], c[2]);
        return range ? std::to_string(range->location) + "," + std::to_string(range->length) : "-";
    };
    const auto dates = [](const Row& c) {
        std::string out;
        for (const auto& date : TextSignals::dates(c[1]))
            out += (out.empty() ? "" : ";") + iso8601::format(date);
        return out;
    };
    const auto date = [](const Row& c) {
        const auto found = TextSignals::date(list(c[1]), c[2], std::stoul(c[3]));
        return found ? iso8601::format(*found) : "-";
    };
    EXPECT_GE(
        testing::checkTable(
            testing::fixture("text-signals.tsv"),
            {{"money", money},
             {"primary", [](const Row& c) { return shownMoney(TextSignals::primaryAmount(c[1])); }},
             {"organization", [](const Row& c) { return shown(TextSignals::organizationName(c[1])); }},
             {"normalized", [](const Row& c) { return TextSignals::normalizedOrganizationName(c[1]); }},
             {"orgline", [](const Row& c) { return shown(TextSignals::looksLikeOrganizationLine(c[1])); }},
             {"labelRange", labelRange},
             {"keywordScore",
              [](const Row& c) { return std::to_string(TextSignals::keywordScore(list(c[1]), c[2])); }},
             {"dates", dates},
             {"date", date}}),
        100);
    EXPECT_EQ((Money{"$5", *Decimal::parse("5"), "$"}.display()), "$5");
}

TEST(TextSignals, MoneyAmountsStayBoundedOnHostileText) {
    // A long line of comma-separated numbers and a long run of "$1," are read in one pass;
    // the list of amounts stops growing at ten thousand.
    const std::string dollars = testing::repeated("$1,", 200000);
    EXPECT_TRUE(TextSignals::moneyAmounts(testing::repeated("1,234,", 200000)).empty());
    EXPECT_EQ(TextSignals::moneyAmounts(dollars).size(), 10000u);
    EXPECT_EQ(shownMoney(TextSignals::primaryAmount(dollars + "$2")), "$2|2|$");
}

} // namespace
} // namespace tessellar
