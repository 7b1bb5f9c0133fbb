#include "kit/detect/TimestampDetector.h"

#include "support/ScopedEnvironment.h"

#include <gtest/gtest.h>
#include <ostream>
#include <string>

namespace tessellar {

void PrintTo(const TimestampDetector::Rendering& row, std::ostream* out) {
    *out << row.label << ": " << row.value;
}

namespace {

using Rendering = TimestampDetector::Rendering;

// ICU writes a narrow no-break space before the day period.
const std::string pm = "\u202FPM";

TEST(TimestampDetector, TenDigitsAreSecondsThirteenAreMilliseconds) {
    EXPECT_EQ(TimestampDetector::stamp("1700000000"),
              (TimestampDetector::Stamp{Timestamp::fromUnix(1700000000), false}));
    EXPECT_EQ(TimestampDetector::stamp("1700000000000"),
              (TimestampDetector::Stamp{Timestamp::fromUnix(1700000000), true}));
    EXPECT_EQ(TimestampDetector::stamp("1700000000123")->date, Timestamp::fromUnix(1700000000.123));
    EXPECT_EQ(TimestampDetector::stamp("  1700000000\n"),
              (TimestampDetector::Stamp{Timestamp::fromUnix(1700000000), false}));
    EXPECT_EQ(TimestampDetector::stamp("\t1700000000000 ")->wasMilliseconds, true);
}

TEST(TimestampDetector, SpanIsFixedByTheLeadingOne) {
    EXPECT_EQ(TimestampDetector::stamp("1000000000")->date, Timestamp::fromUnix(1000000000));
    EXPECT_EQ(TimestampDetector::stamp("1999999999")->date, Timestamp::fromUnix(1999999999));
    EXPECT_EQ(TimestampDetector::stamp("1999999999999")->date, Timestamp::fromUnix(1999999999.999));
    for (const char* text : {"0700000000", "2000000000", "0999999999999", "170000000", "17000000000",
                             "170000000000", "17000000000000", "+1700000000", "-1700000000", "1700000000.5",
                             "1,700,000,000", "1700 000000", "１700000000", "", "   ", "17000000OO"})
        EXPECT_EQ(TimestampDetector::stamp(text), std::nullopt) << text;
}

TEST(TimestampDetector, FourRenderingsInTheUsersZoneAndInUTC) {
    // Tests run in America/New_York and en_US.
    const auto stamp = TimestampDetector::stamp("1700000000");
    ASSERT_TRUE(stamp);
    const auto rows = TimestampDetector::renderings(*stamp, Timestamp::fromUnix(1700000000 + 731 * 86400));
    EXPECT_EQ(rows, (std::vector<Rendering>{
                        {"Local", "Tuesday, November 14, 2023 at 5:13:20" + pm},
                        {"UTC", "Tuesday, November 14, 2023 at 10:13:20" + pm},
                        {"ISO 8601", "2023-11-14T22:13:20Z"},
                        {"Relative", "2 years ago"},
                    }));
}

TEST(TimestampDetector, RelativeUsesTheLargestDifferingUnit) {
    const TimestampDetector::Stamp stamp{Timestamp::fromUnix(1700000000), false};
    auto relative = [&](double nowOffset) {
        return TimestampDetector::renderings(stamp, Timestamp::fromUnix(1700000000 + nowOffset)).back().value;
    };
    EXPECT_EQ(relative(-3 * 86400), "in 3 days");
    EXPECT_EQ(relative(3 * 86400 + 7200), "3 days ago");
    EXPECT_EQ(relative(14 * 86400), "2 weeks ago");
    EXPECT_EQ(relative(-90), "in 1 minute");
    EXPECT_EQ(relative(5), "5 seconds ago");
    EXPECT_EQ(relative(0), "in 0 seconds");
    EXPECT_EQ(relative(-3600 * 5), "in 5 hours");
    EXPECT_EQ(relative(-40 * 86400), "in 1 month");
    EXPECT_EQ(relative(-365 * 86400), "in 1 year");
    // Calendar years: 730 days from 14 November 2023 fall short of two (2024 is a leap year).
    EXPECT_EQ(relative(730 * 86400), "1 year ago");
    EXPECT_EQ(relative(731 * 86400), "2 years ago");
}

TEST(TimestampDetector, RelativeReadsTheClockByDefault) {
    const Clock::ScopedOverride now(Timestamp::fromUnix(1700000000 - 3 * 86400));
    const auto rows = TimestampDetector::renderings({Timestamp::fromUnix(1700000000), true});
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[3], (Rendering{"Relative", "in 3 days"}));
}

TEST(TimestampDetector, RenderingsFollowTheUsersLocale) {
    const testing::ScopedEnvironment german("LANG", "de_DE.UTF-8");
    const auto rows = TimestampDetector::renderings({Timestamp::fromUnix(1700000000), false},
                                                    Timestamp::fromUnix(1700000000 + 86400));
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].label, "Local");
    EXPECT_EQ(rows[0].value, "Dienstag, 14. November 2023 um 17:13:20");
    EXPECT_EQ(rows[1].value, "Dienstag, 14. November 2023 um 22:13:20");
    EXPECT_EQ(rows[2].value, "2023-11-14T22:13:20Z");
    EXPECT_EQ(rows[3].value, "vor 1 Tag");
}

} // namespace
} // namespace tessellar
