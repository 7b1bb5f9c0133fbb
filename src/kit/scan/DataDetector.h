#pragma once

#include "kit/base/Timestamp.h"
#include "kit/base/Url.h"
#include "kit/text/TextRange.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessellar {

// Finds links, dates, phone numbers and postal addresses in free text. Matches come in
// text order with UTF-16 ranges and a payload for their type. Never throws: a text it
// cannot read gives no matches.
class DataDetector {
public:
    enum class Type { link, date, phoneNumber, address };

    struct Match {
        Type type = Type::link;
        TextRange range;
        std::optional<Url> url;                     // link: http for scheme-less addresses, mailto for e-mail
        std::optional<Timestamp> date;              // date: one absolute instant
        std::optional<std::string> phoneNumber;     // phone number: as written in the text
        std::map<std::string, std::string> address; // address: "street", "city", "state", "ZIP", "country"

        bool operator==(const Match&) const = default;
    };

    static std::vector<Match> matches(Type type, std::string_view text);

    // The same, resolving relative dates against `now` (the other types ignore it).
    static std::vector<Match> matches(Type type, std::string_view text, Timestamp now);

    // The UTF-8 text of a UTF-16 range of `text` (empty when the range lies outside it).
    static std::string substring(std::string_view text, TextRange range);
};

} // namespace tessellar
