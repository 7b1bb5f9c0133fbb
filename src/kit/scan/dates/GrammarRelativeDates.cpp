#include "kit/scan/dates/DateGrammar.h"
#include "kit/scan/dates/GrammarSymbols.h"

namespace tessellar::dates {

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
    const int todayWeekday = context_.todayWeekday;
    if (const WordEntry* weekend = word(j, WordKind::weekend); weekend && qualifier && *qualifier >= 0) {
        // "this weekend" is the coming Saturday, or today when the weekend has begun; "next
        // weekend" is the Saturday of next week.
        int days = (weekend->value - todayWeekday + 7) % 7;
        if (*qualifier > 0)
            days = 7 - mondayIndex(todayWeekday) + mondayIndex(weekend->value);
        else if (todayWeekday == 1)
            days = 0;
        DatePart part;
        part.date = context_.calendar.addDays(context_.today, days);
        return Parsed<DatePart>{part, j + 1};
    }
    const auto w = weekday(j);
    if (!w)
        return std::nullopt;
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
    part.weak = w->value.abbreviated && !qualifier;
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
    if (keyword(i, Keyword::eod) || endOfDay(i)) {
        // The end of the working day.
        part.date = context_.today;
        part.impliedTime = TimeOfDay{17, 0};
        return Parsed<DatePart>{part, keyword(i, Keyword::eod) ? i + 1 : *endOfDay(i)};
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
    const auto afterArticle = afterThe(i);
    if (!afterArticle)
        return std::nullopt;
    const std::size_t j = *afterArticle;
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
    if (isTimeUnitOfDay(static_cast<int>(unit)))
        return std::nullopt;
    const bool months = unit == TimeUnit::month || unit == TimeUnit::year;
    const int factor = unit == TimeUnit::week        ? 7
                       : unit == TimeUnit::fortnight ? 14
                       : unit == TimeUnit::year      ? 12
                                                     : 1;
    const CivilDate result = months ? context_.calendar.addMonths(date, amount * factor)
                                    : context_.calendar.addDays(date, amount * factor);
    return isValidDate(result) ? std::optional(result) : std::nullopt;
}

// A distance from now: "in 3 days", "in 2 hrs", "in half an hour", "a week from today",
// "an hour from now", "2 weeks ago". A number and a unit alone are a duration ("for 3 days"),
// not a distance.
std::optional<DateGrammar::Parsed<DateGrammar::Distance>> DateGrammar::distance(std::size_t i) const {
    const bool in = keyword(i, Keyword::in);
    std::size_t j = i;
    if (in) {
        const auto after = requiredSpace(i + 1);
        if (!after)
            return std::nullopt;
        j = *after;
        if (keyword(j, Keyword::half)) {
            const auto an = requiredSpace(j + 1);
            const WordEntry* one = an ? word(*an, WordKind::count) : nullptr;
            const auto hour = one && one->value == 1 ? requiredSpace(*an + 1) : std::nullopt;
            const WordEntry* u = hour ? word(*hour, WordKind::unit) : nullptr;
            if (!u || u->value != static_cast<int>(TimeUnit::hour))
                return std::nullopt;
            return Parsed<Distance>{{30, TimeUnit::minute}, *hour + 1};
        }
    }
    const auto n = count(j);
    if (!n)
        return std::nullopt;
    const auto afterCount = requiredSpace(n->next);
    const WordEntry* u = afterCount ? word(*afterCount, WordKind::unit) : nullptr;
    if (!u)
        return std::nullopt;
    Distance d{n->value, static_cast<TimeUnit>(u->value)};
    std::size_t next = *afterCount + 1;
    if (!in) {
        const auto afterUnit = requiredSpace(next);
        if (!afterUnit)
            return std::nullopt;
        if (keyword(*afterUnit, Keyword::ago)) {
            d.amount = -d.amount;
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
    return Parsed<Distance>{d, next};
}

// Whole days and more from today, as a date: "in 3 days", "a fortnight from now", "next week"
// (seven days on), "next month" / "next year" (the same day, clamped to the month's end),
// "end of the month".
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
    const auto d = distance(i);
    if (!d || isTimeUnitOfDay(static_cast<int>(d->value.unit)))
        return std::nullopt;
    const auto date = advanced(context_.today, d->value.unit, d->value.amount);
    return date ? std::optional(Parsed<CivilDate>{*date, d->next}) : std::nullopt;
}

// Distances shorter than a day stay exact, in whole minutes: "in 2 hours", "45 minutes ago".
std::optional<DateGrammar::Parsed<double>> DateGrammar::exactOffset(std::size_t i) const {
    const auto d = distance(i);
    if (!d || !isTimeUnitOfDay(static_cast<int>(d->value.unit)))
        return std::nullopt;
    const double unitSeconds = d->value.unit == TimeUnit::hour ? 3600.0 : 60.0;
    return Parsed<double>{d->value.amount * unitSeconds, d->next};
}

// The token after "end of " or "the end of ".
std::optional<std::size_t> DateGrammar::afterEndOf(std::size_t i) const {
    const auto afterArticle = afterThe(i);
    if (!afterArticle)
        return std::nullopt;
    const std::size_t j = *afterArticle;
    if (!keyword(j, Keyword::end))
        return std::nullopt;
    const auto of = requiredSpace(j + 1);
    if (!of || !keyword(*of, Keyword::of))
        return std::nullopt;
    return requiredSpace(*of + 1);
}

// The token after "end of day" or "end of the day".
std::optional<std::size_t> DateGrammar::endOfDay(std::size_t i) const {
    auto k = afterEndOf(i);
    if (k)
        k = afterThe(*k);
    const WordEntry* u = k ? word(*k, WordKind::unit) : nullptr;
    if (!u || u->value != static_cast<int>(TimeUnit::day))
        return std::nullopt;
    return *k + 1;
}

// "end of the month", "the end of this month", "end of next month", "end of the year",
// "end of March": the last day.
std::optional<DateGrammar::Parsed<CivilDate>> DateGrammar::endOf(std::size_t i) const {
    const auto afterOf = afterEndOf(i);
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
    consider(weekdayThenDate(i));
    consider(numericMonthDay(i));
    consider(monthAlone(i));
    consider(ordinalDay(i, std::nullopt));
    // "first thing tomorrow": the start of the working day.
    if (keyword(i, Keyword::first)) {
        const auto thing = requiredSpace(i + 1);
        const auto after =
            thing && keyword(*thing, Keyword::thing) ? requiredSpace(*thing + 1) : std::nullopt;
        if (auto day = after && !keyword(*after, Keyword::first) ? datePart(*after) : std::nullopt;
            day && !day->value.impliedTime) {
            day->value.impliedTime = TimeOfDay{9, 0};
            day->value.weak = day->value.monthOnly = false;
            consider(day);
        }
    }
    if (!best)
        return std::nullopt;

    // "tomorrow morning", "Friday evening", "March 12 night".
    if (!best->value.impliedTime) {
        const std::size_t j = space(best->next);
        if (const WordEntry* p = word(j, WordKind::partOfDay); p && j != best->next) {
            best->value.impliedTime = TimeOfDay{p->value, 0};
            best->value.evening = p->value >= 12;
            best->value.weak = false;
            best->next = j + 1;
        }
    }
    return best;
}

// "Thursday, March 12, 2026", "Thu 12 Mar", "Tuesday 3/10", "Tue 17th": the written date wins
// over the weekday.
std::optional<DateGrammar::Parsed<DateGrammar::DatePart>> DateGrammar::weekdayThenDate(std::size_t i) const {
    const auto w = weekday(i);
    if (!w)
        return std::nullopt;
    std::size_t j = w->next;
    if (symbol(j, ','))
        ++j;
    j = space(j);
    if (j == w->next)
        return std::nullopt;
    if (const auto date = absoluteDate(j)) {
        DatePart part;
        part.date = date->value;
        return Parsed<DatePart>{part, date->next};
    }
    if (auto date = numericMonthDay(j)) {
        date->value.weak = date->value.scoreLike = false;
        return date;
    }
    return ordinalDay(j, w->value.value);
}

} // namespace tessellar::dates
