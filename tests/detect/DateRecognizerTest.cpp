#include "kit/detect/DateRecognizer.h"

#include "kit/support/Clock.h"
#include "kit/text/ISO8601.h"
#include "kit/text/Unicode.h"
#include "text/ScopedEnvironment.h"

#include <cmath>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace tessellar {
namespace {

// Wednesday 11 March 2026, 10:30 in New York (daylight time began on Sunday 8 March).
const Timestamp now = *iso8601::parse("2026-03-11T10:30:00-04:00");

std::shared_ptr<const icu::TimeZone> zone(const char* id) {
    return std::shared_ptr<const icu::TimeZone>(icu::TimeZone::createTimeZone(id));
}

DateRecognizer::Options newYork(const char* locale = "en_US") {
    return DateRecognizer::Options::forLocale(icu::Locale(locale), zone("America/New_York"));
}

Timestamp at(const char* iso) {
    const auto parsed = iso8601::parse(iso);
    EXPECT_TRUE(parsed) << iso;
    return parsed.value_or(Timestamp{});
}

struct Row {
    const char* text;
    const char* matched;  // the text of the one match; nullptr when nothing is a date
    const char* expected; // the instant, with the offset written out
};

// clang-format off
const Row rows[] = {
    // Day and month written out, with and without a year.
    {"12 March", "12 March", "2026-03-12T00:00:00-04:00"},
    {"March 12", "March 12", "2026-03-12T00:00:00-04:00"},
    {"Mar 12th", "Mar 12th", "2026-03-12T00:00:00-04:00"},
    {"Mar. 12", "Mar. 12", "2026-03-12T00:00:00-04:00"},
    {"the 12th of March", "the 12th of March", "2026-03-12T00:00:00-04:00"},
    {"12th of March", "12th of March", "2026-03-12T00:00:00-04:00"},
    {"12 Mar 2026", "12 Mar 2026", "2026-03-12T00:00:00-04:00"},
    {"March 12, 2026", "March 12, 2026", "2026-03-12T00:00:00-04:00"},
    {"March 12 2026", "March 12 2026", "2026-03-12T00:00:00-04:00"},
    {"Thursday, March 12, 2026", "Thursday, March 12, 2026", "2026-03-12T00:00:00-04:00"},
    {"Thu 12 Mar", "Thu 12 Mar", "2026-03-12T00:00:00-04:00"},
    {"12-Mar-2026", "12-Mar-2026", "2026-03-12T00:00:00-04:00"},
    {"12-Mar-26", "12-Mar-26", "2026-03-12T00:00:00-04:00"},
    {"MARCH 12", "MARCH 12", "2026-03-12T00:00:00-04:00"},
    {"December 25, 2027", "December 25, 2027", "2027-12-25T00:00:00-05:00"},
    {"1 January 2027", "1 January 2027", "2027-01-01T00:00:00-05:00"},
    {"Feb 29, 2028", "Feb 29, 2028", "2028-02-29T00:00:00-05:00"},
    {"Sept 3rd, 2026", "Sept 3rd, 2026", "2026-09-03T00:00:00-04:00"},
    {"June 30", "June 30", "2026-06-30T00:00:00-04:00"},
    {"May 5", "May 5", "2026-05-05T00:00:00-04:00"},
    {"may 5", "may 5", "2026-05-05T00:00:00-04:00"},
    {"5th may", "5th may", "2026-05-05T00:00:00-04:00"},
    {"5 May 2026", "5 May 2026", "2026-05-05T00:00:00-04:00"},
    {"March 12\u201314", "March 12\u201314", "2026-03-12T00:00:00-04:00"},
    {"12-14 March", "12-14 March", "2026-03-12T00:00:00-04:00"},
    // Without a year: the occurrence nearest to now.
    {"Mar 3", "Mar 3", "2026-03-03T00:00:00-05:00"},
    {"Dec 24", "Dec 24", "2025-12-24T00:00:00-05:00"},
    {"Jan 5", "Jan 5", "2026-01-05T00:00:00-05:00"},
    {"Sep 9", "Sep 9", "2026-09-09T00:00:00-04:00"},   // 182 days ahead, 183 back
    {"Sep 10", "Sep 10", "2025-09-10T00:00:00-04:00"}, // 183 days ahead, 182 back
    {"Sep 11", "Sep 11", "2025-09-11T00:00:00-04:00"},
    // Numbers.
    {"2026-03-12", "2026-03-12", "2026-03-12T00:00:00-04:00"},
    {"2026/03/12", "2026/03/12", "2026-03-12T00:00:00-04:00"},
    {"2026.3.12", "2026.3.12", "2026-03-12T00:00:00-04:00"},
    {"12/03/2026", "12/03/2026", "2026-12-03T00:00:00-05:00"},
    {"3/12/26", "3/12/26", "2026-03-12T00:00:00-04:00"},
    {"03/15/2026", "03/15/2026", "2026-03-15T00:00:00-04:00"},
    {"25/12/2026", "25/12/2026", "2026-12-25T00:00:00-05:00"},
    {"12.03.2026", "12.03.2026", "2026-03-12T00:00:00-04:00"},
    {"31.12.2026", "31.12.2026", "2026-12-31T00:00:00-05:00"},
    {"12.03.26", "12.03.26", "2026-03-12T00:00:00-04:00"},
    {"12-03-2026", "12-03-2026", "2026-12-03T00:00:00-05:00"},
    {"3/12/47", "3/12/47", "1947-03-12T00:00:00-05:00"},
    {"1/15/46", "1/15/46", "2046-01-15T00:00:00-05:00"},
    // ISO and internet date-times with zones.
    {"2026-03-12T09:30:00Z", "2026-03-12T09:30:00Z", "2026-03-12T09:30:00Z"},
    {"2026-03-12T09:30:00+01:00", "2026-03-12T09:30:00+01:00", "2026-03-12T08:30:00Z"},
    {"2026-03-12T09:30:00+0100", "2026-03-12T09:30:00+0100", "2026-03-12T08:30:00Z"},
    {"2026-03-12T09:30:00.250-05:00", "2026-03-12T09:30:00.250-05:00", "2026-03-12T14:30:00.250Z"},
    {"2026-03-12T09:30", "2026-03-12T09:30", "2026-03-12T09:30:00-04:00"},
    {"2026-03-12 14:00", "2026-03-12 14:00", "2026-03-12T14:00:00-04:00"},
    {"2026-03-12 14:00:00+02:00", "2026-03-12 14:00:00+02:00", "2026-03-12T12:00:00Z"},
    {"Thu, 12 Mar 2026 18:05:00 +0000", "Thu, 12 Mar 2026 18:05:00 +0000", "2026-03-12T18:05:00Z"},
    // Weekdays (today is a Wednesday).
    {"Friday", "Friday", "2026-03-13T00:00:00-04:00"},
    {"on Fri", "Fri", "2026-03-13T00:00:00-04:00"},
    {"by Sat", "Sat", "2026-03-14T00:00:00-04:00"},
    {"Tuesday", "Tuesday", "2026-03-17T00:00:00-04:00"},
    {"MONDAY", "MONDAY", "2026-03-16T00:00:00-04:00"},
    {"Wednesday", "Wednesday", "2026-03-18T00:00:00-04:00"},
    {"this Wednesday", "this Wednesday", "2026-03-11T00:00:00-04:00"},
    {"this Friday", "this Friday", "2026-03-13T00:00:00-04:00"},
    {"this coming Monday", "this coming Monday", "2026-03-16T00:00:00-04:00"},
    {"next Friday", "next Friday", "2026-03-20T00:00:00-04:00"},
    {"next Monday", "next Monday", "2026-03-16T00:00:00-04:00"},
    {"next Wednesday", "next Wednesday", "2026-03-18T00:00:00-04:00"},
    {"next Sunday", "next Sunday", "2026-03-22T00:00:00-04:00"},
    {"last Friday", "last Friday", "2026-03-06T00:00:00-05:00"},
    {"last Wednesday", "last Wednesday", "2026-03-04T00:00:00-05:00"},
    // Days named relative to today.
    {"today", "today", "2026-03-11T00:00:00-04:00"},
    {"Today", "Today", "2026-03-11T00:00:00-04:00"},
    {"tonight", "tonight", "2026-03-11T20:00:00-04:00"},
    {"tomorrow", "tomorrow", "2026-03-12T00:00:00-04:00"},
    {"tmrw", "tmrw", "2026-03-12T00:00:00-04:00"},
    {"yesterday", "yesterday", "2026-03-10T00:00:00-04:00"},
    {"day after tomorrow", "day after tomorrow", "2026-03-13T00:00:00-04:00"},
    {"the day after tomorrow", "the day after tomorrow", "2026-03-13T00:00:00-04:00"},
    {"day before yesterday", "day before yesterday", "2026-03-09T00:00:00-04:00"},
    {"this morning", "this morning", "2026-03-11T09:00:00-04:00"},
    {"this evening", "this evening", "2026-03-11T18:00:00-04:00"},
    {"tomorrow morning", "tomorrow morning", "2026-03-12T09:00:00-04:00"},
    {"tomorrow afternoon", "tomorrow afternoon", "2026-03-12T15:00:00-04:00"},
    {"Friday night", "Friday night", "2026-03-13T20:00:00-04:00"},
    // Distances from today.
    {"in 3 days", "in 3 days", "2026-03-14T00:00:00-04:00"},
    {"in two weeks", "in two weeks", "2026-03-25T00:00:00-04:00"},
    {"in a week", "in a week", "2026-03-18T00:00:00-04:00"},
    {"in 1 month", "in 1 month", "2026-04-11T00:00:00-04:00"},
    {"in a year", "in a year", "2027-03-11T00:00:00-05:00"},
    {"next week", "next week", "2026-03-18T00:00:00-04:00"},
    {"next month", "next month", "2026-04-11T00:00:00-04:00"},
    {"next year", "next year", "2027-03-11T00:00:00-05:00"},
    {"3 days from now", "3 days from now", "2026-03-14T00:00:00-04:00"},
    {"a week from today", "a week from today", "2026-03-18T00:00:00-04:00"},
    {"2 days ago", "2 days ago", "2026-03-09T00:00:00-04:00"},
    {"3 weeks ago", "3 weeks ago", "2026-02-18T00:00:00-05:00"},
    {"end of the month", "end of the month", "2026-03-31T00:00:00-04:00"},
    {"the end of this month", "the end of this month", "2026-03-31T00:00:00-04:00"},
    {"end of next month", "end of next month", "2026-04-30T00:00:00-04:00"},
    {"end of the year", "end of the year", "2026-12-31T00:00:00-05:00"},
    {"end of February", "end of February", "2026-02-28T00:00:00-05:00"},
    {"in 2 hours", "in 2 hours", "2026-03-11T12:30:00-04:00"},
    {"in 30 minutes", "in 30 minutes", "2026-03-11T11:00:00-04:00"},
    {"in half an hour", "in half an hour", "2026-03-11T11:00:00-04:00"},
    {"an hour from now", "an hour from now", "2026-03-11T11:30:00-04:00"},
    {"45 minutes ago", "45 minutes ago", "2026-03-11T09:45:00-04:00"},
    // Times alone: the next occurrence (it is 10:30).
    {"3pm", "3pm", "2026-03-11T15:00:00-04:00"},
    {"3 pm", "3 pm", "2026-03-11T15:00:00-04:00"},
    {"3 PM", "3 PM", "2026-03-11T15:00:00-04:00"},
    {"3:30 p.m.", "3:30 p.m.", "2026-03-11T15:30:00-04:00"},
    {"3:30pm", "3:30pm", "2026-03-11T15:30:00-04:00"},
    {"3 a.m", "3 a.m", "2026-03-12T03:00:00-04:00"},
    {"9.30am", "9.30am", "2026-03-12T09:30:00-04:00"},
    {"6.45 pm", "6.45 pm", "2026-03-11T18:45:00-04:00"},
    {"15:30", "15:30", "2026-03-11T15:30:00-04:00"},
    {"10:40", "10:40", "2026-03-11T10:40:00-04:00"},
    {"10:30", "10:30", "2026-03-11T10:30:00-04:00"},
    {"10:20", "10:20", "2026-03-12T10:20:00-04:00"},
    {"9am", "9am", "2026-03-12T09:00:00-04:00"},
    {"7:05:30", "7:05:30", "2026-03-12T07:05:30-04:00"},
    {"noon", "noon", "2026-03-11T12:00:00-04:00"},
    {"12 noon", "12 noon", "2026-03-11T12:00:00-04:00"},
    {"midnight", "midnight", "2026-03-12T00:00:00-04:00"},
    {"12am", "12am", "2026-03-12T00:00:00-04:00"},
    {"12pm", "12pm", "2026-03-11T12:00:00-04:00"},
    {"11:59 pm", "11:59 pm", "2026-03-11T23:59:00-04:00"},
    {"9 o'clock", "9 o'clock", "2026-03-12T09:00:00-04:00"},
    {"9 o\u2019clock", "9 o\u2019clock", "2026-03-12T09:00:00-04:00"},
    {"15:30 UTC", "15:30 UTC", "2026-03-11T15:30:00Z"},
    {"14:00 UTC", "14:00 UTC", "2026-03-12T14:00:00Z"},
    {"3pm EST", "3pm EST", "2026-03-11T20:00:00Z"},
    {"9am PST", "9am PST", "2026-03-11T17:00:00Z"},
    {"9am GMT+1", "9am GMT+1", "2026-03-12T08:00:00Z"},
    // Ranges give their start.
    {"3-5pm", "3-5pm", "2026-03-11T15:00:00-04:00"},
    {"11-1pm", "11-1pm", "2026-03-11T11:00:00-04:00"},
    {"9am-5pm", "9am-5pm", "2026-03-12T09:00:00-04:00"},
    {"10:00\u201311:30", "10:00\u201311:30", "2026-03-12T10:00:00-04:00"},
    {"2 to 4pm", "2 to 4pm", "2026-03-11T14:00:00-04:00"},
    {"noon-2pm", "noon-2pm", "2026-03-11T12:00:00-04:00"},
    // Dates with times, in either order.
    {"tomorrow at 3pm", "tomorrow at 3pm", "2026-03-12T15:00:00-04:00"},
    {"3pm tomorrow", "3pm tomorrow", "2026-03-12T15:00:00-04:00"},
    {"tomorrow 3pm", "tomorrow 3pm", "2026-03-12T15:00:00-04:00"},
    {"tomorrow at 3", "tomorrow at 3", "2026-03-12T15:00:00-04:00"},
    {"tomorrow at 9", "tomorrow at 9", "2026-03-12T09:00:00-04:00"},
    {"tonight at 8", "tonight at 8", "2026-03-11T20:00:00-04:00"},
    {"tonight at 8:30", "tonight at 8:30", "2026-03-11T20:30:00-04:00"},
    {"8:30 tonight", "8:30 tonight", "2026-03-11T20:30:00-04:00"},
    {"tomorrow evening at 7", "tomorrow evening at 7", "2026-03-12T19:00:00-04:00"},
    {"yesterday at 5pm", "yesterday at 5pm", "2026-03-10T17:00:00-04:00"},
    {"Friday 10:00", "Friday 10:00", "2026-03-13T10:00:00-04:00"},
    {"Friday at 10am", "Friday at 10am", "2026-03-13T10:00:00-04:00"},
    {"Friday, 10am", "Friday, 10am", "2026-03-13T10:00:00-04:00"},
    {"Fri @ 3pm", "Fri @ 3pm", "2026-03-13T15:00:00-04:00"},
    {"Sat 3pm", "Sat 3pm", "2026-03-14T15:00:00-04:00"},
    {"next Friday at noon", "next Friday at noon", "2026-03-20T12:00:00-04:00"},
    {"noon on Friday", "noon on Friday", "2026-03-13T12:00:00-04:00"},
    {"Friday from 3-5pm", "Friday from 3-5pm", "2026-03-13T15:00:00-04:00"},
    {"in 3 days at 5pm", "in 3 days at 5pm", "2026-03-14T17:00:00-04:00"},
    {"March 12 at 9:30 AM", "March 12 at 9:30 AM", "2026-03-12T09:30:00-04:00"},
    {"12 Mar 2026 18:05", "12 Mar 2026 18:05", "2026-03-12T18:05:00-04:00"},
    {"12 March 2026, 18:05", "12 March 2026, 18:05", "2026-03-12T18:05:00-04:00"},
    {"9:30 AM, March 12", "9:30 AM, March 12", "2026-03-12T09:30:00-04:00"},
    {"3/15/2026 at 10am", "3/15/2026 at 10am", "2026-03-15T10:00:00-04:00"},
    // Inside sentences and labels.
    {"Due: 03/15/2026", "03/15/2026", "2026-03-15T00:00:00-04:00"},
    {"Due:12/03/2026", "12/03/2026", "2026-12-03T00:00:00-05:00"},
    {"Departs 10:40 on 12 Mar", "10:40 on 12 Mar", "2026-03-12T10:40:00-04:00"},
    {"Meeting with Sam on Friday", "Friday", "2026-03-13T00:00:00-04:00"},
    {"Dentist tomorrow at 3pm", "tomorrow at 3pm", "2026-03-12T15:00:00-04:00"},
    {"Pay rent by the end of the month", "the end of the month", "2026-03-31T00:00:00-04:00"},
    {"Call Bob in 3 days.", "in 3 days", "2026-03-14T00:00:00-04:00"},
    {"Lunch at noon.", "noon", "2026-03-11T12:00:00-04:00"},
    {"Invoice due 12 March", "12 March", "2026-03-12T00:00:00-04:00"},
    {"(March 12)", "March 12", "2026-03-12T00:00:00-04:00"},
    {"\U0001F600 caf\u00E9 tomorrow", "tomorrow", "2026-03-12T00:00:00-04:00"},
    // Not dates.
    {"31 February", nullptr, nullptr},
    {"February 30, 2026", nullptr, nullptr},
    {"Feb 29, 2027", nullptr, nullptr},
    {"April 31", nullptr, nullptr},
    {"02/30/2026", nullptr, nullptr},
    {"13/13/2026", nullptr, nullptr},
    {"2026-13-01", nullptr, nullptr},
    {"25:00", nullptr, nullptr},
    {"12:60", nullptr, nullptr},
    {"13pm", nullptr, nullptr},
    {"9.30", nullptr, nullptr},
    {"9.75pm", nullptr, nullptr},
    {"0am", nullptr, nullptr},
    {"2026-03-12T25:00:00Z", nullptr, nullptr},
    {"version 3.12", nullptr, nullptr},
    {"Python 3.12.1", nullptr, nullptr},
    {"v3.12.2026", nullptr, nullptr},
    {"1.2.26", nullptr, nullptr},
    {"1/2/3", nullptr, nullptr},
    {"costs $12.03", nullptr, nullptr},
    {"$12.03.2026", nullptr, nullptr},
    {"42", nullptr, nullptr},
    {"2026", nullptr, nullptr},
    {"call 555-123-4567", nullptr, nullptr},
    {"+1 (212) 555-0100", nullptr, nullptr},
    {"192.168.1.10", nullptr, nullptr},
    {"10.10.10.10", nullptr, nullptr},
    {"for 3 days", nullptr, nullptr},
    {"3 days", nullptr, nullptr},
    {"every 2 weeks", nullptr, nullptr},
    {"May I help you?", nullptr, nullptr},
    {"Version 2 may break", nullptr, nullptr},
    {"The sun is out", nullptr, nullptr},
    {"I sat down", nullptr, nullptr},
    {"See you Fri", nullptr, nullptr},
    {"March", nullptr, nullptr},
    {"in March", nullptr, nullptr},
    {"Marching 12 bands", nullptr, nullptr},
    {"12 March\u00E9", nullptr, nullptr},
    {"12:30abc", nullptr, nullptr},
    {"ratio 3:1", nullptr, nullptr},
    {"1/2 cup", nullptr, nullptr},
    {"50%", nullptr, nullptr},
    {"at 3", nullptr, nullptr},
    {"Room 12B", nullptr, nullptr},
    {"", nullptr, nullptr},
};
// clang-format on

TEST(DateRecognizer, PhraseTableResolvesToExactInstants) {
    ASSERT_GE(std::size(rows), 150u);
    const auto options = newYork();
    for (const Row& row : rows) {
        const auto matches = DateRecognizer::scan(row.text, now, options);
        if (!row.matched) {
            EXPECT_TRUE(matches.empty()) << "'" << row.text << "' gave '"
                                         << DataDetector::substring(row.text, matches.front().range) << "'";
            continue;
        }
        ASSERT_EQ(matches.size(), 1u) << row.text;
        const auto& match = matches.front();
        EXPECT_EQ(match.type, DataDetector::Type::date);
        EXPECT_EQ(DataDetector::substring(row.text, match.range), row.matched) << row.text;
        ASSERT_TRUE(match.date) << row.text;
        EXPECT_DOUBLE_EQ(match.date->unixSeconds, at(row.expected).unixSeconds)
            << row.text << " gave " << iso8601::format(*match.date);
    }
}

TEST(DateRecognizer, NumericOrderFollowsTheLocale) {
    struct Case {
        const char* text;
        const char* us;      // en_US: month first
        const char* britain; // en_GB: day first
    };
    const Case cases[] = {
        {"12/03/2026", "2026-12-03T00:00:00-05:00", "2026-03-12T00:00:00-04:00"},
        {"3/12/26", "2026-03-12T00:00:00-04:00", "2026-12-03T00:00:00-05:00"},
        {"04-05-2026", "2026-04-05T00:00:00-04:00", "2026-05-04T00:00:00-04:00"},
        // Only one order is possible: both locales take it.
        {"03/15/2026", "2026-03-15T00:00:00-04:00", "2026-03-15T00:00:00-04:00"},
        {"25/12/2026", "2026-12-25T00:00:00-05:00", "2026-12-25T00:00:00-05:00"},
        // Dots are day first everywhere.
        {"12.03.2026", "2026-03-12T00:00:00-04:00", "2026-03-12T00:00:00-04:00"},
        // Year first is unambiguous.
        {"2026/12/03", "2026-12-03T00:00:00-05:00", "2026-12-03T00:00:00-05:00"},
    };
    const auto us = newYork("en_US");
    const auto britain = newYork("en_GB");
    EXPECT_FALSE(us.dayFirst);
    EXPECT_TRUE(britain.dayFirst);
    EXPECT_TRUE(newYork("de_DE").dayFirst);
    EXPECT_FALSE(newYork("ja_JP").dayFirst); // year, month, day
    for (const Case& c : cases) {
        const auto inUS = DateRecognizer::scan(c.text, now, us);
        const auto inBritain = DateRecognizer::scan(c.text, now, britain);
        ASSERT_EQ(inUS.size(), 1u) << c.text;
        ASSERT_EQ(inBritain.size(), 1u) << c.text;
        EXPECT_EQ(*inUS[0].date, at(c.us)) << c.text;
        EXPECT_EQ(*inBritain[0].date, at(c.britain)) << c.text;
    }
}

TEST(DateRecognizer, UserLocaleComesFromTheEnvironment) {
    testing::PinnedZoneAndLocale pinned;
    const Clock::ScopedOverride clock(now);
    EXPECT_EQ(*DataDetector::matches(DataDetector::Type::date, "12/03/2026").at(0).date,
              at("2026-12-03T00:00:00-05:00"));
    {
        testing::ScopedEnvironment british("LC_ALL", "en_GB.UTF-8");
        EXPECT_EQ(*DataDetector::matches(DataDetector::Type::date, "12/03/2026").at(0).date,
                  at("2026-03-12T00:00:00-04:00"));
    }
    {
        // LC_TIME decides when LC_ALL is empty.
        testing::ScopedEnvironment german("LC_TIME", "de_DE.UTF-8");
        EXPECT_EQ(*DataDetector::matches(DataDetector::Type::date, "12/03/2026").at(0).date,
                  at("2026-03-12T00:00:00-04:00"));
    }
    {
        // The zone too: a date alone is midnight in the user's zone.
        testing::ScopedEnvironment tokyo("TZ", "Asia/Tokyo");
        EXPECT_EQ(*DataDetector::matches(DataDetector::Type::date, "2026-03-12").at(0).date,
                  at("2026-03-12T00:00:00+09:00"));
    }
}

TEST(DateRecognizer, DataDetectorReadsThePinnedClock) {
    testing::PinnedZoneAndLocale pinned;
    const Clock::ScopedOverride clock(now);
    const auto matches = DataDetector::matches(DataDetector::Type::date, "Dentist tomorrow at 3pm");
    ASSERT_EQ(matches.size(), 1u);
    EXPECT_EQ(matches[0].range, (TextRange{8, 15}));
    EXPECT_EQ(*matches[0].date, at("2026-03-12T15:00:00-04:00"));
}

TEST(DateRecognizer, FindsEveryPhraseInTextOrderWithUTF16Ranges) {
    const std::string text = "\U0001F4C5 Flight 12 Mar 2026 at 18:05, back March 19.\n"
                             "Call 555-1234 before Friday; budget $300.";
    const auto matches = DateRecognizer::scan(text, now, newYork());
    ASSERT_EQ(matches.size(), 3u);
    // The calendar emoji is two UTF-16 units.
    EXPECT_EQ(matches[0].range, (TextRange{10, 20}));
    EXPECT_EQ(DataDetector::substring(text, matches[0].range), "12 Mar 2026 at 18:05");
    EXPECT_EQ(*matches[0].date, at("2026-03-12T18:05:00-04:00"));
    EXPECT_EQ(DataDetector::substring(text, matches[1].range), "March 19");
    EXPECT_EQ(*matches[1].date, at("2026-03-19T00:00:00-04:00"));
    EXPECT_EQ(DataDetector::substring(text, matches[2].range), "Friday");
    EXPECT_EQ(*matches[2].date, at("2026-03-13T00:00:00-04:00"));
    for (std::size_t k = 1; k < matches.size(); ++k)
        EXPECT_LE(matches[k - 1].range.end(), matches[k].range.location);
}

TEST(DateRecognizer, PhrasesDoNotReachAcrossLines) {
    const auto matches = DateRecognizer::scan("Friday\n10:00", now, newYork());
    ASSERT_EQ(matches.size(), 2u);
    EXPECT_EQ(*matches[0].date, at("2026-03-13T00:00:00-04:00"));
    EXPECT_EQ(*matches[1].date, at("2026-03-12T10:00:00-04:00"));
}

TEST(DateRecognizer, WallTimesFollowDaylightSavingChanges) {
    const auto options = newYork();
    // Saturday 7 March 2026 at noon, standard time; clocks go forward at 2:00 on the 8th.
    const Timestamp saturday = at("2026-03-07T12:00:00-05:00");
    auto single = [&](const char* text, Timestamp when) {
        const auto matches = DateRecognizer::scan(text, when, options);
        EXPECT_EQ(matches.size(), 1u) << text;
        return matches.empty() ? Timestamp{} : *matches[0].date;
    };
    EXPECT_EQ(single("tomorrow at 3pm", saturday), at("2026-03-08T15:00:00-04:00"));
    EXPECT_EQ(single("in 2 days", saturday), at("2026-03-09T00:00:00-04:00"));
    EXPECT_EQ(single("in 24 hours", saturday), at("2026-03-08T13:00:00-04:00")); // exact, not wall time
    // 2:30 does not exist that night: it reads as 3:30 daylight time.
    EXPECT_EQ(single("tomorrow at 2:30am", saturday), at("2026-03-08T03:30:00-04:00"));
    // 1:30 happens twice on 1 November: the first (daylight) one is meant.
    const Timestamp halloween = at("2026-10-31T12:00:00-04:00");
    EXPECT_EQ(single("tomorrow at 1:30am", halloween), at("2026-11-01T01:30:00-04:00"));
    EXPECT_EQ(single("tomorrow at 3am", halloween), at("2026-11-01T03:00:00-05:00"));
}

TEST(DateRecognizer, ResolutionEdgesAroundMidnightAndMonthEnds) {
    const auto options = newYork();
    auto single = [&](const char* text, Timestamp when) {
        const auto matches = DateRecognizer::scan(text, when, options);
        EXPECT_EQ(matches.size(), 1u) << text;
        return matches.empty() ? Timestamp{} : *matches[0].date;
    };
    // 23:59 local: "today" is still the 11th, and a time alone rolls to the next day.
    const Timestamp late = at("2026-03-11T23:59:00-04:00");
    EXPECT_EQ(single("today", late), at("2026-03-11T00:00:00-04:00"));
    EXPECT_EQ(single("10pm", late), at("2026-03-12T22:00:00-04:00"));
    EXPECT_EQ(single("11:59pm", late), at("2026-03-11T23:59:00-04:00"));
    // Months keep the day, clamped to a shorter month.
    const Timestamp january31 = at("2026-01-31T09:00:00-05:00");
    EXPECT_EQ(single("next month", january31), at("2026-02-28T00:00:00-05:00"));
    EXPECT_EQ(single("in 1 month", at("2028-01-31T09:00:00-05:00")), at("2028-02-29T00:00:00-05:00"));
    EXPECT_EQ(single("end of the month", at("2028-02-10T09:00:00-05:00")), at("2028-02-29T00:00:00-05:00"));
    // Days across a year end; the nearest year for a date without one.
    const Timestamp newYearsEve = at("2026-12-31T10:00:00-05:00");
    EXPECT_EQ(single("tomorrow", newYearsEve), at("2027-01-01T00:00:00-05:00"));
    EXPECT_EQ(single("Jan 2", newYearsEve), at("2027-01-02T00:00:00-05:00"));
    EXPECT_EQ(single("Dec 2", newYearsEve), at("2026-12-02T00:00:00-05:00"));
    // 29 February without a year needs a leap year close enough.
    EXPECT_EQ(single("Feb 29", at("2028-01-10T09:00:00-05:00")), at("2028-02-29T00:00:00-05:00"));
    EXPECT_TRUE(DateRecognizer::scan("Feb 29", now, options).empty());
    // "next Sunday" on a Sunday is a week on; "this Sunday" is today.
    const Timestamp sunday = at("2026-03-15T09:00:00-04:00");
    EXPECT_EQ(single("next Sunday", sunday), at("2026-03-22T00:00:00-04:00"));
    EXPECT_EQ(single("this Sunday", sunday), at("2026-03-15T00:00:00-04:00"));
    EXPECT_EQ(single("Sunday", sunday), at("2026-03-22T00:00:00-04:00"));
    EXPECT_EQ(single("next Monday", sunday), at("2026-03-16T00:00:00-04:00"));
}

TEST(DateRecognizer, AnyBytesGiveMatchesOrNoneAndNeverThrow) {
    const auto options = newYork();
    // Invalid UTF-8 becomes one replacement character per bad sequence before the ranges are counted.
    using namespace std::string_literals;
    const std::string broken = std::string("\xFF\xFE tomorrow \xC3") + "\0 3pm"s;
    const auto matches = DateRecognizer::scan(broken, now, options);
    ASSERT_EQ(matches.size(), 2u);
    EXPECT_EQ(matches[0].range, (TextRange{3, 8}));
    EXPECT_EQ(*matches[1].date, at("2026-03-11T15:00:00-04:00"));
    // Endless digits, separators and keywords: no date, no crash.
    EXPECT_TRUE(DateRecognizer::scan(std::string(5000, '9'), now, options).empty());
    EXPECT_TRUE(DateRecognizer::scan(std::string(5000, '/'), now, options).empty());
    std::string chain;
    for (int k = 0; k < 2000; ++k)
        chain += "12.";
    EXPECT_TRUE(DateRecognizer::scan(chain, now, options).empty());
    EXPECT_NO_THROW(DateRecognizer::scan("in 9999 years", now, options));
    EXPECT_TRUE(DateRecognizer::scan("in 9999 years", now, options).empty()); // beyond 9999
}

TEST(DateRecognizer, LongTextsKeepEveryMatch) {
    std::string text;
    const int repeats = 20000; // about 600 KB
    for (int k = 0; k < repeats; ++k)
        text += "Ref 4471, due 03/15/2026. ";
    const auto matches = DateRecognizer::scan(text, now, newYork());
    ASSERT_EQ(matches.size(), static_cast<std::size_t>(repeats));
    EXPECT_EQ(matches.back().range.location, (repeats - 1) * 26 + 14);
    EXPECT_EQ(*matches.back().date, at("2026-03-15T00:00:00-04:00"));
}

} // namespace
} // namespace tessellar
