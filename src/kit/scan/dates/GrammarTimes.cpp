#include "kit/scan/dates/DateGrammar.h"
#include "kit/scan/dates/GrammarSymbols.h"

namespace tessellar::dates {

// Times

// "15:30", "9:05:30", "3pm", "3 p.m.", "3:30 PM", "9.30am", "noon", "midnight", "12 noon", "9 o'clock",
// each with an optional zone ("15:30 UTC", "3pm EST", "18:05:00 +0000"). Hours beyond 23,
// minutes or seconds beyond 59, and "13pm" are not times. A lone hour comes back marked bare.
std::optional<DateGrammar::Parsed<DateGrammar::Clock>> DateGrammar::clock(std::size_t i, bool iso,
                                                                          bool dotted) const {
    Clock c;
    if (const WordEntry* e = word(i, WordKind::clockWord)) {
        c.time.hour = e->value;
        c.meridiem = true;
        return Parsed<Clock>{c, i + 1};
    }
    const auto hour = number(i, 1, 2);
    if (!hour)
        return std::nullopt;
    std::size_t next = i + 1;
    bool seconds = false;
    const bool colon = symbol(next, ':');
    // "18.20" is a 24-hour time where a time is expected; "1.2.3" never is.
    const bool dot = dotted && symbol(next, '.') && !symbol(next + 2, '.');
    if ((colon || dot) && number(next + 1, 2, 2)) {
        const int minute = *number(next + 1, 2, 2);
        if (*hour > 23 || minute > 59)
            return std::nullopt;
        c.time.hour = *hour;
        c.time.minute = minute;
        next += 2;
        if (colon && symbol(next, ':') && number(next + 1, 2, 2)) {
            const int second = *number(next + 1, 2, 2);
            if (second > 59)
                return std::nullopt;
            c.time.second = second;
            seconds = true;
            next += 2;
            if (symbol(next, '.') && number(next + 1, 1, 9)) {
                double fraction = *number(next + 1, 1, 9);
                for (int d = 0; d < tokens_[next + 1].digits; ++d)
                    fraction /= 10;
                c.time.second += fraction;
                next += 2;
            }
        }
        if (const auto m = meridiem(next)) {
            if (*hour < 1 || *hour > 12)
                return std::nullopt;
            c.time.hour = hourOf12(*hour, m->value);
            c.meridiem = true;
            next = m->next;
        }
    } else if (const auto m = meridiem(next)) {
        if (*hour < 1 || *hour > 12)
            return std::nullopt;
        c.time.hour = hourOf12(*hour, m->value);
        c.meridiem = true;
        next = m->next;
    } else if (const auto dottedMeridiem = symbol(next, '.') ? meridiem(next + 2) : std::nullopt;
               dottedMeridiem && number(next + 1, 2, 2)) {
        // "9.30am": a dot only separates the minutes when a.m. or p.m. follows ("9.30" is a number).
        if (*hour < 1 || *hour > 12 || *number(next + 1, 2, 2) > 59)
            return std::nullopt;
        c.time.hour = hourOf12(*hour, dottedMeridiem->value);
        c.time.minute = *number(next + 1, 2, 2);
        c.meridiem = true;
        next = dottedMeridiem->next;
    } else if (const std::size_t j = space(next); keyword(j, Keyword::o) &&
                                                  (symbol(j + 1, '\'') || symbol(j + 1, rightSingleQuote)) &&
                                                  keyword(j + 2, Keyword::clock)) {
        if (*hour < 1 || *hour > 12)
            return std::nullopt;
        c.time.hour = *hour;
        next = j + 3;
        if (const auto m = meridiem(next)) {
            c.time.hour = hourOf12(*hour, m->value);
            c.meridiem = true;
            next = m->next;
        }
    } else if (const WordEntry* e = word(space(next), WordKind::clockWord); e && *hour == 12) {
        c.time.hour = e->value;
        c.meridiem = true;
        next = space(next) + 1;
    } else {
        if (*hour < 1 || *hour > 12)
            return std::nullopt;
        c.time.hour = *hour;
        c.bare = true;
        return Parsed<Clock>{c, next};
    }
    if (const auto z = zone(next, iso || seconds)) {
        c.time.hasOffset = z->value.region < 0;
        c.time.offsetMinutes = z->value.offsetMinutes;
        c.time.region = z->value.region;
        next = z->next;
    }
    return Parsed<Clock>{c, next};
}

// A time, or a range of times that gives its start: "3-5pm" (3 p.m.), "11–1pm" (11 a.m.),
// "9:00 to 17:00", "10am until noon". A lone hour only counts as the start of a range whose
// end says a.m. or p.m.
std::optional<DateGrammar::Parsed<DateGrammar::Clock>> DateGrammar::timeOrRange(std::size_t i,
                                                                                bool dotted) const {
    const auto start = clock(i, false, dotted);
    if (!start)
        return std::nullopt;
    const std::size_t j = space(start->next);
    const bool joined = dash(j) || keyword(j, Keyword::to) || keyword(j, Keyword::until) ||
                        keyword(j, Keyword::till) || keyword(j, Keyword::through);
    if (joined && !start->value.time.zoned()) {
        const std::size_t k = space(j + 1);
        const bool wordNeedsBlanks = !dash(j) && (j == start->next || k == j + 1);
        const auto end = wordNeedsBlanks ? std::nullopt : clock(k, false, dotted);
        if (end && !end->value.bare) {
            Clock c = start->value;
            if (!c.meridiem && end->value.meridiem && c.time.hour >= 1 && c.time.hour <= 12) {
                const bool pm = end->value.time.hour >= 12;
                const int endMinutes = end->value.time.hour * 60 + end->value.time.minute;
                c.time.hour = hourOf12(c.time.hour, pm);
                if (c.time.hour * 60 + c.time.minute > endMinutes)
                    c.time.hour = hourOf12(c.time.hour, !pm);
                c.meridiem = true;
            } else if (c.bare) {
                return std::nullopt;
            }
            c.bare = false;
            if (end->value.time.zoned()) {
                c.time.hasOffset = end->value.time.hasOffset;
                c.time.offsetMinutes = end->value.time.offsetMinutes;
                c.time.region = end->value.time.region;
            }
            return Parsed<Clock>{c, end->next};
        }
    }
    if (start->value.bare)
        return std::nullopt;
    return start;
}

} // namespace tessellar::dates
