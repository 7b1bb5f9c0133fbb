#include "app/AppEnvironment.h"

#include <gtest/gtest.h>

namespace tessellar::app {
namespace {

// The tests run in America/New_York, where 2024-03-10 loses an hour.
TEST(AppEnvironment, RetentionCountsCalendarDaysAcrossADaylightSavingChange) {
    const Timestamp noonAfterChange = Timestamp::fromUnix(1710259200); // 2024-03-12T16:00Z, 12:00 EDT
    const Timestamp cutoff = AppEnvironment::retentionCutoff(noonAfterChange, 7);
    // 2024-03-05 12:00 EST is 17:00Z: seven calendar days, one hour short of 7 × 24 h.
    EXPECT_EQ(cutoff.unixSeconds, 1709658000);
    EXPECT_EQ(AppEnvironment::retentionCutoff(noonAfterChange, 1).unixSeconds, 1710259200 - 86400);
    // A day count past any calendar keeps everything rather than failing.
    EXPECT_LT(AppEnvironment::retentionCutoff(noonAfterChange, 1'000'000'000).unixSeconds, 0);
}

} // namespace
} // namespace tessellar::app
