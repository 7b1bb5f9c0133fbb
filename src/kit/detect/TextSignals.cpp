#include "kit/detect/TextSignals.h"

#include "kit/base/Clock.h"
#include "kit/scan/DataDetector.h"
#include "kit/text/Splitting.h"
#include "kit/text/StringHelpers.h"
#include "kit/text/Unicode.h"

#include <algorithm>
#include <array>
#include <limits>
#include <optional>
#include <unicode/locid.h>
#include <unicode/uchar.h>
#include <utility>

namespace tessellar {
namespace {

constexpr std::array<std::string_view, 9> primaryAmountLabels{"amount due",     "total due",   "balance due",
                                                              "amount payable", "grand total", "order total",
                                                              "total amount",   "total",       "amount"};

constexpr std::array<std::string_view, 7> organizationLabelPrefixes{
    "from:", "vendor:", "billed by:", "company:", "sold by:", "merchant:", "issued by:"};

constexpr std::array<std::string_view, 9> rejectedLineStarts{
    "invoice", "receipt", "statement", "bill to", "ship to", "page", "date", "total", "tax"};

constexpr std::size_t primaryAmountWindow = 60;
constexpr std::size_t maximumCharacterBytes = 64;

// A text with more amounts than this is no bill; the list stops growing there.
constexpr std::size_t maximumAmounts = 10'000;

// Money amounts are read by hand in one pass rather than with a regular expression: a
// backtracking matcher retries a long run of comma-separated numbers from every digit.
//
// An amount is a currency sign ($ € £ ¥), one optional whitespace character and a number, or
// a number, one optional whitespace character and one of the codes USD, EUR, GBP. A number is
// one to three digits with comma thousands groups, or a plain run of digits, with an optional
// point and two decimals.
//
// Three readings depart from a literal leftmost-alternative match, which gives visibly wrong
// values: a plain run of four or more digits is read whole ("$1234.50" is 1234.50, not 123);
// a number before a code must not continue a longer number ("1234.50 USD" is 1234.50, and
// "99,90 EUR" is no amount rather than 90 EUR); and a number that goes on with more digits
// ("$1,2345", "$1.5", "$12.345,67") or a code that goes on with letters ("5 USDT") is too
// unsure to report.
class MoneyScanner {
public:
    struct Found {
        std::size_t start = 0; // byte offsets of the whole amount
        std::size_t end = 0;
        std::size_t numberStart = 0;
        std::size_t numberEnd = 0;
        std::string_view symbol;
    };

    MoneyScanner(std::string_view text, std::size_t from) : s_(text), i_(from) {}

    // The next amount, or nothing at the end of the text.
    std::optional<Found> next() {
        while (i_ < s_.size()) {
            if (const std::size_t sign = signLength(i_); sign > 0) {
                if (auto found = afterSign(sign))
                    return found;
                continue;
            }
            if (isDigit(i_) && startsNumber(i_)) {
                if (auto found = beforeCode())
                    return found;
                continue;
            }
            ++i_;
        }
        return std::nullopt;
    }

private:
    std::string_view s_;
    std::size_t i_;

    bool isDigit(std::size_t k) const { return k < s_.size() && s_[k] >= '0' && s_[k] <= '9'; }
    bool isASCIILetter(std::size_t k) const {
        return k < s_.size() && ((s_[k] >= 'a' && s_[k] <= 'z') || (s_[k] >= 'A' && s_[k] <= 'Z'));
    }
    bool digitsAt(std::size_t k, std::size_t count) const {
        for (std::size_t d = 0; d < count; ++d)
            if (!isDigit(k + d))
                return false;
        return true;
    }

    std::size_t signLength(std::size_t k) const {
        const char lead = s_[k];
        if (lead != '$' && lead != '\xE2' && lead != '\xC2')
            return 0;
        for (const std::string_view sign : {"$", "\u20AC", "\u00A3", "\u00A5"})
            if (s_.substr(k, sign.size()) == sign)
                return sign.size();
        return 0;
    }

    // The byte length of one whitespace character at k (tab, line breaks, space separators).
    std::size_t whitespaceLength(std::size_t k) const {
        if (k >= s_.size())
            return 0;
        const auto byte = static_cast<unsigned char>(s_[k]);
        if (byte < 0x80)
            return byte == '\t' || byte == '\n' || byte == '\f' || byte == '\r' || byte == ' ' ? 1 : 0;
        const std::size_t width = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : 2;
        const std::u32string decoded = unicode::scalars(s_.substr(k, width));
        if (decoded.size() != 1)
            return 0;
        const int8_t type = u_charType(static_cast<UChar32>(decoded.front()));
        return type == U_SPACE_SEPARATOR || type == U_LINE_SEPARATOR || type == U_PARAGRAPH_SEPARATOR ? width
                                                                                                      : 0;
    }

    // A number may start at k unless it would continue a longer one ("1234", "1,234", "1.50").
    bool startsNumber(std::size_t k) const {
        if (k == 0)
            return true;
        if (isDigit(k - 1))
            return false;
        return !((s_[k - 1] == ',' || s_[k - 1] == '.') && k >= 2 && isDigit(k - 2));
    }

    // The end of the number at k (a digit), and whether it ends cleanly.
    std::pair<std::size_t, bool> number(std::size_t k) const {
        std::size_t end = k;
        while (isDigit(end))
            ++end;
        if (end - k <= 3)
            while (end < s_.size() && s_[end] == ',' && digitsAt(end + 1, 3))
                end += 4;
        if (end < s_.size() && s_[end] == '.' && digitsAt(end + 1, 2))
            end += 3;
        const bool goesOn =
            isDigit(end) || (end < s_.size() && (s_[end] == ',' || s_[end] == '.') && isDigit(end + 1));
        return {end, !goesOn};
    }

    std::optional<Found> afterSign(std::size_t sign) {
        const std::size_t start = i_;
        std::size_t at = start + sign;
        at += isDigit(at) ? 0 : whitespaceLength(at);
        if (!isDigit(at)) {
            i_ = start + sign;
            return std::nullopt;
        }
        const auto [end, clean] = number(at);
        i_ = end;
        if (!clean)
            return std::nullopt;
        return Found{start, end, at, end, s_.substr(start, sign)};
    }

    std::optional<Found> beforeCode() {
        const std::size_t start = i_;
        const auto [end, clean] = number(start);
        i_ = end;
        if (!clean)
            return std::nullopt;
        const std::size_t code = end + whitespaceLength(end);
        for (const std::string_view name : {"USD", "EUR", "GBP"}) {
            if (s_.substr(code, 3) != name || isASCIILetter(code + 3))
                continue;
            i_ = code + 3;
            return Found{start, code + 3, start, end, s_.substr(code, 3)};
        }
        return std::nullopt;
    }
};

std::optional<TextSignals::MoneyAmount> amount(std::string_view text, const MoneyScanner::Found& found) {
    std::string number(text.substr(found.numberStart, found.numberEnd - found.numberStart));
    std::erase(number, ',');
    const std::optional<Decimal> value = Decimal::parse(number);
    if (!value)
        return std::nullopt;
    return TextSignals::MoneyAmount{std::string(text.substr(found.start, found.end - found.start)), *value,
                                    std::string(found.symbol)};
}

using unicode::scalars;

// The first scalar of each user-perceived character, of at most `limit` characters: callers
// that only judge short lines need not pay for a long one.
std::vector<char32_t> characterHeads(std::string_view text,
                                     std::size_t limit = std::numeric_limits<std::size_t>::max()) {
    std::vector<char32_t> heads;
    unicode::CharacterWalker walker(text);
    std::size_t start = 0;
    while (heads.size() < limit) {
        const auto end = walker.next();
        if (!end)
            break;
        heads.push_back(scalars(text.substr(start, *end - start)).front());
        start = *end;
    }
    return heads;
}

bool isLetter(char32_t c) {
    return u_isalpha(static_cast<UChar32>(c));
}
bool isUppercase(char32_t c) {
    return u_isUUppercase(static_cast<UChar32>(c));
}
bool isNumber(char32_t c) {
    return u_getIntPropertyValue(static_cast<UChar32>(c), UCHAR_NUMERIC_TYPE) != U_NT_NONE;
}

// Lines split at line feeds, empty ones dropped, each trimmed. A CR LF pair is one character
// and does not split, as everywhere else lines are counted.
std::vector<std::string> lines(std::string_view text) {
    std::vector<std::string> out;
    for (const std::string_view line : splitLines(text, LineBreaks::lineFeedCharacter))
        if (!line.empty())
            out.push_back(trimmed(line));
    return out;
}

// First letter upper case, everything else lower case: "ACME," -> "Acme,".
std::string capitalized(std::string_view word) {
    const std::string lower = unicode::lowercased(word);
    const auto bounds = unicode::characterBoundaries(lower);
    for (std::size_t k = 0; k + 1 < bounds.size(); ++k) {
        const std::string_view character =
            std::string_view(lower).substr(bounds[k], bounds[k + 1] - bounds[k]);
        if (!isLetter(scalars(character).front()))
            continue;
        icu::UnicodeString upper = unicode::toICU(character);
        upper.toUpper(icu::Locale::getRoot());
        return lower.substr(0, bounds[k]) + unicode::toUTF8(upper) + lower.substr(bounds[k + 1]);
    }
    return lower;
}

// An acronym kept as written: two or three characters, all upper-case letters or digits.
bool isAcronym(std::string_view word) {
    const auto heads = characterHeads(word, 4);
    if (heads.size() < 2 || heads.size() > 3)
        return false;
    for (const char32_t c : scalars(word))
        if (!(isLetter(c) && isUppercase(c)) && !(c >= '0' && c <= '9'))
            return false;
    return true;
}

} // namespace

std::vector<TextSignals::MoneyAmount> TextSignals::moneyAmounts(std::string_view text) {
    std::vector<MoneyAmount> amounts;
    MoneyScanner scanner(text, 0);
    while (amounts.size() < maximumAmounts) {
        const auto found = scanner.next();
        if (!found)
            break;
        if (auto one = amount(text, *found))
            amounts.push_back(std::move(*one));
    }
    return amounts;
}

namespace {

struct LabelMatch {
    TextSignals::CharacterRange characters;
    std::size_t byteEnd = 0;
};

// The first occurrence of `label` that starts the text or follows a non-letter, on whole
// characters, found in one pass of the text (a label followed by a combining mark is no match;
// an occurrence overlapping such a one is not looked at).
std::optional<LabelMatch> findLabel(std::string_view label, std::string_view text) {
    if (label.empty() || text.find(label) == std::string_view::npos)
        return std::nullopt; // most labels are not in most texts: no need to walk characters
    unicode::CharacterWalker walker(text);
    std::size_t position = 0; // a character boundary
    std::size_t previous = 0; // where the character before `position` starts
    std::size_t index = 0;    // characters before `position`
    const auto advanceTo = [&](std::size_t byte) {
        while (position < byte) {
            const auto next = walker.next();
            if (!next)
                break;
            previous = position;
            position = *next;
            ++index;
        }
        return position == byte;
    };
    std::size_t from = 0;
    while (from <= text.size()) {
        const std::size_t at = text.find(label, from);
        if (at == std::string_view::npos)
            return std::nullopt;
        const std::size_t end = at + label.size();
        if (!advanceTo(at)) { // starts inside a character
            from = std::max(at + 1, position);
            continue;
        }
        const std::size_t first = index;
        const bool afterLetter = first > 0 && isLetter(scalars(text.substr(previous, at - previous)).front());
        if (!advanceTo(end)) { // ends inside a character
            from = std::max(at + 1, position);
            continue;
        }
        if (!afterLetter)
            return LabelMatch{{first, index - first}, end};
        from = end;
    }
    return std::nullopt;
}

} // namespace

std::optional<TextSignals::MoneyAmount> TextSignals::primaryAmount(std::string_view text) {
    // Labels are ASCII, so finding them in a copy with only ASCII letters lowered finds what the
    // fully lower-cased text would, at the same offsets: the amount after a label is then read
    // from the text as written, where a code such as "USD" is still upper case.
    std::string lower(text);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    for (const std::string_view label : primaryAmountLabels) {
        const auto match = findLabel(label, lower);
        if (!match)
            continue;
        const std::size_t windowStart = match->byteEnd;
        // Characters are counted in a slice long enough for any sensible text, so a label near
        // the start of a long text does not count the characters of all the rest.
        const std::string_view slice = text.substr(windowStart, primaryAmountWindow * maximumCharacterBytes);
        const std::size_t windowEnd =
            windowStart + unicode::characterPrefix(slice, primaryAmountWindow).size();
        // The first amount that starts in the window is read whole, even where the window's end
        // would cut it ("$9.99" read as "$9" is a wrong amount).
        MoneyScanner scanner(text, windowStart);
        while (const auto found = scanner.next()) {
            if (found->start >= windowEnd)
                break;
            if (auto one = amount(text, *found))
                return one;
        }
    }
    // No label led to an amount: the largest wins, the earliest among equals.
    std::optional<MoneyAmount> largest;
    MoneyScanner scanner(text, 0);
    while (const auto found = scanner.next()) {
        auto one = amount(text, *found);
        if (one && (!largest || one->value > largest->value))
            largest = std::move(one);
    }
    return largest;
}

std::vector<Timestamp> TextSignals::dates(std::string_view text, TimeAlone timeAlone) {
    DateRecognizer::Options options = DateRecognizer::Options::forUser();
    options.timeAlone = timeAlone;
    std::vector<Timestamp> out;
    for (const DataDetector::Match& match : DateRecognizer::scan(text, Clock::now(), options))
        if (match.date)
            out.push_back(*match.date);
    return out;
}

std::optional<Timestamp> TextSignals::date(const std::vector<std::string>& labels, std::string_view text,
                                           std::size_t windowLength, TimeAlone timeAlone) {
    const std::string lower = unicode::lowercased(text);
    for (const std::string& label : labels) {
        if (label.empty())
            continue;
        const std::size_t at = lower.find(label);
        if (at == std::string::npos)
            continue;
        const std::string_view tail = std::string_view(lower).substr(at + label.size());
        const std::vector<Timestamp> found = dates(unicode::characterPrefix(tail, windowLength), timeAlone);
        if (!found.empty())
            return found.front();
    }
    return std::nullopt;
}

std::optional<std::string> TextSignals::organizationName(std::string_view text) {
    const std::vector<std::string> all = lines(text);
    for (const std::string& line : all) {
        const std::string lower = unicode::lowercased(line);
        for (const std::string_view prefix : organizationLabelPrefixes) {
            if (!lower.starts_with(prefix))
                continue;
            const auto bounds = unicode::characterBoundaries(line);
            if (bounds.size() <= prefix.size())
                continue;
            const std::string rest = trimmed(std::string_view(line).substr(bounds[prefix.size()]));
            if (!rest.empty())
                return normalizedOrganizationName(rest);
        }
    }
    for (std::size_t k = 0; k < all.size() && k < 6; ++k)
        if (looksLikeOrganizationLine(all[k]))
            return normalizedOrganizationName(all[k]);
    return std::nullopt;
}

std::string TextSignals::normalizedOrganizationName(std::string_view name) {
    const std::string text = trimmed(name);
    bool hasLetter = false;
    for (const char32_t c : scalars(text)) {
        if (!isLetter(c))
            continue;
        hasLetter = true;
        if (!isUppercase(c))
            return text; // mixed case is kept exactly
    }
    if (!hasLetter)
        return text;

    std::string out;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(' ', start);
        if (end == std::string::npos)
            end = text.size();
        const std::string_view word = std::string_view(text).substr(start, end - start);
        if (!word.empty()) {
            if (!out.empty())
                out += ' ';
            out += isAcronym(word) ? std::string(word) : capitalized(word);
        }
        start = end + 1;
    }
    return out;
}

bool TextSignals::looksLikeOrganizationLine(std::string_view line) {
    const auto heads = characterHeads(line, 49);
    if (heads.size() < 2 || heads.size() > 48)
        return false;
    if (std::none_of(heads.begin(), heads.end(), isLetter))
        return false;
    for (const std::string_view banned : {":", "@", "$", "\u20AC", "\u00A3"})
        if (line.find(banned) != std::string_view::npos)
            return false;
    if (std::count_if(heads.begin(), heads.end(), isNumber) > 2)
        return false;
    const std::string lower = unicode::lowercased(line);
    return std::none_of(rejectedLineStarts.begin(), rejectedLineStarts.end(),
                        [&lower](std::string_view start) { return lower.starts_with(start); });
}

int TextSignals::keywordScore(const std::vector<std::string>& keywords, std::string_view text) {
    const std::string lower = unicode::lowercased(text);
    int score = 0;
    for (const std::string& keyword : keywords) {
        const std::string needle = unicode::lowercased(keyword);
        if (!needle.empty() && lower.find(needle) != std::string::npos)
            ++score;
    }
    return score;
}

std::optional<TextSignals::CharacterRange> TextSignals::labelRange(std::string_view label,
                                                                   std::string_view text) {
    const auto found = findLabel(label, text);
    if (!found)
        return std::nullopt;
    return CharacterRange{found->characters.location, found->characters.length};
}

} // namespace tessellar
