#pragma once

#include "kit/base/Timestamp.h"
#include "kit/scan/dates/CivilDate.h"
#include "kit/scan/dates/DateTokenizer.h"
#include "kit/scan/dates/ZoneCalendar.h"

#include <cstddef>
#include <optional>
#include <vector>

namespace tessellar::dates {

// What one date phrase says, before it becomes an instant: a civil date, a time of day,
// both, or an exact distance from now ("in 2 hours").
struct DatePhrase {
    std::size_t begin = 0; // token indices, end exclusive
    std::size_t end = 0;
    std::optional<CivilDate> date;
    std::optional<TimeOfDay> time;
    std::optional<double> secondsFromNow;
};

// Everything relative phrases are read against.
struct GrammarContext {
    Timestamp now;
    CivilDate today;       // in the user's time zone
    bool dayFirst = false; // 12/03/2026 reads as 12 March
    const ZoneCalendar& calendar;
    int todayWeekday = 1; // 1 = Sunday … 7 = Saturday
};

// English date and time phrases over the tokens of a text. Every rule looks at a bounded
// number of tokens from its start, so scanning a whole text stays linear in its length.
class DateGrammar {
public:
    DateGrammar(const std::vector<DateToken>& tokens, const GrammarContext& context)
        : tokens_(tokens), context_(context) {}

    // The longest phrase starting at token `i` that stands on its own (not part of a longer
    // number such as a version, an IP address or a phone number).
    std::optional<DatePhrase> phraseAt(std::size_t i) const;

private:
    template <class T> struct Parsed {
        T value;
        std::size_t next; // the first token after it
    };

    struct Day {
        int day = 0;
        bool ordinal = false;
    };
    struct Weekday {
        int value = 0;
        bool abbreviated = false;
    };
    struct DatePart {
        CivilDate date;
        std::optional<TimeOfDay> impliedTime; // "tonight", "Friday morning"
        bool evening = false;                 // a time without a.m./p.m. after it is read as p.m.
        bool weak = false;      // "Sat", "7/4": needs a time after it or a word such as "on" before it
        bool monthOnly = false; // "October": needs a word such as "in" or "by" before it
        bool scoreLike = false; // "4/5", "7/10": needs "on" or the like even with a time
    };
    struct Distance {
        int amount = 0; // negative for the past
        TimeUnit unit = TimeUnit::day;
    };
    struct Zone {
        int offsetMinutes = 0;
        int region = -1; // a ZoneRegion, or -1 for the fixed offset
    };
    struct Clock {
        TimeOfDay time;
        bool meridiem = false; // a.m., p.m., noon or midnight fixed the half of the day
        bool bare = false;     // a lone hour ("3"), only good as the start of a range or after "at"
    };

    // Token tests.
    const DateToken* token(std::size_t i) const { return i < tokens_.size() ? &tokens_[i] : nullptr; }
    const WordEntry* word(std::size_t i, WordKind kind) const;
    bool keyword(std::size_t i, Keyword k) const;
    bool symbol(std::size_t i, char32_t c) const;
    bool dash(std::size_t i) const;
    bool letterA(std::size_t i) const;
    std::optional<int> number(std::size_t i, int minDigits, int maxDigits) const;
    std::size_t space(std::size_t i) const;
    std::optional<std::size_t> requiredSpace(std::size_t i) const;
    std::optional<std::size_t> afterThe(std::size_t i) const;
    bool precededBySupport(std::size_t i, bool month) const;
    bool precededByAt(std::size_t i) const;
    bool nextToUnreadDate(std::size_t begin, std::size_t end) const;
    bool standsAlone(std::size_t begin, std::size_t end) const;

    // Pieces.
    std::optional<Parsed<int>> month(std::size_t i) const;
    std::optional<Parsed<Day>> day(std::size_t i) const;
    std::size_t dayRangeEnd(std::size_t i, int firstDay) const;
    std::optional<Parsed<int>> yearAfter(std::size_t i) const;
    std::optional<Parsed<Weekday>> weekday(std::size_t i) const;
    std::optional<Parsed<int>> count(std::size_t i) const;
    std::optional<Parsed<bool>> meridiem(std::size_t i) const;
    std::optional<Parsed<int>> signedOffset(std::size_t i, bool allowHoursOnly) const;
    std::optional<Parsed<Zone>> zone(std::size_t i, bool allowAdjacentOffset) const;

    // Dates.
    std::optional<CivilDate> dayOfMonth(int month, int day, std::optional<int> year) const;
    int fullYear(int twoDigits) const;
    std::optional<Parsed<CivilDate>> monthDay(std::size_t i) const;
    std::optional<Parsed<CivilDate>> dayMonth(std::size_t i) const;
    std::optional<Parsed<CivilDate>> numericDate(std::size_t i) const;
    std::optional<Parsed<CivilDate>> numericMonthYear(std::size_t i) const;
    std::optional<Parsed<CivilDate>> cardExpiry(std::size_t i) const;
    std::optional<Parsed<CivilDate>> absoluteDate(std::size_t i) const;
    std::optional<Parsed<DatePart>> numericMonthDay(std::size_t i) const;
    std::optional<Parsed<DatePart>> monthAlone(std::size_t i) const;
    std::optional<CivilDate> nextDayOfMonth(int day, std::optional<int> weekday) const;
    std::optional<Parsed<DatePart>> ordinalDay(std::size_t i, std::optional<int> weekday) const;
    std::optional<Parsed<DatePart>> weekdayPhrase(std::size_t i) const;
    std::optional<Parsed<DatePart>> relativeDay(std::size_t i) const;
    std::optional<Parsed<Distance>> distance(std::size_t i) const;
    std::optional<Parsed<CivilDate>> calendarOffset(std::size_t i) const;
    std::optional<std::size_t> afterEndOf(std::size_t i) const;
    std::optional<std::size_t> endOfDay(std::size_t i) const;
    std::optional<Parsed<CivilDate>> endOf(std::size_t i) const;
    std::optional<Parsed<DatePart>> weekdayThenDate(std::size_t i) const;
    std::optional<Parsed<DatePart>> datePart(std::size_t i) const;
    std::optional<CivilDate> advanced(const CivilDate& date, TimeUnit unit, int amount) const;

    // Times.
    std::optional<Parsed<Clock>> clock(std::size_t i, bool iso, bool dotted = false) const;
    std::optional<Parsed<Clock>> timeOrRange(std::size_t i, bool dotted) const;
    std::optional<Parsed<double>> exactOffset(std::size_t i) const;

    // Whole phrases.
    std::optional<DatePhrase> dateThenTime(std::size_t i) const;
    std::size_t dateRangeEnd(std::size_t i) const;
    std::optional<DatePhrase> timeThenDate(std::size_t i) const;
    std::optional<DatePhrase> isoDateTime(std::size_t i) const;

    const std::vector<DateToken>& tokens_;
    const GrammarContext& context_;
};

} // namespace tessellar::dates
