#pragma once

#include <compare>

namespace tessellar::dates {

// A day on the (proleptic) Gregorian calendar, with no time zone attached.
struct CivilDate {
    int year = 1970;
    int month = 1; // 1 … 12
    int day = 1;   // 1 … 31

    auto operator<=>(const CivilDate&) const = default;
};

// Years outside this span are never read as dates: it keeps arithmetic far from the
// calendar's limits and old-style (Julian) dates out of the way.
inline constexpr int minimumYear = 1600;
inline constexpr int maximumYear = 9999;

constexpr bool isLeapYear(int year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

constexpr int daysInMonth(int year, int month) {
    constexpr int lengths[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    return month == 2 && isLeapYear(year) ? 29 : lengths[month - 1];
}

// 31 February, month 13 and the like are not dates.
constexpr bool isValidDate(const CivilDate& d) {
    return d.year >= minimumYear && d.year <= maximumYear && d.day >= 1 &&
           d.day <= daysInMonth(d.year, d.month);
}

// A wall-clock time of day, optionally in a fixed UTC offset written next to it ("15:30 UTC").
struct TimeOfDay {
    int hour = 0;      // 0 … 23
    int minute = 0;    // 0 … 59
    double second = 0; // 0 … <60, with any fraction
    bool hasOffset = false;
    int offsetMinutes = 0; // east of UTC
    int region = -1;       // a ZoneRegion written next to it ("3pm PT"), or -1

    bool zoned() const { return hasOffset || region >= 0; }
    bool operator==(const TimeOfDay&) const = default;
};

} // namespace tessellar::dates
