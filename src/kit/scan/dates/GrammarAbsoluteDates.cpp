#include "kit/scan/dates/DateGrammar.h"
#include "kit/scan/dates/GrammarSymbols.h"

namespace tessellar::dates {

// Dates

// A day and month with an optional year. Without a year the next occurrence is taken, unless
// this year's is at most 30 days past: a receipt's "Mar 3" read a week later stays in the past,
// "Nov 5" read in March is the coming one. 29 February without a year counts only when this
// year or the next has one.
std::optional<CivilDate> DateGrammar::dayOfMonth(int month, int day, std::optional<int> year) const {
    if (year) {
        const CivilDate date{*year, month, day};
        return isValidDate(date) ? std::optional(date) : std::nullopt;
    }
    constexpr std::int64_t staysPast = 30;
    const ZoneCalendar& calendar = context_.calendar;
    const std::int64_t today = calendar.dayNumber(context_.today);
    for (int y = context_.today.year - 1; y <= context_.today.year + 1; ++y) {
        const CivilDate candidate{y, month, day};
        if (isValidDate(candidate) && calendar.dayNumber(candidate) - today >= -staysPast)
            return candidate;
    }
    return std::nullopt;
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

// "11/2027": a month and a four-digit year, the first of the month.
std::optional<DateGrammar::Parsed<CivilDate>> DateGrammar::numericMonthYear(std::size_t i) const {
    const auto m = number(i, 1, 2);
    const auto y = symbol(i + 1, '/') ? number(i + 2, 4, 4) : std::nullopt;
    if (!m || !y || *m < 1 || *m > 12)
        return std::nullopt;
    const CivilDate date{*y, *m, 1};
    return isValidDate(date) ? std::optional(Parsed<CivilDate>{date, i + 3}) : std::nullopt;
}

// A card's "Exp 11/27", "Expires: 11/27", "Valid thru 11/27": the first of the month. Without
// such a word before it "11/27" is a fraction or a score.
std::optional<DateGrammar::Parsed<CivilDate>> DateGrammar::cardExpiry(std::size_t i) const {
    const auto m = number(i, 1, 2);
    const auto yy = symbol(i + 1, '/') ? number(i + 2, 2, 2) : std::nullopt;
    if (!m || !yy || *m < 1 || *m > 12)
        return std::nullopt;
    bool labelled = false;
    for (std::size_t back = 1; back <= 6 && back <= i && !labelled; ++back) {
        const std::size_t j = i - back;
        labelled = keyword(j, Keyword::expiry) || keyword(j, Keyword::valid);
        const bool filler = tokens_[j].kind == TokenKind::space || symbol(j, ':') || symbol(j, '.') ||
                            keyword(j, Keyword::date) || keyword(j, Keyword::through);
        if (!labelled && !filler)
            break;
    }
    if (!labelled)
        return std::nullopt;
    return Parsed<CivilDate>{{fullYear(*yy), *m, 1}, i + 3};
}

std::optional<DateGrammar::Parsed<CivilDate>> DateGrammar::absoluteDate(std::size_t i) const {
    std::optional<Parsed<CivilDate>> best;
    for (auto candidate : {monthDay(i), dayMonth(i), numericDate(i), numericMonthYear(i), cardExpiry(i)})
        if (candidate && (!best || candidate->next > best->next))
            best = candidate;
    return best;
}

// "4/18", "7/4": a month and day in the locale's order, without a year. Weak: a fraction or a
// rating ("1/2 cup", "4/5 stars") looks the same, so it needs "on" before it or a time after it.
// The other order is never tried: "24/7" is not 24 July.
std::optional<DateGrammar::Parsed<DateGrammar::DatePart>> DateGrammar::numericMonthDay(std::size_t i) const {
    const auto a = number(i, 1, 2);
    const auto b = symbol(i + 1, '/') ? number(i + 2, 1, 2) : std::nullopt;
    if (!a || !b || symbol(i + 3, '/'))
        return std::nullopt;
    const int month = context_.dayFirst ? *b : *a;
    const int day = context_.dayFirst ? *a : *b;
    if (month < 1 || month > 12 || day < 1)
        return std::nullopt;
    const auto date = dayOfMonth(month, day, std::nullopt);
    if (!date)
        return std::nullopt;
    DatePart part;
    part.date = *date;
    part.weak = true;
    part.scoreLike = (*b == 5 || *b == 10) && *a <= *b; // "rated 4/5 at 3pm"
    return Parsed<DatePart>{part, i + 3};
}

// A month without a day is its first day: "in October", "by August", "February 2028"; "mid May"
// is the 15th. Without a year or "mid" it needs "in", "by" or the like before it: "March" alone
// is a verb as often as a month.
std::optional<DateGrammar::Parsed<DateGrammar::DatePart>> DateGrammar::monthAlone(std::size_t i) const {
    const bool mid = keyword(i, Keyword::mid);
    std::size_t j = i;
    if (mid) {
        j = dash(i + 1) ? i + 2 : space(i + 1);
        if (j == i + 1)
            return std::nullopt;
    }
    const auto m = month(j);
    if (!m)
        return std::nullopt;
    const auto year = yearAfter(m->next);
    if (m->value == 5 && !tokens_[j].capitalized && !year)
        return std::nullopt; // "may" is a verb
    const auto date = dayOfMonth(m->value, mid ? 15 : 1, year ? std::optional(year->value) : std::nullopt);
    if (!date)
        return std::nullopt;
    DatePart part;
    part.date = *date;
    part.monthOnly = !mid && !year;
    return Parsed<DatePart>{part, year ? year->next : m->next};
}

// The next day with this number (and weekday): the 21st on the 25th is next month's.
std::optional<CivilDate> DateGrammar::nextDayOfMonth(int day, std::optional<int> weekday) const {
    const CivilDate first{context_.today.year, context_.today.month, 1};
    for (int ahead = 0; ahead <= 12; ++ahead) {
        const CivilDate month = context_.calendar.addMonths(first, ahead);
        const CivilDate date{month.year, month.month, day};
        if (isValidDate(date) && date >= context_.today &&
            (!weekday || context_.calendar.weekday(date) == *weekday))
            return date;
    }
    return std::nullopt;
}

// "the 21st", and after a weekday "17th" or "the 17th". A following word the grammar does not
// know ("the 21st century", "the 3rd floor") makes it an ordinary ordinal.
std::optional<DateGrammar::Parsed<DateGrammar::DatePart>>
DateGrammar::ordinalDay(std::size_t i, std::optional<int> weekday) const {
    const auto j = afterThe(i);
    if (!j || (*j == i && !weekday))
        return std::nullopt;
    const auto d = day(*j);
    if (!d || !d->value.ordinal)
        return std::nullopt;
    const std::size_t k = space(d->next);
    const DateToken* after = token(k);
    if (k != d->next && after && after->kind == TokenKind::word &&
        (!after->entry || after->entry->kind == WordKind::unit || after->entry->kind == WordKind::count))
        return std::nullopt;
    const auto date = nextDayOfMonth(d->value.day, weekday);
    if (!date)
        return std::nullopt;
    DatePart part;
    part.date = *date;
    return Parsed<DatePart>{part, d->next};
}

} // namespace tessellar::dates
