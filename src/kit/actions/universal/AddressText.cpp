#include "kit/actions/universal/AddressText.h"

#include "kit/text/StringHelpers.h"

namespace tessellar {

std::optional<std::string> addressText(const InboxItem& item) {
    if (const auto raw = item.metadata.hidden.find("rawAddress"); raw != item.metadata.hidden.end())
        return raw->second;
    std::string joined;
    for (const auto& fact : item.metadata.facts) {
        if (fact.key != ItemMetadata::Key::street && fact.key != ItemMetadata::Key::locality)
            continue;
        if (!joined.empty())
            joined += ", ";
        joined += fact.value;
    }
    if (!joined.empty())
        return joined;
    if (const auto text = item.bestText())
        return normalizedWhitespace(*text);
    return std::nullopt;
}

} // namespace tessellar
