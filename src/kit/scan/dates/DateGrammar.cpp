#include "kit/scan/dates/DateGrammar.h"

#include <cstdlib>

namespace tessellar::dates {
namespace {

constexpr char32_t enDash = 0x2013;
constexpr char32_t emDash = 0x2014;
constexpr char32_t minusSign = 0x2212;
constexpr char32_t rightSingleQuote = 0x2019;

constexpr int hourOf12(int hour, bool pm) {
    return hour % 12 + (pm ? 12 : 0);
}

bool isTimeUnitOfDay(int unit) {
    return unit == static_cast<int>(TimeUnit::minute) || unit == static_cast<int>(TimeUnit::hour);
}

// Weekday positions in a week that starts on Monday (ICU numbers Sunday 1 … Saturday 7).
constexpr int mondayIndex(int weekday) {
    return (weekday + 5) % 7;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Token tests

const WordEntry* DateGrammar::word(std::size_t i, WordKind kind) const {
    const DateToken* t = token(i);
    if (!t || t->kind != TokenKind::word || !t->entry || t->entry->kind != kind)
        return nullptr;
    return t->entry;
}

bool DateGrammar::keyword(std::size_t i, Keyword k) const {
    const WordEntry* e = word(i, WordKind::keyword);
    return e && e->value == static_cast<int>(k);
}

bool DateGrammar::symbol(std::size_t i, char32_t c) const {
    const DateToken* t = token(i);
    return t && t->kind == TokenKind::symbol && t->symbol == c;
}

bool DateGrammar::dash(std::size_t i) const {
    return symbol(i, '-') || symbol(i, enDash) || symbol(i, emDash);
}

bool DateGrammar::letterA(std::size_t i) const {
    const WordEntry* e = word(i, WordKind::count);
    return e && tokens_[i].letters == 1; // "a", not "an"
}

std::optional<int> DateGrammar::number(std::size_t i, int minDigits, int maxDigits) const {
    const DateToken* t = token(i);
    if (!t || t->kind != TokenKind::number || t->digits < minDigits || t->digits > maxDigits)
        return std::nullopt;
    return t->value;
}

// Skips one optional run of blanks (never a line break: phrases do not span lines).
std::size_t DateGrammar::space(std::size_t i) const {
    const DateToken* t = token(i);
    return t && t->kind == TokenKind::space ? i + 1 : i;
}

std::optional<std::size_t> DateGrammar::requiredSpace(std::size_t i) const {
    const std::size_t next = space(i);
    return next == i ? std::nullopt : std::optional(next);
}

// A lone abbreviated weekday ("Sat", "sun") is too often a plain word; it counts after
// "on", "by", "until", "till", "before", "after" or "from".
bool DateGrammar::precededBySupport(std::size_t i) const {
    if (i == 0)
        return false;
    std::size_t j = i - 1;
    if (tokens_[j].kind == TokenKind::space) {
        if (j == 0)
            return false;
        --j;
    }
    for (const Keyword k : {Keyword::on, Keyword::by, Keyword::until, Keyword::till, Keyword::before,
                            Keyword::after, Keyword::from})
        if (keyword(j, k))
            return true;
    return false;
}

// A phrase must not be a piece of a longer run of numbers: "1.12.2026" inside
// "10.1.12.2026", "10.10.10" inside an IP address, "12" after "$", "3/4" in "3/4/5/6" …
bool DateGrammar::standsAlone(std::size_t begin, std::size_t end) const {
    auto isJoiner = [](char32_t c) { return c == '.' || c == '-' || c == '/' || c == ':' || c == ','; };
    const DateToken& first = tokens_[begin];
    if (first.kind == TokenKind::number && begin > 0) {
        const DateToken& before = tokens_[begin - 1];
        if (before.kind == TokenKind::word)
            return false; // "v3.12", "A12"
        if (before.kind == TokenKind::symbol) {
            const char32_t c = before.symbol;
            if (c == '$' || c == 0x20AC || c == 0xA3 || c == 0xA5 || c == '+' || c == '#' || c == '=' ||
                c == minusSign)
                return false;
            if (isJoiner(c) && begin >= 2 && tokens_[begin - 2].kind == TokenKind::number)
                return false;
        }
    }
    const DateToken& last = tokens_[end - 1];
    if (last.kind == TokenKind::number && end < tokens_.size()) {
        const DateToken& after = tokens_[end];
        if (after.kind == TokenKind::word || after.kind == TokenKind::number)
            return false; // "12:30abc"
        if (after.kind == TokenKind::symbol) {
            if (after.symbol == '%')
                return false;
            if (after.symbol != ',' && isJoiner(after.symbol) && end + 1 < tokens_.size() &&
                tokens_[end + 1].kind == TokenKind::number)
                return false;
        }
    }
    return true;
}

// ---------------------------------------------------------------------------------------------
// Pieces

std::optional<DateGrammar::Parsed<int>> DateGrammar::month(std::size_t i) const {
    const WordEntry* e = word(i, WordKind::month);
    if (!e)
        return std::nullopt;
    std::size_t next = i + 1;
    if (e->abbreviated && symbol(next, '.'))
        ++next;
    return Parsed<int>{e->value, next};
}

std::optional<DateGrammar::Parsed<DateGrammar::Day>> DateGrammar::day(std::size_t i) const {
    const auto value = number(i, 1, 2);
    if (!value || *value < 1 || *value > 31)
        return std::nullopt;
    Day d{*value, false};
    std::size_t next = i + 1;
    if (word(next, WordKind::ordinal)) {
        d.ordinal = true;
        ++next;
    }
    return Parsed<Day>{d, next};
}

// "12–14" in "March 12–14": the span's second day is read and passed over; the phrase keeps
// the first. Returns `i` when there is no span.
std::size_t DateGrammar::dayRangeEnd(std::size_t i, int firstDay) const {
    const std::size_t j = space(i);
    if (!dash(j))
        return i;
    const auto second = day(space(j + 1));
    if (!second || second->value.day <= firstDay)
        return i;
    // "March 2 - 3pm" is a date and a time, not a span of days.
    if (symbol(second->next, ':') || meridiem(second->next))
        return i;
    return second->next;
}

std::optional<DateGrammar::Parsed<int>> DateGrammar::yearAfter(std::size_t i) const {
    std::size_t j = i;
    if (symbol(j, ','))
        ++j;
    j = space(j);
    if (j == i)
        return std::nullopt;
    const auto year = number(j, 4, 4);
    if (!year || *year < minimumYear || *year > maximumYear || symbol(j + 1, ':'))
        return std::nullopt;
    return Parsed<int>{*year, j + 1};
}

std::optional<DateGrammar::Parsed<DateGrammar::Weekday>> DateGrammar::weekday(std::size_t i) const {
    const WordEntry* e = word(i, WordKind::weekday);
    if (!e)
        return std::nullopt;
    std::size_t next = i + 1;
    if (e->abbreviated && symbol(next, '.'))
        ++next;
    return Parsed<Weekday>{{e->value, e->abbreviated}, next};
}

std::optional<DateGrammar::Parsed<int>> DateGrammar::count(std::size_t i) const {
    if (const auto n = number(i, 1, 4))
        return Parsed<int>{*n, i + 1};
    if (const WordEntry* e = word(i, WordKind::count))
        return Parsed<int>{e->value, i + 1};
    return std::nullopt;
}

// "pm", " PM", "p.m.", "a.m" — the value is true for p.m.
std::optional<DateGrammar::Parsed<bool>> DateGrammar::meridiem(std::size_t i) const {
    const std::size_t j = space(i);
    if (const WordEntry* e = word(j, WordKind::meridiem))
        return Parsed<bool>{e->value == 12, j + 1};
    const bool am = letterA(j);
    const bool pm = keyword(j, Keyword::p);
    if ((am || pm) && symbol(j + 1, '.') && keyword(j + 2, Keyword::m)) {
        std::size_t next = j + 3;
        if (symbol(next, '.'))
            ++next;
        return Parsed<bool>{pm, next};
    }
    return std::nullopt;
}

// "+0100", "-05:00", and after a zone name also "+1": minutes east of UTC.
std::optional<DateGrammar::Parsed<int>> DateGrammar::signedOffset(std::size_t i, bool allowHoursOnly) const {
    int sign = 0;
    if (symbol(i, '+'))
        sign = 1;
    else if (symbol(i, '-') || symbol(i, minusSign))
        sign = -1;
    const DateToken* digits = token(i + 1);
    if (sign == 0 || !digits || digits->kind != TokenKind::number)
        return std::nullopt;
    int hours = 0;
    int minutes = 0;
    std::size_t next = i + 2;
    if (digits->digits == 4) {
        hours = digits->value / 100;
        minutes = digits->value % 100;
    } else if (digits->digits == 2 && symbol(i + 2, ':') && number(i + 3, 2, 2)) {
        hours = digits->value;
        minutes = *number(i + 3, 2, 2);
        next = i + 4;
    } else if (allowHoursOnly && digits->digits <= 2) {
        hours = digits->value;
    } else {
        return std::nullopt;
    }
    if (hours > 14 || minutes > 59)
        return std::nullopt;
    return Parsed<int>{sign * (hours * 60 + minutes), next};
}

// A zone after a time: "UTC", " EST", "GMT+1", " +0000"; right against the time only in
// ISO forms ("T09:30:00Z", "09:30:00-05:00"), so "10:00-11:00" stays a range.
std::optional<DateGrammar::Parsed<int>> DateGrammar::zone(std::size_t i, bool allowAdjacentOffset) const {
    const std::size_t j = space(i);
    const bool spaced = j != i;
    if (const WordEntry* e = word(j, WordKind::zone)) {
        if (e->value == 0)
            if (const auto offset = signedOffset(j + 1, true))
                return offset;
        return Parsed<int>{e->value, j + 1};
    }
    if (spaced || allowAdjacentOffset)
        if (const auto offset = signedOffset(j, false))
            return offset;
    if (!spaced && allowAdjacentOffset && keyword(j, Keyword::isoZ))
        return Parsed<int>{0, j + 1};
    return std::nullopt;
}

// ---------------------------------------------------------------------------------------------
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
// is the Friday of next week (weeks start on Monday), so on a Wednesday it is nine days away
// and on a Sunday twelve. "last Friday" is the latest one before today.
std::optional<DateGrammar::Parsed<DateGrammar::DatePart>> DateGrammar::weekdayPhrase(std::size_t i) const {
    std::size_t j = i;
    std::optional<int> qualifier;
    if (const WordEntry* q = word(j, WordKind::qualifier)) {
        qualifier = q->value;
        const auto after = requiredSpace(j + 1);
        if (!after)
            return std::nullopt;
        j = *after;
        // "this coming Friday"
        if (const WordEntry* coming = word(j, WordKind::qualifier);
            coming && coming->value == 0 && *qualifier == 0) {
            const auto afterComing = requiredSpace(j + 1);
            if (!afterComing)
                return std::nullopt;
            j = *afterComing;
        }
    }
    const auto w = weekday(j);
    if (!w)
        return std::nullopt;
    const int todayWeekday = context_.calendar.weekday(context_.today);
    const int ahead = (w->value.value - todayWeekday + 7) % 7;
    int days = 0;
    if (!qualifier)
        days = ahead == 0 ? 7 : ahead;
    else if (*qualifier == 0)
        days = ahead;
    else if (*qualifier > 0)
        days = 7 - mondayIndex(todayWeekday) + mondayIndex(w->value.value);
    else
        days = -((todayWeekday - w->value.value + 7) % 7 == 0 ? 7 : (todayWeekday - w->value.value + 7) % 7);
    DatePart part;
    part.date = context_.calendar.addDays(context_.today, days);
    part.weakWeekday = w->value.abbreviated && !qualifier;
    return Parsed<DatePart>{part, w->next};
}

// "today", "tomorrow", "yesterday", "tonight" (today at 20:00), "the day after tomorrow",
// "day before yesterday", "this morning" / "afternoon" / "evening".
std::optional<DateGrammar::Parsed<DateGrammar::DatePart>> DateGrammar::relativeDay(std::size_t i) const {
    DatePart part;
    if (const WordEntry* e = word(i, WordKind::relativeDay)) {
        part.date = context_.calendar.addDays(context_.today, e->value);
        return Parsed<DatePart>{part, i + 1};
    }
    if (word(i, WordKind::tonight)) {
        part.date = context_.today;
        part.impliedTime = TimeOfDay{20, 0};
        part.evening = true;
        return Parsed<DatePart>{part, i + 1};
    }
    if (const WordEntry* q = word(i, WordKind::qualifier); q && q->value == 0) {
        const std::size_t j = space(i + 1);
        const WordEntry* p = word(j, WordKind::partOfDay);
        if (j == i + 1 || !p)
            return std::nullopt;
        part.date = context_.today;
        part.impliedTime = TimeOfDay{p->value, 0};
        part.evening = p->value >= 12;
        return Parsed<DatePart>{part, j + 1};
    }
    std::size_t j = i;
    if (keyword(j, Keyword::the)) {
        const auto after = requiredSpace(j + 1);
        if (!after)
            return std::nullopt;
        j = *after;
    }
    const WordEntry* dayWord = word(j, WordKind::unit);
    if (!dayWord || dayWord->value != static_cast<int>(TimeUnit::day))
        return std::nullopt;
    const auto afterDay = requiredSpace(j + 1);
    if (!afterDay)
        return std::nullopt;
    const bool after = keyword(*afterDay, Keyword::after);
    if (!after && !keyword(*afterDay, Keyword::before))
        return std::nullopt;
    const auto afterWord = requiredSpace(*afterDay + 1);
    const WordEntry* anchor = afterWord ? word(*afterWord, WordKind::relativeDay) : nullptr;
    if (!anchor || anchor->value != (after ? 1 : -1))
        return std::nullopt;
    part.date = context_.calendar.addDays(context_.today, after ? 2 : -2);
    return Parsed<DatePart>{part, *afterWord + 1};
}

std::optional<CivilDate> DateGrammar::advanced(const CivilDate& date, TimeUnit unit, int amount) const {
    CivilDate result = date;
    switch (unit) {
    case TimeUnit::day:
        result = context_.calendar.addDays(date, amount);
        break;
    case TimeUnit::week:
        result = context_.calendar.addDays(date, amount * 7);
        break;
    case TimeUnit::month:
        result = context_.calendar.addMonths(date, amount);
        break;
    case TimeUnit::year:
        result = context_.calendar.addMonths(date, amount * 12);
        break;
    case TimeUnit::minute:
    case TimeUnit::hour:
        return std::nullopt;
    }
    return isValidDate(result) ? std::optional(result) : std::nullopt;
}

// Whole days and more from today, as a date: "in 3 days", "in two weeks", "a month from now",
// "3 days from today", "2 weeks ago", "next week" (seven days on), "next month" / "next year"
// (the same day, clamped to the month's end), "end of the month". A number of days without
// "in", "from now" or "ago" is a duration ("for 3 days"), not a date.
std::optional<DateGrammar::Parsed<CivilDate>> DateGrammar::calendarOffset(std::size_t i) const {
    if (const auto end = endOf(i))
        return end;
    if (const WordEntry* q = word(i, WordKind::qualifier); q && q->value == 1) {
        const std::size_t j = space(i + 1);
        const WordEntry* u = word(j, WordKind::unit);
        if (j == i + 1 || !u || isTimeUnitOfDay(u->value) || u->value == static_cast<int>(TimeUnit::day))
            return std::nullopt;
        const auto date = advanced(context_.today, static_cast<TimeUnit>(u->value), 1);
        return date ? std::optional(Parsed<CivilDate>{*date, j + 1}) : std::nullopt;
    }
    const bool in = keyword(i, Keyword::in);
    std::size_t j = i;
    if (in) {
        const auto after = requiredSpace(i + 1);
        if (!after)
            return std::nullopt;
        j = *after;
    }
    const auto n = count(j);
    if (!n)
        return std::nullopt;
    const auto afterCount = requiredSpace(n->next);
    const WordEntry* u = afterCount ? word(*afterCount, WordKind::unit) : nullptr;
    if (!u || isTimeUnitOfDay(u->value))
        return std::nullopt;
    const auto unit = static_cast<TimeUnit>(u->value);
    std::size_t next = *afterCount + 1;
    int sign = 1;
    if (!in) {
        const auto afterUnit = requiredSpace(next);
        if (!afterUnit)
            return std::nullopt;
        if (keyword(*afterUnit, Keyword::ago)) {
            sign = -1;
            next = *afterUnit + 1;
        } else if (keyword(*afterUnit, Keyword::from)) {
            const auto anchor = requiredSpace(*afterUnit + 1);
            const WordEntry* today = anchor ? word(*anchor, WordKind::relativeDay) : nullptr;
            if (!anchor || (!keyword(*anchor, Keyword::now) && !(today && today->value == 0)))
                return std::nullopt;
            next = *anchor + 1;
        } else {
            return std::nullopt;
        }
    }
    const auto date = advanced(context_.today, unit, sign * n->value);
    return date ? std::optional(Parsed<CivilDate>{*date, next}) : std::nullopt;
}

// "end of the month", "the end of this month", "end of next month", "end of the year",
// "end of March": the last day.
std::optional<DateGrammar::Parsed<CivilDate>> DateGrammar::endOf(std::size_t i) const {
    std::size_t j = i;
    if (keyword(j, Keyword::the)) {
        const auto after = requiredSpace(j + 1);
        if (!after)
            return std::nullopt;
        j = *after;
    }
    if (!keyword(j, Keyword::end))
        return std::nullopt;
    const auto of = requiredSpace(j + 1);
    if (!of || !keyword(*of, Keyword::of))
        return std::nullopt;
    const auto afterOf = requiredSpace(*of + 1);
    if (!afterOf)
        return std::nullopt;
    std::size_t k = *afterOf;
    if (const auto m = month(k)) {
        const CivilDate first{context_.today.year, m->value, 1};
        const auto date = dayOfMonth(m->value, daysInMonth(first.year, m->value), std::nullopt);
        // February's last day depends on the year that is chosen.
        if (!date)
            return std::nullopt;
        return Parsed<CivilDate>{{date->year, date->month, daysInMonth(date->year, date->month)}, m->next};
    }
    int ahead = 0;
    const WordEntry* q = word(k, WordKind::qualifier);
    if (keyword(k, Keyword::the) || (q && q->value >= 0)) {
        ahead = q ? q->value : 0;
        const auto after = requiredSpace(k + 1);
        if (!after)
            return std::nullopt;
        k = *after;
    }
    const WordEntry* u = word(k, WordKind::unit);
    if (!u)
        return std::nullopt;
    if (u->value == static_cast<int>(TimeUnit::month)) {
        const CivilDate month =
            context_.calendar.addMonths({context_.today.year, context_.today.month, 1}, ahead);
        return Parsed<CivilDate>{{month.year, month.month, daysInMonth(month.year, month.month)}, k + 1};
    }
    if (u->value == static_cast<int>(TimeUnit::year)) {
        const CivilDate date{context_.today.year + ahead, 12, 31};
        return isValidDate(date) ? std::optional(Parsed<CivilDate>{date, k + 1}) : std::nullopt;
    }
    return std::nullopt;
}

std::optional<DateGrammar::Parsed<DateGrammar::DatePart>> DateGrammar::datePart(std::size_t i) const {
    std::optional<Parsed<DatePart>> best;
    auto consider = [&best](const std::optional<Parsed<DatePart>>& candidate) {
        if (candidate && (!best || candidate->next > best->next))
            best = candidate;
    };
    auto plain = [](const std::optional<Parsed<CivilDate>>& date) -> std::optional<Parsed<DatePart>> {
        if (!date)
            return std::nullopt;
        DatePart part;
        part.date = date->value;
        return Parsed<DatePart>{part, date->next};
    };

    consider(plain(absoluteDate(i)));
    consider(plain(calendarOffset(i)));
    consider(relativeDay(i));
    consider(weekdayPhrase(i));
    // "Thursday, March 12, 2026", "Thu 12 Mar": the written date wins over the weekday.
    if (const auto w = weekday(i)) {
        std::size_t j = w->next;
        if (symbol(j, ','))
            ++j;
        j = space(j);
        if (j != w->next)
            consider(plain(absoluteDate(j)));
    }
    if (!best)
        return std::nullopt;

    // "tomorrow morning", "Friday evening", "March 12 night".
    if (!best->value.impliedTime) {
        const std::size_t j = space(best->next);
        if (const WordEntry* p = word(j, WordKind::partOfDay); p && j != best->next) {
            best->value.impliedTime = TimeOfDay{p->value, 0};
            best->value.evening = p->value >= 12;
            best->value.weakWeekday = false;
            best->next = j + 1;
        }
    }
    return best;
}

// ---------------------------------------------------------------------------------------------
// Times

// "15:30", "9:05:30", "3pm", "3 p.m.", "3:30 PM", "9.30am", "noon", "midnight", "12 noon", "9 o'clock",
// each with an optional zone ("15:30 UTC", "3pm EST", "18:05:00 +0000"). Hours beyond 23,
// minutes or seconds beyond 59, and "13pm" are not times. A lone hour comes back marked bare.
std::optional<DateGrammar::Parsed<DateGrammar::Clock>> DateGrammar::clock(std::size_t i, bool iso) const {
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
    if (symbol(next, ':') && number(next + 1, 2, 2)) {
        const int minute = *number(next + 1, 2, 2);
        if (*hour > 23 || minute > 59)
            return std::nullopt;
        c.time.hour = *hour;
        c.time.minute = minute;
        next += 2;
        if (symbol(next, ':') && number(next + 1, 2, 2)) {
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
    } else if (const auto dotted = symbol(next, '.') ? meridiem(next + 2) : std::nullopt;
               dotted && number(next + 1, 2, 2)) {
        // "9.30am": a dot only separates the minutes when a.m. or p.m. follows ("9.30" is a number).
        if (*hour < 1 || *hour > 12 || *number(next + 1, 2, 2) > 59)
            return std::nullopt;
        c.time.hour = hourOf12(*hour, dotted->value);
        c.time.minute = *number(next + 1, 2, 2);
        c.meridiem = true;
        next = dotted->next;
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
        c.time.hasOffset = true;
        c.time.offsetMinutes = z->value;
        next = z->next;
    }
    return Parsed<Clock>{c, next};
}

// A time, or a range of times that gives its start: "3-5pm" (3 p.m.), "11–1pm" (11 a.m.),
// "9:00 to 17:00", "10am until noon". A lone hour only counts as the start of a range whose
// end says a.m. or p.m.
std::optional<DateGrammar::Parsed<DateGrammar::Clock>> DateGrammar::timeOrRange(std::size_t i) const {
    const auto start = clock(i, false);
    if (!start)
        return std::nullopt;
    const std::size_t j = space(start->next);
    const bool joined = dash(j) || keyword(j, Keyword::to) || keyword(j, Keyword::until) ||
                        keyword(j, Keyword::till) || keyword(j, Keyword::through);
    if (joined && !start->value.time.hasOffset) {
        const std::size_t k = space(j + 1);
        const bool wordNeedsBlanks = !dash(j) && (j == start->next || k == j + 1);
        const auto end = wordNeedsBlanks ? std::nullopt : clock(k, false);
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
            if (end->value.time.hasOffset) {
                c.time.hasOffset = true;
                c.time.offsetMinutes = end->value.time.offsetMinutes;
            }
            return Parsed<Clock>{c, end->next};
        }
    }
    if (start->value.bare)
        return std::nullopt;
    return start;
}

// Distances shorter than a day stay exact: "in 2 hours", "in 30 minutes", "in half an hour",
// "an hour from now", "45 minutes ago".
std::optional<DateGrammar::Parsed<double>> DateGrammar::exactOffset(std::size_t i) const {
    const bool in = keyword(i, Keyword::in);
    std::size_t j = i;
    if (in) {
        const auto after = requiredSpace(i + 1);
        if (!after)
            return std::nullopt;
        j = *after;
        // "in half an hour"
        if (keyword(j, Keyword::half)) {
            const auto an = requiredSpace(j + 1);
            const WordEntry* one = an ? word(*an, WordKind::count) : nullptr;
            const auto hour = one && one->value == 1 ? requiredSpace(*an + 1) : std::nullopt;
            const WordEntry* u = hour ? word(*hour, WordKind::unit) : nullptr;
            if (!u || u->value != static_cast<int>(TimeUnit::hour))
                return std::nullopt;
            return Parsed<double>{1800.0, *hour + 1};
        }
    }
    const auto n = count(j);
    if (!n)
        return std::nullopt;
    const auto afterCount = requiredSpace(n->next);
    const WordEntry* u = afterCount ? word(*afterCount, WordKind::unit) : nullptr;
    if (!u || !isTimeUnitOfDay(u->value))
        return std::nullopt;
    const double unitSeconds = u->value == static_cast<int>(TimeUnit::hour) ? 3600.0 : 60.0;
    std::size_t next = *afterCount + 1;
    double sign = 1;
    if (!in) {
        const auto afterUnit = requiredSpace(next);
        if (!afterUnit)
            return std::nullopt;
        if (keyword(*afterUnit, Keyword::ago)) {
            sign = -1;
            next = *afterUnit + 1;
        } else if (keyword(*afterUnit, Keyword::from)) {
            const auto anchor = requiredSpace(*afterUnit + 1);
            if (!anchor || !keyword(*anchor, Keyword::now))
                return std::nullopt;
            next = *anchor + 1;
        } else {
            return std::nullopt;
        }
    }
    return Parsed<double>{sign * n->value * unitSeconds, next};
}

// ---------------------------------------------------------------------------------------------
// Whole phrases

namespace {

// A time without a.m. or p.m. after an evening word ("tonight at 8", "Friday evening 7:30")
// is in the evening.
void applyEvening(TimeOfDay& time, bool evening, bool meridiem) {
    if (evening && !meridiem && time.hour >= 1 && time.hour <= 11)
        time.hour += 12;
}

} // namespace

// A date, then optionally its time: "tomorrow at 3pm", "Friday 10:00", "March 12 at 9:30 AM",
// "12 Mar 2026 18:05", "Friday from 3-5pm". After "at" a lone hour is a guess at the hours
// people mean: 1 to 7 in the afternoon, 8 to 11 in the morning ("tomorrow at 3" is 15:00),
// and in the evening after an evening word ("tonight at 8" is 20:00).
std::optional<DatePhrase> DateGrammar::dateThenTime(std::size_t i) const {
    const auto d = datePart(i);
    if (!d)
        return std::nullopt;
    DatePhrase phrase;
    phrase.begin = i;
    phrase.end = d->next;
    phrase.date = d->value.date;
    phrase.time = d->value.impliedTime;
    bool timed = false;

    std::size_t j = d->next;
    if (symbol(j, ','))
        ++j;
    j = space(j);
    if (j != d->next) {
        bool at = false;
        if (keyword(j, Keyword::at) || symbol(j, '@') || keyword(j, Keyword::from)) {
            const std::size_t k = space(j + 1);
            if (k != j + 1 || symbol(j, '@')) {
                at = !keyword(j, Keyword::from);
                j = k;
            }
        }
        if (const auto t = timeOrRange(j)) {
            TimeOfDay time = t->value.time;
            applyEvening(time, d->value.evening, t->value.meridiem);
            phrase.time = time;
            phrase.end = t->next;
            timed = true;
        } else if (const auto bare = at ? clock(j, false) : std::nullopt; bare && bare->value.bare) {
            TimeOfDay time = bare->value.time;
            if (d->value.evening)
                applyEvening(time, true, false);
            else if (time.hour >= 1 && time.hour <= 7)
                time.hour += 12;
            phrase.time = time;
            phrase.end = bare->next;
            timed = true;
        }
    }
    if (d->value.weakWeekday && !timed && !precededBySupport(i))
        return std::nullopt;
    return phrase;
}

// A time, then optionally its date: "3pm tomorrow", "10:40 on 12 Mar", "9am, Friday". A time
// alone is its next occurrence (resolved by the caller).
std::optional<DatePhrase> DateGrammar::timeThenDate(std::size_t i) const {
    const auto t = timeOrRange(i);
    if (!t)
        return std::nullopt;
    DatePhrase phrase;
    phrase.begin = i;
    phrase.end = t->next;
    phrase.time = t->value.time;

    std::size_t j = t->next;
    if (symbol(j, ','))
        ++j;
    j = space(j);
    if (j == t->next)
        return phrase;
    if (keyword(j, Keyword::on)) {
        const auto after = requiredSpace(j + 1);
        if (!after)
            return phrase;
        j = *after;
    }
    if (const auto d = datePart(j)) {
        TimeOfDay time = t->value.time;
        applyEvening(time, d->value.evening, t->value.meridiem);
        phrase.time = time;
        phrase.date = d->value.date;
        phrase.end = d->next;
    }
    return phrase;
}

// "2026-03-12T09:30:00Z", "2026-03-12T09:30:00.250+01:00", "2026-03-12T09:30" (local time).
std::optional<DatePhrase> DateGrammar::isoDateTime(std::size_t i) const {
    const auto date = numericDate(i);
    if (!date || tokens_[i].digits != 4 || !keyword(date->next, Keyword::isoT))
        return std::nullopt;
    const auto t = clock(date->next + 1, true);
    if (!t || t->value.bare || t->value.meridiem)
        return std::nullopt;
    DatePhrase phrase;
    phrase.begin = i;
    phrase.end = t->next;
    phrase.date = date->value;
    phrase.time = t->value.time;
    return phrase;
}

std::optional<DatePhrase> DateGrammar::phraseAt(std::size_t i) const {
    const DateToken* first = token(i);
    if (!first || (first->kind != TokenKind::number && !(first->kind == TokenKind::word && first->entry)))
        return std::nullopt;

    std::optional<DatePhrase> best;
    auto consider = [&best](std::optional<DatePhrase> candidate) {
        if (candidate && (!best || candidate->end > best->end))
            best = std::move(candidate);
    };
    consider(isoDateTime(i));
    consider(dateThenTime(i));
    consider(timeThenDate(i));
    if (const auto offset = exactOffset(i)) {
        DatePhrase phrase;
        phrase.begin = i;
        phrase.end = offset->next;
        phrase.secondsFromNow = offset->value;
        consider(phrase);
    }
    if (!best || !standsAlone(best->begin, best->end))
        return std::nullopt;
    return best;
}

} // namespace tessellar::dates
