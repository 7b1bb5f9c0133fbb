#include "kit/detect/ScheduleDetector.h"

#include "kit/base/Clock.h"
#include "kit/text/ISO8601.h"
#include "support/Fixtures.h"
#include "support/ScopedEnvironment.h"

#include <gtest/gtest.h>

namespace tessellar {
namespace {

using testing::Row;
using testing::shown;

// Accepted and never consulted: relative phrases follow the clock.
const Timestamp reference = *iso8601::parse("2001-01-01T00:00:00Z");

TEST(ScheduleDetector, FixtureTable) {
    const testing::PinnedZoneAndLocale pinned;
    const Clock::ScopedOverride clock(*iso8601::parse("2026-03-11T10:30:00-04:00"));
    const auto occasion = [](const Row& c) {
        const auto o = ScheduleDetector::occasion(c[1], reference);
        return o ? iso8601::format(o->date) + "|" + shown(o->hasTime) + "|" + o->subject + "|" +
                       shown(o->isDeadline)
                 : "-";
    };
    EXPECT_GE(
        testing::checkTable(
            testing::fixture("tables/schedule.tsv"),
            {{"occasion", occasion},
             {"trim", [](const Row& c) { return ScheduleDetector::trimmingDanglingConnectives(c[1]); }}}),
        46);
}

} // namespace
} // namespace tessellar
