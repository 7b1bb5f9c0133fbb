#include "kit/text/Decimal.h"

#include "support/Fixtures.h"

#include <gtest/gtest.h>

namespace tessellar {
namespace {

using testing::Row;

TEST(Decimal, FixtureTable) {
    const auto compare = [](const Row& c) {
        const auto a = Decimal::parse(c[1]), b = Decimal::parse(c[2]);
        return !a || !b ? "?" : *a == *b ? "=" : *a < *b ? "<" : ">";
    };
    EXPECT_GE(testing::checkTable(testing::fixture("tables/decimal.tsv"),
                                  {{"parse",
                                    [](const Row& c) {
                                        const auto value = Decimal::parse(c[1]);
                                        return value ? value->string() : "-";
                                    }},
                                   {"compare", [&](const Row& c) { return std::string(compare(c)); }}}),
              40);
}

TEST(Decimal, ConvertsToTheNearestDouble) {
    EXPECT_DOUBLE_EQ(Decimal::parse("1234.50")->toDouble(), 1234.5);
    EXPECT_DOUBLE_EQ(Decimal::parse("-0.1")->toDouble(), -0.1);
    EXPECT_DOUBLE_EQ(Decimal{}.toDouble(), 0.0);
}

} // namespace
} // namespace tessellar
