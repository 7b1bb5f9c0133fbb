#include "kit/text/Formatting.h"

#include "kit/base/Clock.h"
#include "kit/text/Unicode.h"
#include "kit/text/UserLocale.h"

#include <map>
#include <memory>
#include <mutex>
#include <unicode/calendar.h>
#include <unicode/dtptngen.h>
#include <unicode/numberformatter.h>
#include <unicode/smpdtfmt.h>
#include <utility>

namespace tessellar {
namespace {

// The locale's pattern for a skeleton. Pattern generators are slow to build, so the
// patterns are kept per locale and skeleton.
icu::UnicodeString patternFor(const icu::Locale& locale, const char16_t* skeleton) {
    static std::mutex mutex;
    static std::map<std::pair<std::string, std::u16string>, icu::UnicodeString> known;
    const auto key = std::make_pair(std::string(locale.getName()), std::u16string(skeleton));
    {
        const std::lock_guard lock(mutex);
        if (const auto found = known.find(key); found != known.end())
            return found->second;
    }
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::DateTimePatternGenerator> generator(
        icu::DateTimePatternGenerator::createInstance(locale, status));
    icu::UnicodeString pattern;
    if (U_SUCCESS(status))
        pattern = generator->getBestPattern(icu::UnicodeString(skeleton), status);
    if (U_FAILURE(status))
        pattern = icu::UnicodeString(skeleton); // unreachable in practice; still a readable date
    const std::lock_guard lock(mutex);
    known.emplace(key, pattern);
    return pattern;
}

std::string formatted(Timestamp date, const icu::UnicodeString& pattern, const icu::Locale& locale) {
    UErrorCode status = U_ZERO_ERROR;
    icu::SimpleDateFormat format(pattern, locale, status);
    if (U_FAILURE(status))
        return {};
    format.adoptTimeZone(user_locale::timeZone().release());
    icu::UnicodeString out;
    format.format(date.unixSeconds * 1000.0, out);
    return unicode::toUTF8(out);
}

std::string withSkeleton(Timestamp date, const char16_t* skeleton) {
    const icu::Locale locale = user_locale::locale();
    return formatted(date, patternFor(locale, skeleton), locale);
}

std::string fixedFormat(Timestamp date, const char16_t* pattern) {
    return formatted(date, icu::UnicodeString(pattern), icu::Locale("en_US_POSIX"));
}

// The user's calendar in the user's time zone.
std::unique_ptr<icu::Calendar> userCalendar() {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::Calendar> calendar(
        icu::Calendar::createInstance(user_locale::timeZone().release(), user_locale::locale(), status));
    return U_SUCCESS(status) ? std::move(calendar) : nullptr;
}

int field(icu::Calendar& calendar, Timestamp date, UCalendarDateFields which) {
    UErrorCode status = U_ZERO_ERROR;
    calendar.setTime(date.unixSeconds * 1000.0, status);
    const int value = calendar.get(which, status);
    return U_SUCCESS(status) ? value : 0;
}

bool sameYear(Timestamp date, Timestamp reference) {
    const auto calendar = userCalendar();
    if (!calendar)
        return false;
    return field(*calendar, date, UCAL_ERA) == field(*calendar, reference, UCAL_ERA) &&
           field(*calendar, date, UCAL_YEAR) == field(*calendar, reference, UCAL_YEAR);
}

// A whole number of tenths, as a locale-formatted number with at most one decimal.
std::string localizedTenths(bool negative, unsigned long long tenths) {
    std::string digits = (negative ? "-" : "") + std::to_string(tenths / 10);
    if (tenths % 10 != 0)
        digits += "." + std::to_string(tenths % 10);
    UErrorCode status = U_ZERO_ERROR;
    const icu::number::LocalizedNumberFormatter formatter =
        icu::number::NumberFormatter::withLocale(user_locale::locale());
    const icu::UnicodeString text = formatter.formatDecimal(digits, status).toString(status);
    return U_SUCCESS(status) ? unicode::toUTF8(text) : digits;
}

} // namespace

std::string Formatting::dayAndTime(Timestamp date) {
    return withSkeleton(date, u"MMMdjmm");
}

std::string Formatting::time(Timestamp date) {
    return withSkeleton(date, u"jmm");
}

std::string Formatting::shortDate(Timestamp date, Timestamp reference) {
    return withSkeleton(date, sameYear(date, reference) ? u"MMMd" : u"MMMdyyyy");
}

std::string Formatting::relativeDayHeader(Timestamp date, Timestamp reference) {
    if (const auto calendar = userCalendar()) {
        // Julian day numbers count local days, so their difference is in calendar days.
        const Timestamp now = Clock::now();
        const int day = field(*calendar, date, UCAL_JULIAN_DAY);
        const int today = field(*calendar, now, UCAL_JULIAN_DAY);
        if (day == today)
            return "Today";
        if (day == today - 1)
            return "Yesterday";
    }
    return withSkeleton(date, sameYear(date, reference) ? u"EEEEMMMd" : u"MMMdyyyy");
}

std::string Formatting::filenameMonth(Timestamp date) {
    return fixedFormat(date, u"yyyy-MM");
}

std::string Formatting::filenameDay(Timestamp date) {
    return fixedFormat(date, u"yyyy-MM-dd");
}

// Decimal units (1 KB = 1000 bytes), never bytes or terabytes: whole kilobytes below a
// megabyte (a non-empty file is at least "1 KB"), then megabytes and gigabytes to one
// decimal that is left out when it is zero. Halves round up; no bytes at all is "Zero KB".
std::string Formatting::fileSize(std::int64_t bytes) {
    if (bytes == 0)
        return "Zero KB";
    const bool negative = bytes < 0;
    const unsigned long long size =
        negative ? 0ULL - static_cast<unsigned long long>(bytes) : static_cast<unsigned long long>(bytes);
    const unsigned long long kilobytes = size / 1000 + (size % 1000 >= 500 ? 1 : 0);
    if (kilobytes < 1000)
        return localizedTenths(negative, std::max(kilobytes, 1ULL) * 10) + " KB";
    const unsigned long long megabyteTenths = size / 100'000 + (size % 100'000 >= 50'000 ? 1 : 0);
    if (megabyteTenths < 10'000)
        return localizedTenths(negative, megabyteTenths) + " MB";
    const unsigned long long gigabyteTenths = size / 100'000'000 + (size % 100'000'000 >= 50'000'000 ? 1 : 0);
    return localizedTenths(negative, gigabyteTenths) + " GB";
}

} // namespace tessellar
