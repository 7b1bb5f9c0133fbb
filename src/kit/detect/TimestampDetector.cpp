#include "kit/detect/TimestampDetector.h"

#include "kit/text/ISO8601.h"
#include "kit/text/StringHelpers.h"
#include "kit/text/Unicode.h"
#include "kit/text/UserLocale.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <unicode/calendar.h>
#include <unicode/datefmt.h>
#include <unicode/reldatefmt.h>
#include <unicode/timezone.h>

namespace tessellar {
namespace {

constexpr std::size_t secondsDigits = 10;
constexpr std::size_t millisecondsDigits = 13;

std::string dateAndTime(UDate date, const icu::TimeZone& zone, const icu::Locale& locale) {
    std::unique_ptr<icu::DateFormat> format(
        icu::DateFormat::createDateTimeInstance(icu::DateFormat::kFull, icu::DateFormat::kMedium, locale));
    if (!format)
        return {};
    format->setTimeZone(zone);
    icu::UnicodeString text;
    format->format(date, text);
    return unicode::toUTF8(text);
}

// The largest calendar unit in which `date` differs from `now`, counted in the user's calendar
// ("2 years ago", "in 3 days"); "in 0 seconds" for the same second.
std::string relative(UDate date, UDate now, const icu::TimeZone& zone, const icu::Locale& locale) {
    struct Unit {
        UCalendarDateFields field;
        URelativeDateTimeUnit unit;
    };
    static constexpr std::array<Unit, 7> units = {{
        {UCAL_YEAR, UDAT_REL_UNIT_YEAR},
        {UCAL_MONTH, UDAT_REL_UNIT_MONTH},
        {UCAL_WEEK_OF_YEAR, UDAT_REL_UNIT_WEEK},
        {UCAL_DATE, UDAT_REL_UNIT_DAY},
        {UCAL_HOUR_OF_DAY, UDAT_REL_UNIT_HOUR},
        {UCAL_MINUTE, UDAT_REL_UNIT_MINUTE},
        {UCAL_SECOND, UDAT_REL_UNIT_SECOND},
    }};

    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::Calendar> calendar(icu::Calendar::createInstance(zone, locale, status));
    icu::RelativeDateTimeFormatter format(locale, nullptr, UDAT_STYLE_LONG, UDISPCTX_CAPITALIZATION_NONE,
                                          status);
    if (U_FAILURE(status) || !calendar)
        return {};
    calendar->setTime(now, status);

    int32_t amount = 0;
    URelativeDateTimeUnit unit = UDAT_REL_UNIT_SECOND;
    for (const Unit& candidate : units) {
        // Each difference advances the calendar, so the next unit counts only the remainder.
        amount = calendar->fieldDifference(date, candidate.field, status);
        unit = candidate.unit;
        if (U_FAILURE(status))
            return {};
        if (amount != 0)
            break;
    }
    icu::UnicodeString text;
    format.formatNumeric(amount, unit, text, status);
    return U_FAILURE(status) ? std::string() : unicode::toUTF8(text);
}

UDate milliseconds(Timestamp time) {
    return time.unixSeconds * 1000.0;
}

} // namespace

std::optional<TimestampDetector::Stamp> TimestampDetector::stamp(std::string_view text) {
    const std::string digits = trimmed(text);
    if (digits.size() != secondsDigits && digits.size() != millisecondsDigits)
        return std::nullopt;
    if (!std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    if (digits.front() != '1')
        return std::nullopt;

    int64_t value = 0;
    for (const char c : digits)
        value = value * 10 + (c - '0');
    const bool wasMilliseconds = digits.size() == millisecondsDigits;
    const double seconds = wasMilliseconds ? static_cast<double>(value) / 1000.0 : static_cast<double>(value);
    return Stamp{Timestamp::fromUnix(seconds), wasMilliseconds};
}

std::vector<TimestampDetector::Rendering> TimestampDetector::renderings(const Stamp& stamp, Timestamp now) {
    const icu::Locale locale = user_locale::locale();
    const std::unique_ptr<icu::TimeZone> zone = user_locale::timeZone();
    const std::unique_ptr<icu::TimeZone> utc(icu::TimeZone::createTimeZone("UTC"));
    const UDate date = milliseconds(stamp.date);
    return {
        {"Local", dateAndTime(date, *zone, locale)},
        {"UTC", dateAndTime(date, *utc, locale)},
        {"ISO 8601", iso8601::format(stamp.date)},
        {"Relative", relative(date, milliseconds(now), *zone, locale)},
    };
}

} // namespace tessellar
