#include "kit/scan/dates/ZoneCalendar.h"

#include <cmath>

namespace tessellar::dates {
namespace {

std::unique_ptr<icu::GregorianCalendar> makeCalendar(const icu::TimeZone& zone) {
    UErrorCode status = U_ZERO_ERROR;
    auto calendar = std::make_unique<icu::GregorianCalendar>(zone, status);
    if (U_FAILURE(status))
        return nullptr;
    // Proleptic Gregorian: no switch to the Julian calendar in 1582.
    calendar->setGregorianChange(U_DATE_MIN, status);
    calendar->setRepeatedWallTimeOption(UCAL_WALLTIME_FIRST);
    calendar->setSkippedWallTimeOption(UCAL_WALLTIME_LAST);
    return U_SUCCESS(status) ? std::move(calendar) : nullptr;
}

} // namespace

ZoneCalendar::ZoneCalendar(const icu::TimeZone& zone)
    : zoned_(makeCalendar(zone)), civil_(makeCalendar(*icu::TimeZone::getGMT())) {
    failed_ = !zoned_ || !civil_;
}

CivilDate ZoneCalendar::dateIn(icu::GregorianCalendar& calendar, Timestamp instant) const {
    if (failed_)
        return {};
    UErrorCode status = U_ZERO_ERROR;
    calendar.setTime(instant.unixSeconds * 1000.0, status);
    const CivilDate date{calendar.get(UCAL_EXTENDED_YEAR, status), calendar.get(UCAL_MONTH, status) + 1,
                         calendar.get(UCAL_DATE, status)};
    failed_ = failed_ || U_FAILURE(status);
    return date;
}

CivilDate ZoneCalendar::dateOf(Timestamp instant) const {
    return failed_ ? CivilDate{} : dateIn(*zoned_, instant);
}

TimeOfDay ZoneCalendar::timeOf(Timestamp instant) const {
    if (failed_)
        return {};
    UErrorCode status = U_ZERO_ERROR;
    zoned_->setTime(instant.unixSeconds * 1000.0, status);
    TimeOfDay time;
    time.hour = zoned_->get(UCAL_HOUR_OF_DAY, status);
    time.minute = zoned_->get(UCAL_MINUTE, status);
    time.second = zoned_->get(UCAL_SECOND, status) + zoned_->get(UCAL_MILLISECOND, status) / 1000.0;
    failed_ = failed_ || U_FAILURE(status);
    return time;
}

icu::GregorianCalendar* ZoneCalendar::regional(int region) const {
    if (region < 0 || region >= static_cast<int>(regions_.size()))
        return nullptr;
    auto& calendar = regions_[static_cast<std::size_t>(region)];
    if (!calendar) {
        const std::unique_ptr<icu::TimeZone> zone(icu::TimeZone::createTimeZone(zoneRegionIds[region]));
        calendar = makeCalendar(*zone);
    }
    failed_ = failed_ || !calendar;
    return calendar.get();
}

CivilDate ZoneCalendar::dateWhere(Timestamp instant, const TimeOfDay& time) const {
    if (failed_)
        return {};
    if (icu::GregorianCalendar* calendar = regional(time.region))
        return dateIn(*calendar, instant);
    if (!time.hasOffset)
        return dateOf(instant);
    UErrorCode status = U_ZERO_ERROR;
    civil_->setTime((instant.unixSeconds + time.offsetMinutes * 60.0) * 1000.0, status);
    failed_ = failed_ || U_FAILURE(status);
    return civilFields();
}

Timestamp ZoneCalendar::instant(const CivilDate& date, const TimeOfDay& time) const {
    if (failed_)
        return {};
    // A written offset replaces the zone's rules: read the wall time as UTC, then shift it.
    icu::GregorianCalendar* region = regional(time.region);
    if (failed_)
        return {};
    icu::GregorianCalendar& calendar = region ? *region : time.hasOffset ? *civil_ : *zoned_;
    const double wholeSeconds = std::floor(time.second);
    calendar.clear();
    calendar.set(UCAL_EXTENDED_YEAR, date.year);
    calendar.set(UCAL_MONTH, date.month - 1);
    calendar.set(UCAL_DATE, date.day);
    calendar.set(UCAL_HOUR_OF_DAY, time.hour);
    calendar.set(UCAL_MINUTE, time.minute);
    calendar.set(UCAL_SECOND, static_cast<int32_t>(wholeSeconds));
    UErrorCode status = U_ZERO_ERROR;
    const UDate millis = calendar.getTime(status);
    failed_ = failed_ || U_FAILURE(status);
    const double offset = time.hasOffset ? time.offsetMinutes * 60.0 : 0.0;
    return Timestamp::fromUnix(millis / 1000.0 - offset + (time.second - wholeSeconds));
}

void ZoneCalendar::setCivil(const CivilDate& date) const {
    civil_->clear();
    civil_->set(UCAL_EXTENDED_YEAR, date.year);
    civil_->set(UCAL_MONTH, date.month - 1);
    civil_->set(UCAL_DATE, date.day);
    civil_->set(UCAL_HOUR_OF_DAY, 12);
}

CivilDate ZoneCalendar::civilFields() const {
    UErrorCode status = U_ZERO_ERROR;
    const CivilDate date{civil_->get(UCAL_EXTENDED_YEAR, status), civil_->get(UCAL_MONTH, status) + 1,
                         civil_->get(UCAL_DATE, status)};
    failed_ = failed_ || U_FAILURE(status);
    return date;
}

CivilDate ZoneCalendar::added(const CivilDate& date, UCalendarDateFields field, int amount) const {
    if (failed_)
        return date;
    setCivil(date);
    UErrorCode status = U_ZERO_ERROR;
    civil_->add(field, amount, status); // ICU pins the day to the end of a shorter month
    failed_ = failed_ || U_FAILURE(status);
    return civilFields();
}

CivilDate ZoneCalendar::addDays(const CivilDate& date, int days) const {
    return added(date, UCAL_DATE, days);
}

CivilDate ZoneCalendar::addMonths(const CivilDate& date, int months) const {
    return added(date, UCAL_MONTH, months);
}

int ZoneCalendar::civilField(const CivilDate& date, UCalendarDateFields field) const {
    if (failed_)
        return 1;
    setCivil(date);
    UErrorCode status = U_ZERO_ERROR;
    const int value = civil_->get(field, status);
    failed_ = failed_ || U_FAILURE(status);
    return value;
}

int ZoneCalendar::weekday(const CivilDate& date) const {
    return civilField(date, UCAL_DAY_OF_WEEK);
}

// Plain arithmetic on the proleptic Gregorian calendar: scanning compares many candidate dates,
// and ICU's calendar is far slower for this.
std::int64_t ZoneCalendar::dayNumber(const CivilDate& date) const {
    const std::int64_t y = date.year - (date.month <= 2 ? 1 : 0);
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yearOfEra = y - era * 400;
    const std::int64_t dayOfYear = (153 * (date.month + (date.month > 2 ? -3 : 9)) + 2) / 5 + date.day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra + 2440588; // 1970-01-01 is Julian day 2440588
}

} // namespace tessellar::dates
