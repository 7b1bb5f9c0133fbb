#include "kit/detect/TextSignals.h"

#include "kit/base/Clock.h"
#include "kit/scan/DataDetector.h"
#include "kit/text/Regex.h"
#include "kit/text/StringHelpers.h"
#include "kit/text/Unicode.h"

#include <algorithm>
#include <array>
#include <unicode/locid.h>
#include <unicode/uchar.h>

namespace tessellar {
namespace {

// Group 1 symbol, 2 number after a symbol, 3 number before a code, 4 code. ICU tries the
// alternatives left to right, so "$1234.50" matches only "$123".
constexpr std::string_view moneyPatternText =
    R"re((?:(\$|€|£|¥)\s?([0-9]{1,3}(?:,[0-9]{3})*(?:\.[0-9]{2})?|[0-9]+(?:\.[0-9]{2})?))|(?:([0-9]{1,3}(?:,[0-9]{3})*(?:\.[0-9]{2})?)\s?(USD|EUR|GBP)))re";

constexpr std::array<std::string_view, 9> primaryAmountLabels{"amount due",     "total due",   "balance due",
                                                              "amount payable", "grand total", "order total",
                                                              "total amount",   "total",       "amount"};

constexpr std::array<std::string_view, 7> organizationLabelPrefixes{
    "from:", "vendor:", "billed by:", "company:", "sold by:", "merchant:", "issued by:"};

constexpr std::array<std::string_view, 9> rejectedLineStarts{
    "invoice", "receipt", "statement", "bill to", "ship to", "page", "date", "total", "tax"};

constexpr std::size_t primaryAmountWindow = 60;

const Regex& moneyPattern() {
    static const Regex pattern(moneyPatternText);
    return pattern;
}

using unicode::scalars;

// The first scalar of each user-perceived character.
std::vector<char32_t> characterHeads(std::string_view text) {
    const auto bounds = unicode::characterBoundaries(text);
    std::vector<char32_t> heads;
    for (std::size_t k = 0; k + 1 < bounds.size(); ++k)
        heads.push_back(scalars(text.substr(bounds[k], bounds[k + 1] - bounds[k])).front());
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
    const auto bounds = unicode::characterBoundaries(text);
    std::size_t start = 0;
    for (std::size_t k = 0; k + 1 < bounds.size(); ++k) {
        if (bounds[k + 1] - bounds[k] != 1 || text[bounds[k]] != '\n')
            continue;
        if (bounds[k] > start)
            out.push_back(trimmed(text.substr(start, bounds[k] - start)));
        start = bounds[k + 1];
    }
    if (start < text.size())
        out.push_back(trimmed(text.substr(start)));
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
    const auto heads = characterHeads(word);
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
    for (const Regex::Match& match : moneyPattern().allMatches(text)) {
        std::string number;
        std::string symbol;
        if (match.groups.size() > 4 && match.group(2)) {
            number = match.group(2)->text;
            symbol = match.group(1) ? match.group(1)->text : std::string();
        } else if (match.groups.size() > 4 && match.group(3)) {
            number = match.group(3)->text;
            symbol = match.group(4) ? match.group(4)->text : std::string();
        } else {
            continue;
        }
        std::erase(number, ',');
        const std::optional<Decimal> value = Decimal::parse(number);
        if (!value)
            continue;
        amounts.push_back({trimmed(match.text()), *value, symbol});
    }
    return amounts;
}

std::optional<TextSignals::MoneyAmount> TextSignals::primaryAmount(std::string_view text) {
    const std::vector<MoneyAmount> all = moneyAmounts(text);
    if (all.empty())
        return std::nullopt;
    const std::string lower = unicode::lowercased(text);
    const auto bounds = unicode::characterBoundaries(lower);
    for (const std::string_view label : primaryAmountLabels) {
        const auto range = labelRange(label, lower);
        if (!range)
            continue;
        const std::string_view tail = std::string_view(lower).substr(bounds[range->location + range->length]);
        const std::vector<MoneyAmount> near =
            moneyAmounts(unicode::characterPrefix(tail, primaryAmountWindow));
        if (!near.empty())
            return near.front();
    }
    // No label led to an amount: the largest wins, the earliest among equals.
    const MoneyAmount* largest = &all.front();
    for (const MoneyAmount& amount : all)
        if (amount.value > largest->value)
            largest = &amount;
    return *largest;
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
    const auto heads = characterHeads(line);
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
    if (label.empty())
        return std::nullopt;
    const auto bounds = unicode::characterBoundaries(text);
    auto characterIndex = [&bounds](std::size_t byte) -> std::optional<std::size_t> {
        const auto found = std::lower_bound(bounds.begin(), bounds.end(), byte);
        if (found == bounds.end() || *found != byte)
            return std::nullopt;
        return static_cast<std::size_t>(found - bounds.begin());
    };
    std::size_t from = 0;
    while (from <= text.size()) {
        const std::size_t at = text.find(label, from);
        if (at == std::string_view::npos)
            return std::nullopt;
        const std::size_t end = at + label.size();
        const auto first = characterIndex(at);
        const auto last = characterIndex(end);
        // A match that starts or ends inside a character (before a combining mark) is no match.
        if (!first || !last) {
            from = at + 1;
            continue;
        }
        const bool afterLetter =
            *first > 0 && isLetter(scalars(text.substr(bounds[*first - 1], at - bounds[*first - 1])).front());
        if (!afterLetter)
            return CharacterRange{*first, *last - *first};
        from = end;
    }
    return std::nullopt;
}

} // namespace tessellar
