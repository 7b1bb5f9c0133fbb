#include "kit/model/ItemMetadata.h"

#include "kit/text/ISO8601.h"
#include "kit/text/StringHelpers.h"
#include "kit/text/Unicode.h"

#include <algorithm>

namespace tessellar {

bool ItemMetadata::Fact::repeats(std::string_view text) const {
    const std::string ownValue = trimmed(value);
    std::string other = trimmed(text);
    if (ownValue.empty() || other.empty() || label)
        return false;
    if (ownValue == other)
        return true;
    static constexpr std::string_view ellipsis = "\u2026";
    if (other.ends_with(ellipsis))
        other.resize(other.size() - ellipsis.size());
    if (unicode::characterCount(other) < 12)
        return false;
    return ownValue.starts_with(other);
}

std::optional<std::string> ItemMetadata::operator[](std::string_view key) const {
    const auto it = std::find_if(facts.begin(), facts.end(), [&](const Fact& f) { return f.key == key; });
    if (it == facts.end())
        return std::nullopt;
    return it->value;
}

void ItemMetadata::set(std::string_view key, const std::optional<std::string>& value,
                       const std::optional<std::string>& label, bool isPrimary) {
    if (!value || isBlank(*value))
        return;
    Fact fact{std::string(key), label, *value, isPrimary};
    const auto it = std::find_if(facts.begin(), facts.end(), [&](const Fact& f) { return f.key == key; });
    if (it != facts.end())
        *it = std::move(fact);
    else
        facts.push_back(std::move(fact));
}

void ItemMetadata::setHidden(std::string_view key, const std::optional<std::string>& value) {
    if (!value || value->empty())
        return;
    hidden[std::string(key)] = *value;
}

std::string ItemMetadata::isoKey(std::string_view key) {
    return std::string(key) + "ISO";
}

void ItemMetadata::setDate(std::string_view key, std::optional<Timestamp> date, const std::string& display,
                           bool isPrimary) {
    if (!date)
        return;
    set(key, display, std::nullopt, isPrimary);
    hidden[isoKey(key)] = iso8601::format(*date);
}

std::optional<Timestamp> ItemMetadata::date(std::string_view key) const {
    const auto it = hidden.find(isoKey(key));
    if (it == hidden.end())
        return std::nullopt;
    return iso8601::parse(it->second);
}

std::string ItemMetadata::summaryLine(std::size_t limit) const {
    std::string out;
    for (std::size_t i = 0; i < facts.size() && i < limit; ++i) {
        if (i > 0)
            out += " \u00B7 ";
        out += facts[i].value;
    }
    return out;
}

} // namespace tessellar
