#include "kit/detect/TravelDetector.h"

#include "kit/base/Clock.h"
#include "kit/text/ISO8601.h"
#include "support/Fixtures.h"

#include <gtest/gtest.h>

namespace tessellar {
namespace {

// Tuesday 10 March 2026, noon in New York.
const Timestamp now = *iso8601::parse("2026-03-10T16:00:00Z");

class TravelDetectorTest : public ::testing::Test {
    Clock::ScopedOverride clock{now};
};

TEST_F(TravelDetectorTest, FixtureTable) {
    using testing::Row;
    using testing::shown;
    const auto flight = [](const Row& c) {
        const auto f = TravelDetector::flight(c[1]);
        return f ? shown(f->airline) + "|" + shown(f->flightNumber) + "|" + shown(f->origin) + "|" +
                       shown(f->destination) + "|" + shown(f->confirmationCode) + "|" + shown(f->confidence) +
                       "|" + (f->departure ? iso8601::format(*f->departure) : "-")
                 : "-";
    };
    EXPECT_GE(testing::checkTable(testing::fixture("tables/travel.tsv"), {{"flight", flight}}), 23);
}

} // namespace
} // namespace tessellar
