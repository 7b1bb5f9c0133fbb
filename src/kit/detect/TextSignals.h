#pragma once

#include "kit/base/Timestamp.h"
#include "kit/scan/dates/DateRecognizer.h"
#include "kit/text/Decimal.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessellar {

// Small, general signals pulled out of free text: money amounts, the amount a bill asks
// for, dates, the issuing organisation and keyword scores. Stateless.
class TextSignals {
public:
    struct MoneyAmount {
        std::string raw;            // the matched text, trimmed ("$1,250.00", "99.90 EUR")
        Decimal value;              // parsed exactly
        std::string currencySymbol; // "$", "€", "£", "¥", "USD", "EUR", "GBP" or ""

        const std::string& display() const { return raw; }
        bool operator==(const MoneyAmount&) const = default;
    };

    // A range of user-perceived characters in a text.
    struct CharacterRange {
        std::size_t location = 0;
        std::size_t length = 0;
        bool operator==(const CharacterRange&) const = default;
    };

    static std::vector<MoneyAmount> moneyAmounts(std::string_view text);
    static std::optional<MoneyAmount> primaryAmount(std::string_view text);

    // Every date the natural-language date detector finds, in text order, resolved
    // against Clock::now(). A time alone is today's, as in a receipt, unless the text
    // speaks of things to come (a boarding time): then it is the next occurrence.
    using TimeAlone = DateRecognizer::TimeAlone;
    static std::vector<Timestamp> dates(std::string_view text, TimeAlone timeAlone = TimeAlone::today);

    // The first date within `windowLength` characters after the first occurrence of one of
    // the labels (tried in order) in the lower-cased text.
    static std::optional<Timestamp> date(const std::vector<std::string>& labels, std::string_view text,
                                         std::size_t windowLength, TimeAlone timeAlone = TimeAlone::today);

    static std::optional<std::string> organizationName(std::string_view text);
    static std::string normalizedOrganizationName(std::string_view name);
    static bool looksLikeOrganizationLine(std::string_view line);

    // How many of the keywords occur (lower-cased, as substrings) in the lower-cased text.
    static int keywordScore(const std::vector<std::string>& keywords, std::string_view text);

    // The first occurrence of `label` that starts the text or follows a non-letter.
    static std::optional<CharacterRange> labelRange(std::string_view label, std::string_view text);
};

} // namespace tessellar
