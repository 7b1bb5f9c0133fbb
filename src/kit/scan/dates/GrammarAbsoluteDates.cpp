#include "kit/scan/dates/DateGrammar.h"
#include "kit/scan/dates/GrammarSymbols.h"

#include <cstdlib>

namespace tessellar::dates {

// Dates

// A day and month with an optional year. Without a year the occurrence nearest to today is
// taken (never more than about six months away): a receipt's "Mar 3" read in April is the
// March just gone, a deadline's "March 12" read in February the one to come. A tie goes to
// the coming one. 29 February without a year counts only when a year that near has one.
std::optional<CivilDate> DateGrammar::dayOfMonth(int month, int day, std::optional<int> year) const {
    if (year) {
        const CivilDate date{*year, month, day};
        return isValidDate(date) ? std::optional(date) : std::nullopt;
    }
    const ZoneCalendar& calendar = context_.calendar;
    const std::int64_t today = calendar.dayNumber(context_.today);
    std::optional<CivilDate> best;
    std::int64_t bestDistance = 0;
    for (int y = context_.today.year - 1; y <= context_.today.year + 1; ++y) {
        const CivilDate candidate{y, month, day};
        if (!isValidDate(candidate))
            continue;
        const std::int64_t distance = calendar.dayNumber(candidate) - today;
        const std::int64_t size = std::llabs(distance);
        const std::int64_t bestSize = std::llabs(bestDistance);
        if (!best || size < bestSize || (size == bestSize && distance > 0)) {
            best = candidate;
            bestDistance = distance;
        }
    }
    return best;
}

// Two-digit years fall in the hundred years that end twenty years from now.
int DateGrammar::fullYear(int twoDigits) const {
    const int year = context_.today.year / 100 * 100 + twoDigits;
    if (year > context_.today.year + 20)
        return year - 100;
    if (year <= context_.today.year - 80)
        return year + 100;
    return year;
}

// "March 12", "Mar. 12th", "March 12, 2026", "March 12–14 2026".
std::optional<DateGrammar::Parsed<CivilDate>> DateGrammar::monthDay(std::size_t i) const {
    const auto m = month(i);
    if (!m)
        return std::nullopt;
    const auto d = day(space(m->next));
    if (!d)
        return std::nullopt;
    const std::size_t next = dayRangeEnd(d->next, d->value.day);
    const auto year = yearAfter(next);
    const auto date = dayOfMonth(m->value, d->value.day, year ? std::optional(year->value) : std::nullopt);
    if (!date)
        return std::nullopt;
    return Parsed<CivilDate>{*date, year ? year->next : next};
}

// "12 March", "12th of March 2026", "the 12th of March", "12-Mar-2026", "12–14 March".
std::optional<DateGrammar::Parsed<CivilDate>> DateGrammar::dayMonth(std::size_t i) const {
    std::size_t j = i;
    const bool the = keyword(j, Keyword::the);
    if (the) {
        const auto after = requiredSpace(j + 1);
        if (!after)
            return std::nullopt;
        j = *after;
    }
    const auto d = day(j);
    if (!d || (the && !d->value.ordinal))
        return std::nullopt;

    if (!the && dash(d->next)) {
        if (const auto m = month(d->next + 1)) {
            std::size_t next = m->next;
            std::optional<int> year;
            if (dash(next)) {
                if (const auto y = number(next + 1, 4, 4)) {
                    year = *y;
                    next += 2;
                } else if (const auto yy = number(next + 1, 2, 2)) {
                    year = fullYear(*yy);
                    next += 2;
                }
            }
            const auto date = dayOfMonth(m->value, d->value.day, year);
            if (!date)
                return std::nullopt;
            return Parsed<CivilDate>{*date, next};
        }
    }

    const std::size_t rangeEnd = dayRangeEnd(d->next, d->value.day);
    std::size_t k = space(rangeEnd);
    if (keyword(k, Keyword::of)) {
        const auto after = requiredSpace(k + 1);
        if (!after || k == rangeEnd)
            return std::nullopt;
        k = *after;
    }
    const auto m = month(k);
    if (!m)
        return std::nullopt;
    const auto year = yearAfter(m->next);
    // "2 may" is nearly always a number and the verb ("version 2 may break"); lower-case
    // "may" after a day needs an ordinal or a year to be the month.
    if (m->value == 5 && !tokens_[k].capitalized && !d->value.ordinal && !year)
        return std::nullopt;
    const auto date = dayOfMonth(m->value, d->value.day, year ? std::optional(year->value) : std::nullopt);
    if (!date)
        return std::nullopt;
    return Parsed<CivilDate>{*date, year ? year->next : m->next};
}

// "2026-03-12", "2026/3/12"; "3/12/2026", "3/12/26", "12-03-2026" in the locale's order; and
// "12.03.2026", day first as written wherever dots are used. When the preferred order gives
// an impossible date and the other one does not ("25/12/2026" in the US), the other is taken.
// Without a year these are not dates: "3.12" is a version, "3/4" a fraction.
std::optional<DateGrammar::Parsed<CivilDate>> DateGrammar::numericDate(std::size_t i) const {
    const DateToken* a = token(i);
    const DateToken* separator = token(i + 1);
    if (!a || a->kind != TokenKind::number || !separator || separator->kind != TokenKind::symbol)
        return std::nullopt;
    const char32_t sep = separator->symbol;
    if (sep != '-' && sep != '/' && sep != '.')
        return std::nullopt;
    const DateToken* b = token(i + 2);
    const DateToken* c = token(i + 4);
    if (!b || b->kind != TokenKind::number || b->digits > 2 || !symbol(i + 3, sep) || !c ||
        c->kind != TokenKind::number)
        return std::nullopt;

    if (a->digits == 4) {
        const CivilDate date{a->value, b->value, c->value};
        if (c->digits > 2 || !isValidDate(date))
            return std::nullopt;
        return Parsed<CivilDate>{date, i + 5};
    }
    if (a->digits > 2)
        return std::nullopt;
    int year = 0;
    if (c->digits == 4) {
        year = c->value;
    } else if (c->digits == 2) {
        // "1.2.26" and "1-2-26" look like versions and codes; "3/12/26" is a date.
        if (sep != '/' && (a->digits != 2 || b->digits != 2))
            return std::nullopt;
        year = fullYear(c->value);
    } else {
        return std::nullopt;
    }
    const bool dayFirst = sep == '.' || context_.dayFirst;
    const CivilDate monthFirstDate{year, a->value, b->value};
    const CivilDate dayFirstDate{year, b->value, a->value};
    const CivilDate& preferred = dayFirst ? dayFirstDate : monthFirstDate;
    const CivilDate& other = dayFirst ? monthFirstDate : dayFirstDate;
    if (isValidDate(preferred))
        return Parsed<CivilDate>{preferred, i + 5};
    if (isValidDate(other))
        return Parsed<CivilDate>{other, i + 5};
    return std::nullopt;
}

std::optional<DateGrammar::Parsed<CivilDate>> DateGrammar::absoluteDate(std::size_t i) const {
    std::optional<Parsed<CivilDate>> best;
    for (auto candidate : {monthDay(i), dayMonth(i), numericDate(i)})
        if (candidate && (!best || candidate->next > best->next))
            best = candidate;
    return best;
}

// Weekdays. Alone ("Friday", "on Fri") a weekday is its next occurrence after today: on a
// Friday, "Friday" is a week away. "this Friday" / "coming Friday" count today. "next Friday"

} // namespace tessellar::dates
