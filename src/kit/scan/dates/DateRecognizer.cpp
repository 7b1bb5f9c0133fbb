#include "kit/scan/dates/DateRecognizer.h"

#include "kit/scan/dates/DateGrammar.h"
#include "kit/scan/dates/DateTokenizer.h"
#include "kit/scan/dates/ZoneCalendar.h"
#include "kit/text/Unicode.h"
#include "kit/text/UserLocale.h"

#include <cmath>
#include <map>
#include <mutex>
#include <string>
#include <unicode/datefmt.h>
#include <unicode/smpdtfmt.h>
#include <unicode/utf16.h>

// How phrases become instants:
// - A date without a time of day is 00:00 local time on that date, so "has a time" tests and
//   default reminder times can tell the two apart.
// - A day and month without a year ("Mar 3", "12 March") is the next occurrence, unless it
//   was at most 30 days ago; a month alone ("in October") is its first day.
// - A weekday alone is its next occurrence after today; "today" is the only word for today.
//   "this Friday" counts today, "next Friday" is the Friday of next week.
// - A time alone is today in a document (a receipt's "14:32"); in a reminder it is its next
//   occurrence, tomorrow once it has passed today (Options::timeAlone).
// - Whole days, weeks, months and years ahead ("in 3 days", "next month") are dates (00:00);
//   hours and minutes ("in 2 hours") are distances from now, in whole minutes.
// - Local wall times are read in the user's time zone with its daylight-saving rules; a written
//   zone or offset ("3pm EST", "2026-03-12T09:30:00Z") wins; a US zone name means that
//   region's civil time on the day ("3pm PST" in July is 3 pm Pacific daylight time).
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

// Longest run of text tokenized at once, and most matches kept: memory stays bounded whatever
// the input ("3pm " ten million times).
constexpr std::int32_t chunkLength = 1 << 16;
constexpr std::size_t maximumMatches = 4096;
// Tokens next to a cut whose neighbours the grammar could not see.
constexpr std::size_t cutMargin = 3;

std::optional<Timestamp> instantOf(const DatePhrase& phrase, Timestamp now, const ZoneCalendar& calendar,
                                   DateRecognizer::TimeAlone timeAlone) {
    if (phrase.secondsFromNow) {
        const double seconds = now.unixSeconds + *phrase.secondsFromNow;
        return Timestamp::fromUnix(std::floor(seconds / 60.0) * 60.0);
    }
    if (phrase.date)
        return calendar.instant(*phrase.date, phrase.time.value_or(TimeOfDay{}));
    if (!phrase.time)
        return std::nullopt;
    const TimeOfDay& time = *phrase.time;
    const CivilDate day = calendar.dateWhere(now, time);
    const Timestamp sameDay = calendar.instant(day, time);
    if (sameDay >= now || timeAlone == DateRecognizer::TimeAlone::today)
        return sameDay;
    return calendar.instant(calendar.addDays(day, 1), time);
}

bool isBreak(char16_t c) {
    return c == '\n' || c == '\r' || c == 0x2028 || c == 0x2029;
}

// Where the chunk starting at `from` ends: at a line break when one is near the limit (phrases
// never span lines), else at a blank, else anywhere but inside a surrogate pair.
std::int32_t chunkEnd(const icu::UnicodeString& text, std::int32_t from, bool& cut) {
    const std::int32_t length = text.length();
    cut = false;
    if (length - from <= chunkLength)
        return length;
    const std::int32_t limit = from + chunkLength;
    std::int32_t blank = -1;
    for (std::int32_t k = limit; k > from + chunkLength / 2; --k) {
        if (isBreak(text.charAt(k)))
            return k;
        if (blank < 0 && text.charAt(k) == ' ')
            blank = k;
    }
    if (blank >= 0)
        return blank;
    cut = true;
    return U16_IS_TRAIL(text.charAt(limit)) ? limit - 1 : limit;
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
    const dates::GrammarContext context{now, today, options.dayFirst, calendar, calendar.weekday(today)};
    bool cutBefore = false;
    for (std::int32_t from = 0; from < utf16.length();) {
        bool cutAfter = false;
        const std::int32_t to = chunkEnd(utf16, from, cutAfter);
        const std::vector<dates::DateToken> tokens = dates::DateTokenizer::tokenize(utf16, from, to);
        const dates::DateGrammar grammar(tokens, context);
        std::size_t i = 0;
        while (i < tokens.size()) {
            const std::optional<DatePhrase> phrase = grammar.phraseAt(i);
            // A phrase near a cut may be half of a longer number or phrase.
            if (!phrase || (cutBefore && phrase->begin < cutMargin) ||
                (cutAfter && phrase->end + cutMargin > tokens.size())) {
                ++i;
                continue;
            }
            const std::optional<Timestamp> instant = instantOf(*phrase, now, calendar, options.timeAlone);
            if (calendar.failed())
                return matches; // ICU could not do the arithmetic: nothing after this is trustworthy
            if (instant) {
                DataDetector::Match match;
                match.type = DataDetector::Type::date;
                match.range.location = tokens[phrase->begin].start;
                match.range.length = tokens[phrase->end - 1].end - match.range.location;
                match.date = *instant;
                matches.push_back(std::move(match));
                if (matches.size() == maximumMatches)
                    return matches;
            }
            i = phrase->end;
        }
        from = to;
        cutBefore = cutAfter;
    }
    return matches;
}

} // namespace tessellar
