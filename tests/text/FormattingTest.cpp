#include "kit/text/Formatting.h"

#include "kit/base/Clock.h"
#include "kit/text/ISO8601.h"
#include "support/ScopedEnvironment.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <limits>

namespace tessellar {
namespace {

Timestamp at(const char* iso) {
    return *iso8601::parse(iso);
}

class FormattingTest : public ::testing::Test {
protected:
    testing::PinnedZoneAndLocale pinned;
    // Wednesday 11 March 2026, 10:30 in New York.
    Clock::ScopedOverride clock{at("2026-03-11T10:30:00-04:00")};
    const Timestamp afternoon = at("2026-03-12T18:05:00Z"); // 14:05 in New York
};

TEST_F(FormattingTest, DayAndTimeUseTheLocalePatternAndZone) {
    // ICU puts a narrow no-break space before the day period.
    EXPECT_EQ(Formatting::dayAndTime(afternoon), "Mar 12, 2:05\u202FPM");
    EXPECT_EQ(Formatting::time(afternoon), "2:05\u202FPM");
    {
        testing::ScopedEnvironment german("LC_ALL", "de_DE.UTF-8");
        EXPECT_EQ(Formatting::dayAndTime(afternoon), "12. M\u00E4rz, 14:05");
        EXPECT_EQ(Formatting::time(afternoon), "14:05");
    }
    {
        testing::ScopedEnvironment british("LC_ALL", "en_GB.UTF-8");
        EXPECT_EQ(Formatting::dayAndTime(afternoon), "12 Mar, 14:05");
    }
    {
        testing::ScopedEnvironment tokyo("TZ", "Asia/Tokyo");
        EXPECT_EQ(Formatting::time(afternoon), "3:05\u202FAM");
    }
}

TEST_F(FormattingTest, ShortDateShowsTheYearOnlyWhenItDiffers) {
    EXPECT_EQ(Formatting::shortDate(afternoon, at("2026-12-31T12:00:00-05:00")), "Mar 12");
    EXPECT_EQ(Formatting::shortDate(afternoon, at("2025-03-12T12:00:00-04:00")), "Mar 12, 2026");
    // The year is the local one: 03:00 UTC on New Year's Day is still New Year's Eve here.
    const Timestamp eve = at("2027-01-01T03:00:00Z");
    EXPECT_EQ(Formatting::shortDate(eve, at("2026-06-01T12:00:00-04:00")), "Dec 31");
    EXPECT_EQ(Formatting::shortDate(eve, at("2027-01-01T12:00:00-05:00")), "Dec 31, 2026");
}

TEST_F(FormattingTest, RelativeDayHeaderJudgesTodayByTheClock) {
    const Timestamp reference = at("2026-01-01T12:00:00-05:00");
    EXPECT_EQ(Formatting::relativeDayHeader(at("2026-03-11T08:00:00-04:00"), reference), "Today");
    EXPECT_EQ(Formatting::relativeDayHeader(at("2026-03-10T23:59:00-04:00"), reference), "Yesterday");
    EXPECT_EQ(Formatting::relativeDayHeader(at("2026-03-09T23:59:00-04:00"), reference), "Monday, Mar 9");
    EXPECT_EQ(Formatting::relativeDayHeader(at("2026-03-12T00:00:00-04:00"), reference), "Thursday, Mar 12");
    EXPECT_EQ(Formatting::relativeDayHeader(at("2025-12-30T12:00:00-05:00"), reference), "Dec 30, 2025");
    // The reference only decides whether the year is shown, never "Today".
    const Timestamp longAgo = at("2020-05-01T12:00:00-04:00");
    EXPECT_EQ(Formatting::relativeDayHeader(at("2026-03-11T23:00:00-04:00"), longAgo), "Today");
    EXPECT_EQ(Formatting::relativeDayHeader(at("2026-03-10T01:00:00-04:00"), longAgo), "Yesterday");
    EXPECT_EQ(Formatting::relativeDayHeader(longAgo, longAgo), "Friday, May 1");
}

TEST_F(FormattingTest, RelativeDayHeaderCountsLocalDaysAroundMidnight) {
    const Clock::ScopedOverride justAfterMidnight(at("2026-03-11T00:30:00-04:00"));
    const Timestamp reference = at("2026-03-11T00:30:00-04:00");
    EXPECT_EQ(Formatting::relativeDayHeader(at("2026-03-11T00:00:00-04:00"), reference), "Today");
    EXPECT_EQ(Formatting::relativeDayHeader(at("2026-03-10T23:59:59-04:00"), reference), "Yesterday");
    EXPECT_EQ(Formatting::relativeDayHeader(at("2026-03-10T00:00:00-04:00"), reference), "Yesterday");
    EXPECT_EQ(Formatting::relativeDayHeader(at("2026-03-09T23:59:59-04:00"), reference), "Monday, Mar 9");
    // Across the change to daylight time (8 March) a day is still a day.
    const Clock::ScopedOverride monday(at("2026-03-09T00:10:00-04:00"));
    EXPECT_EQ(Formatting::relativeDayHeader(at("2026-03-08T00:10:00-05:00"), reference), "Yesterday");
}

TEST_F(FormattingTest, FilenameDatesAreFixedFormatsInTheLocalZone) {
    const Timestamp lateFebruary = at("2026-03-01T03:00:00Z"); // 22:00 on 28 February here
    EXPECT_EQ(Formatting::filenameMonth(lateFebruary), "2026-02");
    EXPECT_EQ(Formatting::filenameDay(lateFebruary), "2026-02-28");
    // Not localized: Western digits and ISO order whatever the locale.
    const testing::ScopedEnvironment arabic("LC_ALL", "ar_EG.UTF-8");
    EXPECT_EQ(Formatting::filenameDay(afternoon), "2026-03-12");
    EXPECT_EQ(Formatting::filenameMonth(afternoon), "2026-03");
}

TEST_F(FormattingTest, FileSizeInDecimalKilobytesMegabytesAndGigabytes) {
    const std::pair<std::int64_t, const char*> cases[] = {
        {0, "Zero KB"},
        {1, "1 KB"},
        {499, "1 KB"},
        {1'499, "1 KB"},
        {1'500, "2 KB"},
        {245'000, "245 KB"},
        {999'499, "999 KB"},
        {999'500, "1 MB"},
        {3'000'000, "3 MB"},
        {3'100'000, "3.1 MB"},
        {3'149'999, "3.1 MB"},
        {3'150'000, "3.2 MB"},
        {999'949'999, "999.9 MB"},
        {999'950'000, "1 GB"},
        {1'200'000'000, "1.2 GB"},
        {1'500'000'000'000, "1,500 GB"},
        {std::numeric_limits<std::int64_t>::max(), "9,223,372,036.9 GB"},
        {-1'500, "-2 KB"},
        {std::numeric_limits<std::int64_t>::min(), "-9,223,372,036.9 GB"},
    };
    for (const auto& [bytes, text] : cases)
        EXPECT_EQ(Formatting::fileSize(bytes), text) << bytes;
    const testing::ScopedEnvironment german("LC_ALL", "de_DE.UTF-8");
    EXPECT_EQ(Formatting::fileSize(3'100'000), "3,1 MB");
    EXPECT_EQ(Formatting::fileSize(1'500'000'000'000), "1.500 GB");
}

} // namespace
} // namespace tessellar
