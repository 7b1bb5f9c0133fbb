#include "kit/detect/ScheduleDetector.h"

#include "kit/base/Clock.h"
#include "kit/scan/dates/DateRecognizer.h"
#include "kit/text/ISO8601.h"
#include "support/ConcurrentCalls.h"
#include "support/ScopedEnvironment.h"

#include <gtest/gtest.h>
#include <vector>

namespace tessellar {
namespace {

Timestamp at(const char* iso) {
    return *iso8601::parse(iso);
}

class ScheduleDetectorTest : public ::testing::Test {
protected:
    testing::PinnedZoneAndLocale pinned;
    // Wednesday 11 March 2026, 10:30 in New York.
    Clock::ScopedOverride clock{at("2026-03-11T10:30:00-04:00")};
    // Accepted and never consulted: relative phrases follow the clock.
    const Timestamp reference = at("2001-01-01T00:00:00Z");

    ScheduleDetector::Occasion occasion(std::string_view text) const {
        const auto found = ScheduleDetector::occasion(text, reference);
        EXPECT_TRUE(found) << text;
        return found.value_or(ScheduleDetector::Occasion{});
    }
};

TEST_F(ScheduleDetectorTest, SubjectIsTheTextWithoutTheDate) {
    EXPECT_EQ(occasion("Dentist tomorrow at 3pm"),
              (ScheduleDetector::Occasion{at("2026-03-12T15:00:00-04:00"), true, "Dentist", false}));
    // The dangling "on" goes with the date.
    EXPECT_EQ(
        occasion("Meeting with Sam on Friday"),
        (ScheduleDetector::Occasion{at("2026-03-13T00:00:00-04:00"), false, "Meeting with Sam", false}));
    EXPECT_EQ(occasion("Invoice due 12 March"),
              (ScheduleDetector::Occasion{at("2026-03-12T00:00:00-04:00"), false, "Invoice", true}));
    EXPECT_EQ(occasion("  Dentist, tomorrow at 3pm \u2014 ").subject, "Dentist");
    // Whitespace of any kind collapses to single blanks.
    EXPECT_EQ(occasion("Dentist\ntomorrow at 3pm\n\tbring   card").subject, "Dentist bring card");
    // Every occurrence of the matched text goes, not only the first.
    EXPECT_EQ(occasion("Friday: standup, Friday").subject, "standup");
    // Only trailing connectives are dropped.
    EXPECT_EQ(occasion("On call until Friday").subject, "On call");
}

TEST_F(ScheduleDetectorTest, OnlyTheDateLeavesReminder) {
    const auto alone = occasion("Friday 10:00");
    EXPECT_EQ(alone.subject, "Reminder");
    EXPECT_TRUE(alone.hasTime);
    EXPECT_EQ(alone.date, at("2026-03-13T10:00:00-04:00"));
    EXPECT_EQ(occasion("on Friday").subject, "Reminder");
    EXPECT_EQ(occasion("Due: 03/15/2026").subject, "Reminder");
}

TEST_F(ScheduleDetectorTest, HasTimeReadsLocalHourAndMinute) {
    EXPECT_TRUE(occasion("Standup 9:15am tomorrow").hasTime);
    EXPECT_TRUE(occasion("Call at 00:30 tomorrow").hasTime); // minute only
    EXPECT_FALSE(occasion("Launch at midnight tomorrow").hasTime);
    EXPECT_FALSE(occasion("Launch 2026-03-12").hasTime);
    // Seconds do not count: 00:00:30 local is date-only.
    EXPECT_FALSE(occasion("Sync 2026-03-12T04:00:30Z").hasTime);
    // Midnight UTC is 20:00 here.
    EXPECT_TRUE(occasion("Sync 2026-03-12T00:00:00Z").hasTime);
}

TEST_F(ScheduleDetectorTest, DeadlineWordsAreSubstrings) {
    EXPECT_TRUE(occasion("Standby on Monday").isDeadline); // "standby " holds "by "
    EXPECT_TRUE(occasion("Renewal tomorrow").isDeadline);
    EXPECT_TRUE(occasion("SUBMIT report Friday").isDeadline);
    EXPECT_FALSE(occasion("Lunch Friday").isDeadline);
    EXPECT_FALSE(occasion("Goodbye party Friday").isDeadline); // "goodbye" has no "by "
    EXPECT_FALSE(occasion("Friday by").isDeadline);            // trimmed: no blank after "by"
}

TEST_F(ScheduleDetectorTest, MonthDayTimesAndZonesLeaveACleanSubject) {
    using Occasion = ScheduleDetector::Occasion;
    EXPECT_EQ(occasion("Vet appt 4/18 @ 11am"),
              (Occasion{at("2026-04-18T11:00:00-04:00"), true, "Vet appt", false}));
    EXPECT_EQ(occasion("Maria's party on 7/4"),
              (Occasion{at("2026-07-04T00:00:00-04:00"), false, "Maria's party", false}));
    EXPECT_EQ(occasion("Meeting at 2:00 pm EST on 12/10"),
              (Occasion{at("2026-12-10T14:00:00-05:00"), true, "Meeting", false}));
    EXPECT_EQ(occasion("Call at 3pm PT"), (Occasion{at("2026-03-11T15:00:00-07:00"), true, "Call", false}));
    // In a reminder a time that has passed today is tomorrow's; it is 10:30.
    EXPECT_EQ(occasion("Standup 10:20").date, at("2026-03-12T10:20:00-04:00"));
    // A date that cannot be read gives no reminder, not the time on today.
    EXPECT_FALSE(ScheduleDetector::occasion("Vet appt 4/31 @ 11am", reference));
}

TEST_F(ScheduleDetectorTest, AstralCharactersBeforeTheDateStayInTheSubject) {
    // Each emoji is two UTF-16 units: a range counted in bytes or scalars would cut the wrong text.
    EXPECT_EQ(occasion("\U0001F436\U0001FA7A Vet 4/18 @ 11am").subject, "\U0001F436\U0001FA7A Vet");
    EXPECT_EQ(occasion("\U0001F389 Party \U0001F382 on the 21st at 5"),
              (ScheduleDetector::Occasion{at("2026-03-21T17:00:00-04:00"), true,
                                          "\U0001F389 Party \U0001F382", false}));
}

TEST_F(ScheduleDetectorTest, ConcurrentCallsGiveTheSameResults) {
    const std::vector<std::string> texts = {"Vet appt 4/18 @ 11am", "Call Tuesday 3/10 at 4:15pm",
                                            "Dentist tmrw 9am",     "Sync 2026-03-12T09:30:00Z",
                                            "in October",           "Call at 3pm PT"};
    const auto options = DateRecognizer::Options::forUser();
    const Timestamp now = Clock::now();
    const auto answers = [&] {
        std::vector<std::pair<std::optional<ScheduleDetector::Occasion>, std::vector<DataDetector::Match>>>
            out;
        for (const std::string& text : texts)
            out.emplace_back(ScheduleDetector::occasion(text, reference),
                             DateRecognizer::scan(text, now, options));
        return out;
    };
    const auto alone = answers();
    for (const auto& result : concurrentResults(answers))
        EXPECT_EQ(result, alone);
}

TEST_F(ScheduleDetectorTest, AbsentWithoutDateOrBeyondTwoHundredCharacters) {
    EXPECT_FALSE(ScheduleDetector::occasion("", reference));
    EXPECT_FALSE(ScheduleDetector::occasion(" \n\t ", reference));
    EXPECT_FALSE(ScheduleDetector::occasion("Buy milk", reference));
    EXPECT_FALSE(ScheduleDetector::occasion("Python 3.12 costs $12.03", reference));

    // Counted in characters after trimming: "e" with a combining accent is one.
    std::string pad;
    for (int k = 0; k < 191; ++k)
        pad += "e\u0301";
    const std::string exactly200 = pad + " tomorrow"; // 191 + 9
    EXPECT_TRUE(ScheduleDetector::occasion("   " + exactly200 + "\n", reference));
    EXPECT_FALSE(ScheduleDetector::occasion(exactly200 + "!", reference));
}

TEST(ScheduleDetector, TrimmingDanglingConnectives) {
    const std::pair<const char*, const char*> cases[] = {
        {"Meeting on", "Meeting"},
        {"Lunch with Ann, at", "Lunch with Ann"},
        {"Deliver by:", "Deliver"},
        {"on", ""},
        {"on at", ""},
        {"Planned: scheduled", ""}, // the last word left is a connective too
        {"On call", "On call"},
        {"  Review  draft  ", "Review draft"},
        {"- Review -", "Review"},
        {"", ""},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(ScheduleDetector::trimmingDanglingConnectives(text), expected) << text;
}

} // namespace
} // namespace tessellar
