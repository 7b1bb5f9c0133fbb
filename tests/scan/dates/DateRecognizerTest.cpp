#include "kit/scan/dates/DateRecognizer.h"

#include "kit/base/Clock.h"
#include "kit/text/ISO8601.h"
#include "kit/text/Unicode.h"
#include "support/ScopedEnvironment.h"

#include <cmath>
#include <fstream>
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

// The phrase table lives in tests/fixtures/date-phrases.tsv: text, the one match ("-" when
// nothing is a date), the expected instant, an optional note; "@locale" and "@now" lines switch
// the locale and the clock.
struct Row {
    std::string locale;
    Timestamp now;
    std::string text;
    std::optional<std::string> matched;
    std::string expected;
};

std::vector<Row> phraseTable() {
    std::ifstream file(std::string(TESSELLAR_FIXTURES_DIR) + "/date-phrases.tsv");
    std::vector<Row> rows;
    std::string line;
    std::string locale = "en_US";
    Timestamp clock = now;
    while (std::getline(file, line)) {
        if (line.starts_with("@locale "))
            locale = line.substr(8);
        if (line.starts_with("@now "))
            clock = at(line.substr(5).c_str());
        if (line.empty() || line.starts_with('#') || line.starts_with('@'))
            continue;
        std::vector<std::string> columns;
        std::size_t from = 0;
        for (std::size_t tab; (tab = line.find('\t', from)) != std::string::npos; from = tab + 1)
            columns.push_back(line.substr(from, tab - from));
        columns.push_back(line.substr(from));
        EXPECT_GE(columns.size(), 3u) << line;
        if (columns.size() < 3)
            continue;
        rows.push_back({locale, clock, columns[0],
                        columns[1] == "-" ? std::nullopt : std::optional(columns[1]), columns[2]});
    }
    return rows;
}

TEST(DateRecognizer, PhraseTableResolvesToExactInstants) {
    const auto rows = phraseTable();
    ASSERT_FALSE(rows.empty());
    for (const Row& row : rows) {
        const auto matches = DateRecognizer::scan(row.text, row.now, newYork(row.locale.c_str()));
        if (!row.matched) {
            EXPECT_TRUE(matches.empty()) << row.locale << " '" << row.text << "' gave '"
                                         << DataDetector::substring(row.text, matches.front().range) << "'";
            continue;
        }
        ASSERT_EQ(matches.size(), 1u) << row.text;
        const auto& match = matches.front();
        EXPECT_EQ(match.type, DataDetector::Type::date);
        EXPECT_EQ(DataDetector::substring(row.text, match.range), *row.matched) << row.text;
        ASSERT_TRUE(match.date) << row.text;
        EXPECT_DOUBLE_EQ(match.date->unixSeconds, at(row.expected.c_str()).unixSeconds)
            << row.text << " gave " << iso8601::format(*match.date);
    }
}

TEST(DateRecognizer, NumericOrderComesFromTheLocalesShortDate) {
    EXPECT_TRUE(newYork("de_DE").dayFirst);
    EXPECT_FALSE(newYork("ja_JP").dayFirst); // year, month, day
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

TEST(DateRecognizer, InADocumentATimeAloneIsTodaysEvenOnceItHasPassed) {
    auto document = newYork();
    document.timeAlone = DateRecognizer::TimeAlone::today;
    EXPECT_EQ(*DateRecognizer::scan("Paid 10:20", now, document).at(0).date, at("2026-03-11T10:20:00-04:00"));
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

TEST(DateRecognizer, LongTextsStopAtTheMatchCapAndSplitOnlyAtBreaks) {
    std::string text;
    for (int k = 0; k < 5000; ++k) // about 130 KB, in two chunks
        text += "Ref 4471, due 03/15/2026. ";
    const auto matches = DateRecognizer::scan(text, now, newYork());
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
