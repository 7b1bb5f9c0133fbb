#include "kit/scan/dates/DateGrammar.h"
#include "kit/scan/dates/GrammarSymbols.h"

namespace tessellar::dates {

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

// The token after an optional "the ": `i` when there is none.
std::optional<std::size_t> DateGrammar::afterThe(std::size_t i) const {
    return keyword(i, Keyword::the) ? requiredSpace(i + 1) : std::optional(i);
}

std::optional<std::size_t> DateGrammar::requiredSpace(std::size_t i) const {
    const std::size_t next = space(i);
    return next == i ? std::nullopt : std::optional(next);
}

// A lone abbreviated weekday ("Sat", "sun") or a month and day in numbers ("7/4") is too often
// something else; it counts after "on", "by", "due", "until", "till", "before", "after" or
// "from". A month alone ("October") also after "in".
bool DateGrammar::precededBySupport(std::size_t i, bool month) const {
    if (i == 0)
        return false;
    std::size_t j = i - 1;
    if (tokens_[j].kind == TokenKind::space) {
        if (j == 0)
            return false;
        --j;
    }
    for (const Keyword k : {Keyword::on, Keyword::by, Keyword::due, Keyword::until, Keyword::till,
                            Keyword::before, Keyword::after, Keyword::from})
        if (keyword(j, k))
            return true;
    return month && keyword(j, Keyword::in);
}

bool DateGrammar::precededByAt(std::size_t i) const {
    if (i == 0)
        return false;
    std::size_t j = i - 1;
    if (tokens_[j].kind == TokenKind::space && j > 0)
        --j;
    return keyword(j, Keyword::at) || symbol(j, '@');
}

// Whether numbers joined by "/" ("4/31", "13/45") stand right before or after [begin, end),
// with at most a blank and "at", "@" or "on" between.
bool DateGrammar::nextToUnreadDate(std::size_t begin, std::size_t end) const {
    auto link = [this](std::size_t j) {
        return tokens_[j].kind == TokenKind::space || keyword(j, Keyword::at) || keyword(j, Keyword::on) ||
               symbol(j, '@') || symbol(j, ',');
    };
    std::size_t j = begin;
    for (int steps = 0; steps < 4 && j > 0 && link(j - 1); ++steps)
        --j;
    if (j >= 3 && number(j - 1, 1, 4) && symbol(j - 2, '/') && number(j - 3, 1, 4))
        return true;
    std::size_t k = end;
    for (int steps = 0; steps < 4 && k < tokens_.size() && link(k); ++steps)
        ++k;
    return number(k, 1, 4) && symbol(k + 1, '/') && number(k + 2, 1, 4);
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

// A zone after a time: "UTC", " EST", " PT", "GMT+1", " +0000"; right against the time only in
// ISO forms ("T09:30:00Z", "09:30:00-05:00"), so "10:00-11:00" stays a range.
std::optional<DateGrammar::Parsed<DateGrammar::Zone>> DateGrammar::zone(std::size_t i,
                                                                        bool allowAdjacentOffset) const {
    const std::size_t j = space(i);
    const bool spaced = j != i;
    if (const WordEntry* e = word(j, WordKind::regionZone))
        return Parsed<Zone>{{0, e->value}, j + 1};
    if (const WordEntry* e = word(j, WordKind::zone)) {
        if (e->value == 0)
            if (const auto offset = signedOffset(j + 1, true))
                return Parsed<Zone>{{offset->value}, offset->next};
        return Parsed<Zone>{{e->value}, j + 1};
    }
    if (spaced || allowAdjacentOffset)
        if (const auto offset = signedOffset(j, false))
            return Parsed<Zone>{{offset->value}, offset->next};
    if (!spaced && allowAdjacentOffset && keyword(j, Keyword::isoZ))
        return Parsed<Zone>{{0}, j + 1};
    return std::nullopt;
}

} // namespace tessellar::dates
