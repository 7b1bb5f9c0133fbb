#include "kit/scan/address/AddressLineParser.h"

#include "kit/scan/address/PhraseTable.h"
#include "kit/scan/address/StreetSuffixes.h"
#include "kit/scan/address/UnitDesignators.h"
#include "kit/scan/address/UsStates.h"

#include <string>
#include <string_view>

namespace tessellar::address {
namespace {

constexpr std::size_t maxStreetNameWords = 6;
constexpr std::size_t maxSuffixlessNameWords = 4;
constexpr std::size_t maxCityWords = 4;
constexpr std::size_t maxLabelWords = 5;
constexpr std::size_t maxUnits = 2;

// Lower-case words that may stand inside a street or city name ("Avenue of the Americas",
// "Coeur d'Alene", "Cañon de Chelly").
bool isConnector(std::string_view key) {
    static const PhraseTable connectors{"of", "the", "de", "del", "la",  "las", "los", "le",
                                        "du", "des", "el", "von", "van", "y",   "on",  "upon"};
    return !key.empty() && connectors.contains(key);
}

// Capitalised words that start sentences or replies rather than city names, so that "Visit
// Austin, TX 78701" reports Austin and "Done, OK" is no address. Only used where no street
// comes before the city, or on a line without capitals.
bool isProseWord(std::string_view key) {
    static const PhraseTable words{
        "in",      "at",       "to",        "from",     "near",    "visit",  "visiting", "meet",
        "meeting", "our",      "your",      "their",    "we",      "i",      "my",       "he",
        "she",     "they",     "it",        "welcome",  "located", "based",  "live",     "lives",
        "living",  "and",      "or",        "of",       "for",     "with",   "by",       "on",
        "via",     "contact",  "call",      "see",      "go",      "come",   "moved",    "move",
        "address", "ship",     "send",      "deliver",  "mail",    "office", "offices",  "headquarters",
        "hq",      "is",       "was",       "are",      "please",  "hello",  "hi",       "dear",
        "thanks",  "thank",    "done",      "ok",       "okay",    "yes",    "no",       "sure",
        "fine",    "great",    "good",      "got",      "noted",   "agreed", "perfect",  "right",
        "sorry",   "ready",    "finished",  "fixed",    "merged",  "tested", "passed",   "failed",
        "sent",    "received", "confirmed", "approved", "cheers",  "bye",    "oh",       "well",
        "nice",    "awesome"};
    return words.contains(key);
}

bool isBullet(char16_t c) {
    return c == u'-' || c == u'*' || c == u'>' || c == u'\u2022' || c == u'\u00B7' || c == u'\u2023' ||
           c == u'\u25E6' || c == u'\u2013' || c == u'\u2014' || c == u'|';
}

bool isOrdinal(const AddressToken& t) {
    if (!t.isNumber() || t.key.size() < 3)
        return false;
    const std::string_view key = t.key;
    const std::string_view tail = key.substr(key.size() - 2);
    if (tail != "st" && tail != "nd" && tail != "rd" && tail != "th")
        return false;
    for (const char c : key.substr(0, key.size() - 2))
        if (c < '0' || c > '9')
            return false;
    return true;
}

bool allDigits(std::string_view s) {
    if (s.empty())
        return false;
    for (const char c : s)
        if (c < '0' || c > '9')
            return false;
    return true;
}

// 123, 123A, 12-34 (Queens style); no leading zero.
bool isHouseNumber(const AddressToken& t) {
    if (!t.isNumber() || t.innerDot || t.key.empty() || t.key.front() == '0')
        return false;
    std::string_view key = t.key;
    if (!key.empty() && key.back() >= 'a' && key.back() <= 'z')
        key.remove_suffix(1);
    const auto dash = key.find('-');
    if (dash == std::string_view::npos)
        return allDigits(key) && key.size() <= 6;
    return allDigits(key.substr(0, dash)) && allDigits(key.substr(dash + 1)) && dash <= 5 &&
           key.size() - dash - 1 <= 4;
}

// Wisconsin grid numbers: a compass letter and digits twice, north or south then east or west
// or the other way round ("N6W23001", "W204N11509").
bool isGridNumber(const AddressToken& t) {
    const std::string_view key = t.key;
    if (!t.isWord() || !t.allCaps || key.size() < 4 || key.size() > 14)
        return false;
    const auto second = key.find_first_of("nsew", 1);
    if (second == std::string_view::npos || !allDigits(key.substr(1, second - 1)) ||
        !allDigits(key.substr(second + 1)) || second - 1 > 5 || key.size() - second - 1 > 6)
        return false;
    const bool firstNorthSouth = key[0] == 'n' || key[0] == 's';
    const bool secondNorthSouth = key[second] == 'n' || key[second] == 's';
    return (key[0] == 'n' || key[0] == 's' || key[0] == 'e' || key[0] == 'w') &&
           firstNorthSouth != secondNorthSouth;
}

bool isFraction(const AddressToken& t) {
    const auto slash = t.key.find('/');
    return t.isNumber() && slash != std::string::npos && slash <= 2 && allDigits(t.key.substr(0, slash)) &&
           allDigits(t.key.substr(slash + 1)) && t.key.size() <= 5;
}

// 62701 or 62701-1234.
bool isZip(const AddressToken& t) {
    const std::string_view key = t.key;
    if (!t.isNumber() || t.innerDot)
        return false;
    if (key.size() == 5)
        return allDigits(key);
    return key.size() == 10 && key[5] == '-' && allDigits(key.substr(0, 5)) && allDigits(key.substr(6));
}

struct Extent {
    std::size_t end = 0;   // token index after it
    int32_t endOffset = 0; // UTF-16 offset after it
};

struct Street {
    Extent extent;
    bool suffixless = false;
    bool common = false;
};

struct Place {
    std::optional<AddressPart> city, state, zip, country;
    bool commaBeforeState = false;
    Extent extent;
};

class Parser {
public:
    Parser(const std::vector<AddressToken>& tokens, bool caseless)
        : t_(tokens), n_(tokens.size()), caseless_(caseless) {
        findAnchor();
        lastContent_ = n_;
        while (lastContent_ > 0) {
            const AddressToken& last = t_[lastContent_ - 1];
            if (!(last.isMark(u',') || last.isMark(u';') || last.isMark(u'.')))
                break;
            --lastContent_;
        }
    }

    AddressLine run() {
        AddressLine line;
        if (n_ == 0)
            return line;
        if (const auto unit = units(anchor_, false); unit && unit->end >= lastContent_)
            line.wholeUnit = AddressPart{t_[anchor_].start, unit->endOffset};
        if (const auto c = country(anchor_); c && c->end >= lastContent_)
            line.wholeCountry = AddressPart{t_[anchor_].start, c->endOffset};

        std::size_t i = 0;
        while (i < n_) {
            if (const auto found = streetAddress(i, line)) {
                i = *found;
                continue;
            }
            if (const auto found = placeAddress(i, line)) {
                i = *found;
                continue;
            }
            ++i;
        }
        return line;
    }

private:
    const std::vector<AddressToken>& t_;
    std::size_t n_;
    std::size_t anchor_ = 0;
    std::size_t lastContent_ = 0;
    // The line has no capitals ("48 oak avenue portland or 97205"): every word reads as
    // capitalised, so only an address that ends with a state and ZIP counts.
    bool caseless_ = false;

    bool mark(std::size_t i, char16_t c) const { return i < n_ && t_[i].isMark(c); }
    bool word(std::size_t i) const { return i < n_ && t_[i].isWord(); }
    std::string_view key(std::size_t i) const {
        return i < n_ ? std::string_view(t_[i].key) : std::string_view{};
    }

    // Where an address may start "on its own": after bullets, and after a short label ending
    // with a colon ("Ship to:", "Billing address:").
    void findAnchor() {
        std::size_t a = 0;
        while (a < n_ && t_[a].kind == AddressToken::Kind::punct && isBullet(t_[a].mark))
            ++a;
        std::size_t k = a;
        while (k < n_ && k - a < maxLabelWords && t_[k].isWord())
            ++k;
        anchor_ = k > a && mark(k, u':') ? k + 1 : a;
    }

    // The house number and what follows it, or a PO Box.
    std::optional<Street> street(std::size_t i) const {
        if (const auto box = poBox(i))
            return Street{*box, false, true};
        if (const auto box = routeBox(i))
            return Street{*box, false, true};
        if (i >= n_ || !(isHouseNumber(t_[i]) || isGridNumber(t_[i])))
            return std::nullopt;
        if (i > 0) {
            const AddressToken& before = t_[i - 1];
            const bool opening =
                before.isMark(u'(') || before.isMark(u'"') || before.isMark(u'\u201C') || before.isMark(u'[');
            if (before.isNumber() || (!t_[i].spaceBefore && !opening))
                return std::nullopt;
        }
        std::size_t h = i + 1;
        if (h < n_ && isFraction(t_[h]))
            ++h;

        // "12345 Highway 101", "4 County Road 12 N"
        const std::size_t route =
            StreetSuffixes::routePrefixes().longestMatch([&](std::size_t k) { return nameKey(h + k); });
        if (route > 0) {
            const std::size_t number = h + route;
            if (number < n_ && (t_[number].hasDigit || (t_[number].allCaps && t_[number].key.size() == 1))) {
                // "1234 FM 1960 Rd W": a street type may follow the route number.
                Extent e{number + 1, t_[number].end};
                if (word(e.end) && t_[e.end].upperInitial) {
                    const auto type = StreetSuffixes::find(t_[e.end].key);
                    if (!type.name.empty())
                        e = Extent{e.end + 1, type.abbreviated ? t_[e.end].endWithDot() : t_[e.end].end};
                }
                return Street{directional(e), false, true};
            }
        }

        // Utah's grid: "842 E 1700 S", "50 West 100 North".
        if (isCompassWord(h) && h + 2 < n_ && t_[h + 1].isNumber() && allDigits(t_[h + 1].key) &&
            t_[h + 1].key.size() <= 5 && isCompassWord(h + 2))
            return Street{Extent{h + 3, t_[h + 2].endWithDot()}, false, false};

        for (std::size_t w = h; w < n_ && w - h < maxStreetNameWords && isNameWord(w, w == h); ++w) {
            const auto suffix = word(w) ? StreetSuffixes::find(t_[w].key) : StreetSuffixes::Suffix{};
            if (suffix.name.empty() || w == h || !t_[w].upperInitial)
                continue;
            // "Lake Shore Dr": a street type right after another one is the real one.
            if (nextIsStreetType(w + 1))
                continue;
            const int32_t end = suffix.abbreviated ? t_[w].endWithDot() : t_[w].end;
            return Street{directional(Extent{w + 1, end}), false, suffix.common};
        }

        // "1 Broadway, New York, NY 10004": the name runs to a comma or the end of the line, and
        // the street starts its line or follows a comma ("Version 3 Release Notes, …" is no street).
        if (i != anchor_ && !mark(i - 1, u','))
            return std::nullopt;
        std::size_t w = h;
        while (w < n_ && w - h < maxSuffixlessNameWords && isNameWord(w, w == h) &&
               UnitDesignators::find(t_[w].key) == UnitDesignators::Kind::none)
            ++w;
        if (w == h || !t_[w - 1].upperInitial || !(mark(w, u',') || w >= lastContent_))
            return std::nullopt;
        return Street{Extent{w, t_[w - 1].end}, true, false};
    }

    bool isCompassWord(std::size_t i) const {
        return word(i) && t_[i].upperInitial && StreetSuffixes::isDirectional(t_[i].key);
    }

    // "to" stands lower case inside "Farm to Market Road".
    std::string_view nameKey(std::size_t i) const {
        return word(i) && (t_[i].upperInitial || t_[i].allCaps || key(i) == "to") ? key(i)
                                                                                  : std::string_view{};
    }

    bool isNameWord(std::size_t i, bool first) const {
        if (i >= n_)
            return false;
        const AddressToken& t = t_[i];
        if (t.isWord())
            return (t.upperInitial && !(caseless_ && isProseWord(t.key))) || (!first && isConnector(t.key));
        return isOrdinal(t);
    }

    bool nextIsStreetType(std::size_t i) const {
        if (!word(i) || !t_[i].upperInitial)
            return false;
        const auto next = StreetSuffixes::find(t_[i].key);
        if (next.name.empty())
            return false;
        return next.abbreviated || next.common || mark(i + 1, u',') || i + 1 >= lastContent_;
    }

    Extent directional(Extent e) const {
        if (word(e.end) && (t_[e.end].upperInitial) && StreetSuffixes::isDirectional(t_[e.end].key))
            return Extent{e.end + 1, t_[e.end].endWithDot()};
        return e;
    }

    // PO Box 123, P.O. Box 123, P O Box 123, Post Office Box 123.
    std::optional<Extent> poBox(std::size_t i) const {
        std::size_t k = i;
        if (key(k) == "po") {
            k += 1;
        } else if (key(k) == "p" && key(k + 1) == "o") {
            k += 2;
        } else if (key(k) == "post" && key(k + 1) == "office") {
            k += 2;
        } else {
            return std::nullopt;
        }
        if (key(k) != "box")
            return std::nullopt;
        if (mark(k + 1, u'#'))
            ++k;
        if (k + 1 >= n_)
            return std::nullopt;
        const AddressToken& number = t_[k + 1];
        if (number.kind == AddressToken::Kind::punct || !number.hasDigit)
            return std::nullopt;
        return Extent{k + 2, number.end};
    }

    // A box on a rural or highway contract route ("RR 2 Box 152", "HC 68 Box 23A") or at a
    // military post ("PSC 1234, Box 5678", "Unit 2050 Box 4190", "CMR 450 Box 12").
    std::optional<Extent> routeBox(std::size_t i) const {
        std::size_t k = i;
        if (key(k) == "rr" || key(k) == "hc" || key(k) == "hcr" || key(k) == "psc" || key(k) == "cmr" ||
            key(k) == "unit") {
            k += 1;
        } else if ((key(k) == "rural" || key(k) == "star") && key(k + 1) == "route") {
            k += 2;
        } else if (key(k) == "highway" && key(k + 1) == "contract" && key(k + 2) == "route") {
            k += 3;
        } else {
            return std::nullopt;
        }
        if (k >= n_ || !t_[k].isNumber() || !allDigits(t_[k].key) || t_[k].key.size() > 5)
            return std::nullopt;
        ++k;
        if (mark(k, u','))
            ++k;
        if (key(k) != "box")
            return std::nullopt;
        if (mark(k + 1, u'#'))
            ++k;
        if (k + 1 >= n_ || t_[k + 1].kind == AddressToken::Kind::punct || !t_[k + 1].hasDigit)
            return std::nullopt;
        return Extent{k + 2, t_[k + 1].end};
    }

    // One unit: "Apt 4B", "Suite #200", "#12", "3rd Floor", "Rear".
    std::optional<Extent> unit(std::size_t i) const {
        if (i >= n_)
            return std::nullopt;
        if (mark(i, u'#'))
            return unitId(i + 1);
        if (isOrdinal(t_[i]) && word(i + 1) && UnitDesignators::isFloor(t_[i + 1].key))
            return Extent{i + 2, t_[i + 1].endWithDot()};
        if (!word(i))
            return std::nullopt;
        switch (UnitDesignators::find(t_[i].key)) {
        case UnitDesignators::Kind::numbered:
            return unitId(mark(i + 1, u'#') ? i + 2 : i + 1);
        case UnitDesignators::Kind::standalone:
            return Extent{i + 1, t_[i].end};
        case UnitDesignators::Kind::none:
            break;
        }
        return std::nullopt;
    }

    std::optional<Extent> unitId(std::size_t i) const {
        if (i >= n_)
            return std::nullopt;
        const AddressToken& id = t_[i];
        const bool letters = id.isWord() && id.allCaps && id.key.size() <= 2;
        if (id.kind == AddressToken::Kind::punct || !(id.hasDigit || letters))
            return std::nullopt;
        return Extent{i + 1, id.end};
    }

    // Up to two units, each optionally after a comma. With `afterComma` false the first one
    // must start at i.
    std::optional<Extent> units(std::size_t i, bool afterComma) const {
        std::optional<Extent> last;
        for (std::size_t count = 0; count < maxUnits; ++count) {
            std::size_t k = i;
            if ((afterComma || count > 0) && mark(k, u','))
                ++k;
            const auto one = unit(k);
            if (!one)
                break;
            last = one;
            i = one->end;
        }
        return last;
    }

    bool isCityWord(std::size_t i, bool first, bool streetless) const {
        if (!word(i) || t_[i].hasDigit)
            return false;
        const AddressToken& t = t_[i];
        if (first)
            return t.upperInitial && !((streetless || caseless_) && isProseWord(t.key));
        return t.upperInitial || isConnector(t.key);
    }

    std::optional<Extent> state(std::size_t i) const {
        if (i >= n_ || !t_[i].isWord())
            return std::nullopt;
        const AddressToken& t = t_[i];
        if (t.allCaps && t.key.size() == 2) {
            const std::string code{static_cast<char>(t.key[0] - 'a' + 'A'),
                                   static_cast<char>(t.key[1] - 'a' + 'A')};
            if (usStateByCode(code))
                return Extent{i + 1, t.innerDot ? t.endWithDot() : t.end};
        }
        const std::size_t words = usStateNames().longestMatch([&](std::size_t k) {
            return word(i + k) && (t_[i + k].upperInitial || key(i + k) == "of") ? key(i + k)
                                                                                 : std::string_view{};
        });
        if (words == 0)
            return std::nullopt;
        return Extent{i + words, t_[i + words - 1].end};
    }

    std::optional<Extent> country(std::size_t i) const {
        const std::size_t words = usCountryNames().longestMatch([&](std::size_t k) {
            return word(i + k) && (t_[i + k].upperInitial || key(i + k) == "of") ? key(i + k)
                                                                                 : std::string_view{};
        });
        if (words == 0)
            return std::nullopt;
        // "US" and "USA" only in capitals; "Us" is a word.
        if (words == 1 && !t_[i].allCaps)
            return std::nullopt;
        const AddressToken& last = t_[i + words - 1];
        return Extent{i + words, last.innerDot ? last.endWithDot() : last.end};
    }

    // ZIP and country after a state or city, each optionally after a comma.
    void tail(Place& place) const {
        std::size_t k = place.extent.end;
        const std::size_t zipAt = mark(k, u',') ? k + 1 : k;
        if (zipAt < n_ && isZip(t_[zipAt])) {
            place.zip = AddressPart{t_[zipAt].start, t_[zipAt].end};
            place.extent = Extent{zipAt + 1, t_[zipAt].end};
            k = place.extent.end;
        }
        const std::size_t countryAt = mark(k, u',') ? k + 1 : k;
        if (const auto c = country(countryAt)) {
            place.country = AddressPart{t_[countryAt].start, c->endOffset};
            place.extent = *c;
        }
    }

    // "City, ST 12345, USA" starting at i. After a street, `statelessOk` also takes a city
    // with no state ("…, Springfield" or "…, Springfield 62701").
    std::optional<Place> place(std::size_t i, bool streetless, bool statelessOk) const {
        for (std::size_t k = 1; k <= maxCityWords; ++k) {
            const std::size_t last = i + k - 1;
            if (!isCityWord(last, k == 1, streetless))
                break;
            if (!t_[last].upperInitial)
                continue;
            std::size_t j = i + k;
            const bool comma = mark(j, u',');
            if (comma)
                ++j;
            if (const auto s = state(j)) {
                Place p;
                p.city = AddressPart{t_[i].start, t_[last].end};
                p.state = AddressPart{t_[j].start, s->endOffset};
                p.commaBeforeState = comma;
                p.extent = *s;
                tail(p);
                return p;
            }
        }
        if (!statelessOk)
            return std::nullopt;
        for (std::size_t k = 1; k <= maxCityWords; ++k) {
            const std::size_t last = i + k - 1;
            if (!isCityWord(last, k == 1, streetless))
                break;
            if (!t_[last].upperInitial)
                continue;
            const std::size_t j = i + k;
            const bool ends = j >= lastContent_;
            const bool zipNext = j < n_ && isZip(t_[j]);
            const bool countryNext = country(mark(j, u',') ? j + 1 : j).has_value();
            if (!ends && !zipNext && !countryNext)
                continue;
            Place p;
            p.city = AddressPart{t_[i].start, t_[last].end};
            p.extent = Extent{j, t_[last].end};
            tail(p);
            return p;
        }
        return std::nullopt;
    }

    static AddressFragment withPlace(AddressFragment f, const Place& p) {
        f.city = p.city;
        f.state = p.state;
        f.zip = p.zip;
        f.country = p.country;
        f.end = p.extent.endOffset;
        return f;
    }

    // An address that starts with a street at i; returns the index after it.
    std::optional<std::size_t> streetAddress(std::size_t i, AddressLine& line) const {
        const auto s = street(i);
        if (!s)
            return std::nullopt;
        AddressFragment f;
        f.anchored = i == anchor_;
        f.caseless = caseless_;
        f.suffixless = s->suffixless;
        f.common = s->common;
        Extent end = s->extent;
        if (const auto u = units(end.end, true)) {
            end = *u;
            f.hasUnit = true;
        }
        f.street = AddressPart{t_[i].start, end.endOffset};
        f.start = t_[i].start;
        f.end = end.endOffset;

        const bool comma = mark(end.end, u',');
        const auto p = place(comma ? end.end + 1 : end.end, false, comma && !f.suffixless && !caseless_);
        if (p && ((!f.suffixless && !caseless_) || (p->state && p->zip))) {
            line.complete.push_back(withPlace(f, *p));
            line.lastEndsLine = p->extent.end >= lastContent_;
            return p->extent.end;
        }
        if (end.end >= lastContent_) {
            line.openStreet = f;
            return n_;
        }
        return std::nullopt;
    }

    // An address without a street: "Springfield, IL 62701" in a sentence (ZIP and comma or a
    // line of its own), or "Springfield, IL" alone on its line.
    std::optional<std::size_t> placeAddress(std::size_t i, AddressLine& line) const {
        const bool anchored = i == anchor_;
        const auto p = place(i, true, false);
        if (!p)
            return std::nullopt;
        const bool ends = p->extent.end >= lastContent_;
        AddressFragment f = withPlace(AddressFragment{}, *p);
        f.start = p->city->start;
        f.anchored = anchored;
        if (anchored && ends && (!caseless_ || p->zip))
            line.wholePlace = f;
        const bool accepted =
            p->zip ? anchored || p->commaBeforeState : anchored && ends && p->commaBeforeState && !caseless_;
        if (!accepted)
            return std::nullopt;
        line.complete.push_back(f);
        line.lastEndsLine = ends;
        return p->extent.end;
    }
};

} // namespace

AddressLine AddressLineParser::parse(const std::vector<AddressToken>& tokens, bool caseless) {
    return Parser(tokens, caseless).run();
}

} // namespace tessellar::address
