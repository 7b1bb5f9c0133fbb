#pragma once

#include "kit/base/Timestamp.h"
#include "kit/scan/dates/CivilDate.h"
#include "kit/scan/dates/DateLexicon.h"

#include <array>
#include <cstdint>
#include <iterator>
#include <memory>
#include <unicode/gregocal.h>
#include <unicode/timezone.h>

namespace tessellar::dates {

// Calendar arithmetic on ICU's Gregorian calendar: civil-day arithmetic, and conversion between
// wall-clock times in one time zone and absolute instants (daylight saving included). One
// instance serves one scan on one thread. ICU reports failures through a status code; they
// are collected in failed() instead of being thrown, so a caller can drop the result.
class ZoneCalendar {
public:
    explicit ZoneCalendar(const icu::TimeZone& zone);

    // The civil date and wall-clock time of an instant in the zone.
    CivilDate dateOf(Timestamp instant) const;
    TimeOfDay timeOf(Timestamp instant) const;
    // The civil date of an instant where `time` is read: its written offset or region, else the zone.
    CivilDate dateWhere(Timestamp instant, const TimeOfDay& time) const;

    // The instant of a wall-clock time on a date in the zone, or in the time's own written
    // offset or region when it has one. A time the zone skips (2:30 when clocks go forward at 2:00)
    // reads as that long past the change (3:30); a repeated time reads as its first occurrence.
    Timestamp instant(const CivilDate& date, const TimeOfDay& time) const;

    CivilDate addDays(const CivilDate& date, int days) const;
    // Months and years added keep the day, clamped to the length of the target month.
    CivilDate addMonths(const CivilDate& date, int months) const;
    // 1 = Sunday … 7 = Saturday.
    int weekday(const CivilDate& date) const;
    // A running day count (the Julian day), for distances between dates; never fails.
    std::int64_t dayNumber(const CivilDate& date) const;

    bool failed() const { return failed_; }

private:
    void setCivil(const CivilDate& date) const;
    CivilDate added(const CivilDate& date, UCalendarDateFields field, int amount) const;
    CivilDate dateIn(icu::GregorianCalendar& calendar, Timestamp instant) const;
    int civilField(const CivilDate& date, UCalendarDateFields field) const;
    icu::GregorianCalendar* regional(int region) const;
    CivilDate civilFields() const;

    std::unique_ptr<icu::GregorianCalendar> zoned_;
    std::unique_ptr<icu::GregorianCalendar> civil_; // in UTC: day arithmetic never meets a clock change
    mutable std::array<std::unique_ptr<icu::GregorianCalendar>, std::size(zoneRegionIds)> regions_;
    mutable bool failed_ = false;
};

} // namespace tessellar::dates
