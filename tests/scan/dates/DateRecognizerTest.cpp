#include "kit/scan/dates/DateRecognizer.h"

#include "kit/base/Clock.h"
#include "kit/text/ISO8601.h"
#include "kit/text/Unicode.h"
#include "support/Fixtures.h"
#include "support/ScopedEnvironment.h"

#include <cmath>
#include <gtest/gtest.h>
#include <optional>
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

// tests/fixtures/date-phrases.tsv: text, the one match ("-" when nothing is a date), the
// expected instant, an optional note; "@locale" and "@now" lines switch the locale and the clock.
TEST(DateRecognizer, PhraseTableResolvesToExactInstants) {
    std::string locale = "en_US";
    Timestamp clock = now;
    int rows = 0;
    for (const auto& row : testing::tableRows(testing::fixture("date-phrases.tsv"))) {
        if (row[0].starts_with("@locale "))
            locale = row[0].substr(8);
        else if (row[0].starts_with("@now "))
            clock = at(row[0].substr(5).c_str());
        if (row[0].starts_with('@'))
            continue;
        ASSERT_GE(row.size(), 3u) << row[0];
        ++rows;
        const auto matches = DateRecognizer::scan(row[0], clock, newYork(locale.c_str()));
        if (row[1] == "-") {
            EXPECT_TRUE(matches.empty()) << locale << " '" << row[0] << "' gave '"
                                         << DataDetector::substring(row[0], matches.front().range) << "'";
            continue;
        }
        ASSERT_EQ(matches.size(), 1u) << row[0];
        EXPECT_EQ(matches[0].type, DataDetector::Type::date);
        EXPECT_EQ(DataDetector::substring(row[0], matches[0].range), row[1]) << row[0];
        ASSERT_TRUE(matches[0].date) << row[0];
        EXPECT_DOUBLE_EQ(matches[0].date->unixSeconds, at(row[2].c_str()).unixSeconds)
            << row[0] << " gave " << iso8601::format(*matches[0].date);
    }
    EXPECT_GE(rows, 300);
}

TEST(DateRecognizer, NumericOrderComesFromTheLocalesShortDate) {
    EXPECT_TRUE(newYork("de_DE").dayFirst);
    EXPECT_FALSE(newYork("ja_JP").dayFirst); // year, month, day
}

TEST(DateRecognizer, UserLocaleAndZoneComeFromTheEnvironment) {
    testing::PinnedZoneAndLocale pinned;
    const Clock::ScopedOverride clock(now);
    // LC_TIME decides when LC_ALL is empty; a date alone is midnight in the user's zone.
    const struct {
        const char *name, *value, *text, *expected;
    } rows[] = {{"LANG", "en_US.UTF-8", "12/03/2026", "2026-12-03T00:00:00-05:00"},
                {"LC_ALL", "en_GB.UTF-8", "12/03/2026", "2026-03-12T00:00:00-04:00"},
                {"LC_TIME", "de_DE.UTF-8", "12/03/2026", "2026-03-12T00:00:00-04:00"},
                {"TZ", "Asia/Tokyo", "2026-03-12", "2026-03-12T00:00:00+09:00"}};
    for (const auto& row : rows) {
        const testing::ScopedEnvironment environment(row.name, row.value);
        EXPECT_EQ(*DataDetector::matches(DataDetector::Type::date, row.text).at(0).date, at(row.expected))
            << row.value;
    }
}

TEST(DateRecognizer, InADocumentATimeAloneIsTodaysEvenOnceItHasPassed) {
    auto document = newYork();
    document.timeAlone = DateRecognizer::TimeAlone::today;
    EXPECT_EQ(*DateRecognizer::scan("Paid 10:20", now, document).at(0).date, at("2026-03-11T10:20:00-04:00"));
}

TEST(DateRecognizer, FindsEveryPhraseInTextOrderWithUTF16Ranges) {
    const auto scan = [](const testing::Row& c) {
        std::string out;
        for (const auto& m : DateRecognizer::scan(c[1], now, newYork()))
            out += (out.empty() ? "" : ";") + std::to_string(m.range.location) + "," +
                   std::to_string(m.range.length) + "=" + iso8601::format(m.date.value());
        return out;
    };
    EXPECT_GE(testing::checkTable(testing::fixture("tables/dates-in-text.tsv"), {{"scan", scan}}), 4);
}

TEST(DateRecognizer, EndlessDigitsSeparatorsAndKeywordsGiveNoDate) {
    for (const std::string& text :
         {std::string(5000, '9'), std::string(5000, '/'), testing::repeated("12.", 2000)})
        EXPECT_TRUE(DateRecognizer::scan(text, now, newYork()).empty());
}

TEST(DateRecognizer, LongTextsStopAtTheMatchCapAndSplitOnlyAtBreaks) {
    // About 130 KB, in two chunks.
    const auto matches =
        DateRecognizer::scan(testing::repeated("Ref 4471, due 03/15/2026. ", 5000), now, newYork());
    ASSERT_EQ(matches.size(), 4096u);
    EXPECT_EQ(matches.back().range.location, 4095 * 26 + 14);
    EXPECT_EQ(*matches.back().date, at("2026-03-15T00:00:00-04:00"));
    // A line without blanks is cut at 65,536 units, here inside "11:05pm": neither half is a time.
    const std::string dashes = std::string(65534, '-') + "11:05pm";
    for (const auto& match : DateRecognizer::scan(dashes, now, newYork()))
        EXPECT_EQ(DataDetector::substring(dashes, match.range).find("05pm"), std::string::npos);
}

} // namespace
} // namespace tessellar
