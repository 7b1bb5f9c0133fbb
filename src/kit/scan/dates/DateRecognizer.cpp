#include "kit/scan/dates/DateRecognizer.h"

#include "kit/scan/dates/DateGrammar.h"
#include "kit/scan/dates/DateTokenizer.h"
#include "kit/scan/dates/ZoneCalendar.h"
#include "kit/text/Unicode.h"
#include "kit/text/UserLocale.h"

#include <map>
#include <mutex>
#include <string>
#include <unicode/datefmt.h>
#include <unicode/smpdtfmt.h>

// How phrases become instants:
// - A date without a time of day is 00:00 local time on that date, so "has a time" tests and
//   default reminder times can tell the two apart.
// - A day and month without a year ("Mar 3", "12 March") is the occurrence nearest to now,
//   within six months either way.
// - A weekday alone is its next occurrence after today; "today" is the only word for today.
//   "this Friday" counts today, "next Friday" is the Friday of next week.
// - A time alone is its next occurrence: today if it is still to come, else tomorrow.
// - Whole days, weeks, months and years ahead ("in 3 days", "next month") are dates (00:00);
//   hours and minutes ("in 2 hours") are exact distances from now.
// - Local wall times are read in the user's time zone with its daylight-saving rules; a written
//   zone or offset ("3pm EST", "2026-03-12T09:30:00Z") wins.
// - A range of times gives its start; a span of days ("March 12–14") its first day.
// The grammar itself, with the forms it knows, is in dates/Grammar*.cpp.

namespace tessellar {
namespace {

using dates::CivilDate;
using dates::DatePhrase;
using dates::TimeOfDay;
using dates::ZoneCalendar;

// Whether the locale writes the day before the month in its short numeric date.
bool writesDayFirst(const icu::Locale& locale) {
    static std::mutex mutex;
    static std::map<std::string, bool> known;
    const std::string name = locale.getName();
    {
        const std::lock_guard lock(mutex);
        if (const auto found = known.find(name); found != known.end())
            return found->second;
    }
    bool dayFirst = false;
    std::unique_ptr<icu::DateFormat> format(
        icu::DateFormat::createDateInstance(icu::DateFormat::kShort, locale));
    if (auto* simple = dynamic_cast<icu::SimpleDateFormat*>(format.get())) {
        icu::UnicodeString pattern;
        simple->toPattern(pattern);
        const int32_t day = pattern.indexOf(u'd');
        const int32_t month = pattern.indexOf(u'M');
        dayFirst = day >= 0 && month >= 0 && day < month;
    }
    const std::lock_guard lock(mutex);
    known.emplace(name, dayFirst);
    return dayFirst;
}

std::optional<Timestamp> instantOf(const DatePhrase& phrase, Timestamp now, const CivilDate& today,
                                   const ZoneCalendar& calendar) {
    if (phrase.secondsFromNow)
        return now.advanced(*phrase.secondsFromNow);
    if (phrase.date)
        return calendar.instant(*phrase.date, phrase.time.value_or(TimeOfDay{}));
    if (!phrase.time)
        return std::nullopt;
    const TimeOfDay& time = *phrase.time;
    const CivilDate day = time.hasOffset ? calendar.dateAtOffset(now, time.offsetMinutes) : today;
    const Timestamp sameDay = calendar.instant(day, time);
    if (sameDay >= now)
        return sameDay;
    return calendar.instant(calendar.addDays(day, 1), time);
}

} // namespace

DateRecognizer::Options DateRecognizer::Options::forUser() {
    return forLocale(user_locale::locale());
}

DateRecognizer::Options DateRecognizer::Options::forLocale(const icu::Locale& locale,
                                                           std::shared_ptr<const icu::TimeZone> zone) {
    Options options;
    options.timeZone = zone ? std::move(zone) : std::shared_ptr<const icu::TimeZone>(user_locale::timeZone());
    options.dayFirst = writesDayFirst(locale);
    return options;
}

std::vector<DataDetector::Match> DateRecognizer::scan(std::string_view text, Timestamp now) {
    return scan(text, now, Options::forUser());
}

std::vector<DataDetector::Match> DateRecognizer::scan(std::string_view text, Timestamp now,
                                                      const Options& options) {
    std::vector<DataDetector::Match> matches;
    const std::shared_ptr<const icu::TimeZone> zone =
        options.timeZone ? options.timeZone : std::shared_ptr<const icu::TimeZone>(user_locale::timeZone());
    if (!zone)
        return matches;
    const ZoneCalendar calendar(*zone);
    const CivilDate today = calendar.dateOf(now);
    if (calendar.failed())
        return matches;

    const icu::UnicodeString utf16 = unicode::toICU(text);
    const std::vector<dates::DateToken> tokens = dates::DateTokenizer::tokenize(utf16);
    const dates::GrammarContext context{now, today, options.dayFirst, calendar};
    const dates::DateGrammar grammar(tokens, context);

    std::size_t i = 0;
    while (i < tokens.size()) {
        const std::optional<DatePhrase> phrase = grammar.phraseAt(i);
        if (!phrase) {
            ++i;
            continue;
        }
        const std::optional<Timestamp> instant = instantOf(*phrase, now, today, calendar);
        if (calendar.failed())
            return matches; // ICU could not do the arithmetic: nothing after this is trustworthy
        if (instant) {
            DataDetector::Match match;
            match.type = DataDetector::Type::date;
            match.range.location = tokens[phrase->begin].start;
            match.range.length = tokens[phrase->end - 1].end - match.range.location;
            match.date = *instant;
            matches.push_back(std::move(match));
        }
        i = phrase->end;
    }
    return matches;
}

} // namespace tessellar
