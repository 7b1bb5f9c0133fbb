#include "kit/detect/TimestampDetector.h"

#include "support/Fixtures.h"
#include "support/ScopedEnvironment.h"

#include <gtest/gtest.h>
#include <ostream>

namespace tessellar {

void PrintTo(const TimestampDetector::Rendering& row, std::ostream* out) {
    *out << row.label << ": " << row.value;
}

namespace {

using Rendering = TimestampDetector::Rendering;
using testing::Row;

TEST(TimestampDetector, FixtureTable) {
    const auto stamp = [](const Row& c) {
        const auto found = TimestampDetector::stamp(c[1]);
        return found ? testing::shown(found->date.unixSeconds) + "|" + testing::shown(found->wasMilliseconds)
                     : "-";
    };
    const auto relative = [](const Row& c) {
        const TimestampDetector::Stamp stamp{Timestamp::fromUnix(1700000000), false};
        return TimestampDetector::renderings(stamp, Timestamp::fromUnix(1700000000 + std::stod(c[1])))
            .back()
            .value;
    };
    EXPECT_GE(testing::checkTable(testing::fixture("tables/timestamps.tsv"),
                                  {{"stamp", stamp}, {"relative", relative}}),
              35);
}

TEST(TimestampDetector, FourRenderingsInTheUsersZoneAndInUTC) {
    // Tests run in America/New_York and en_US; ICU puts a narrow no-break space before PM.
    const TimestampDetector::Stamp stamp{Timestamp::fromUnix(1700000000), false};
    EXPECT_EQ(TimestampDetector::renderings(stamp, Timestamp::fromUnix(1700000000 + 731 * 86400)),
              (std::vector<Rendering>{{"Local", "Tuesday, November 14, 2023 at 5:13:20\u202FPM"},
                                      {"UTC", "Tuesday, November 14, 2023 at 10:13:20\u202FPM"},
                                      {"ISO 8601", "2023-11-14T22:13:20Z"},
                                      {"Relative", "2 years ago"}}));
    {
        // Relative to the clock by default.
        const Clock::ScopedOverride now(Timestamp::fromUnix(1700000000 - 3 * 86400));
        EXPECT_EQ(TimestampDetector::renderings(stamp)[3], (Rendering{"Relative", "in 3 days"}));
    }
    const testing::ScopedEnvironment german("LANG", "de_DE.UTF-8");
    EXPECT_EQ(TimestampDetector::renderings(stamp, Timestamp::fromUnix(1700000000 + 86400)),
              (std::vector<Rendering>{{"Local", "Dienstag, 14. November 2023 um 17:13:20"},
                                      {"UTC", "Dienstag, 14. November 2023 um 22:13:20"},
                                      {"ISO 8601", "2023-11-14T22:13:20Z"},
                                      {"Relative", "vor 1 Tag"}}));
}

} // namespace
} // namespace tessellar
