#include "kit/scan/dates/DateGrammar.h"
#include "kit/scan/dates/GrammarSymbols.h"

namespace tessellar::dates {

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
