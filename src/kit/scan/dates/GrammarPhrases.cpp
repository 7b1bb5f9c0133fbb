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
// "12 Mar 2026 18:05", "tomorrow 18.20", "Friday from 3-5pm". After "at" a lone hour is the
// daytime hour people mean: 1 to 6 in the afternoon, 7 to 11 in the morning ("on the 21st at 5"
// is 17:00), and in the evening after an evening word ("tonight at 8" is 20:00). A span of days
// ("Monday to Friday") gives its first.
std::optional<DatePhrase> DateGrammar::dateThenTime(std::size_t i) const {
    const auto d = datePart(i);
    if (!d)
        return std::nullopt;
    DatePhrase phrase{i, d->next, d->value.date, d->value.impliedTime, std::nullopt};
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
        if (const auto t = timeOrRange(j, true)) {
            TimeOfDay time = t->value.time;
            applyEvening(time, d->value.evening, t->value.meridiem);
            phrase.time = time;
            phrase.end = t->next;
            timed = true;
        } else if (const auto bare = at ? clock(j, false) : std::nullopt; bare && bare->value.bare) {
            TimeOfDay time = bare->value.time;
            if (d->value.evening)
                applyEvening(time, true, false);
            else if (time.hour >= 1 && time.hour <= 6)
                time.hour += 12;
            phrase.time = time;
            phrase.end = bare->next;
            timed = true;
        }
    }
    if (((d->value.weak && !timed) || d->value.scoreLike) && !precededBySupport(i, false))
        return std::nullopt;
    if ((d->value.monthOnly && !precededBySupport(i, true)))
        return std::nullopt;
    phrase.end = dateRangeEnd(phrase.end);
    return phrase;
}

// The end of "– Friday", " to March 14", " through Sunday" after a date, or `i` when none follows.
std::size_t DateGrammar::dateRangeEnd(std::size_t i) const {
    const std::size_t j = space(i);
    const bool word = keyword(j, Keyword::to) || keyword(j, Keyword::through) || keyword(j, Keyword::until) ||
                      keyword(j, Keyword::till);
    if (!dash(j) && !(word && j != i))
        return i;
    const std::size_t k = space(j + 1);
    if (word && k == j + 1)
        return i;
    const auto second = datePart(k);
    if (!second || second->value.monthOnly)
        return i;
    return second->next;
}

// A time, then optionally its date: "3pm tomorrow", "10:40 on 12 Mar", "9am, Friday". A time
// alone is resolved by the caller. A month and day in numbers after a time needs "on" or a
// comma ("2pm on 12/10"): "3pm 4/5 stars" is no date.
std::optional<DatePhrase> DateGrammar::timeThenDate(std::size_t i) const {
    const auto t = timeOrRange(i, precededByAt(i));
    if (!t)
        return std::nullopt;
    DatePhrase phrase{i, t->next, std::nullopt, t->value.time, std::nullopt};
    std::size_t j = t->next;
    const bool comma = symbol(j, ',');
    if (comma)
        ++j;
    j = space(j);
    if (j == t->next)
        return phrase;
    const bool on = keyword(j, Keyword::on);
    if (on) {
        const auto after = requiredSpace(j + 1);
        if (!after)
            return phrase;
        j = *after;
    }
    if (const auto d = datePart(j); d && !d->value.monthOnly && (!d->value.weak || on || comma)) {
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
    // "Vet 4/31 @ 11am": a time next to a date that cannot be read is not that time today.
    if (!best->date && !best->secondsFromNow && nextToUnreadDate(best->begin, best->end))
        return std::nullopt;
    return best;
}

} // namespace tessellar::dates
