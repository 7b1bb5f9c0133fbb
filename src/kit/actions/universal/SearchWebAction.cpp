#include "kit/actions/universal/SearchWebAction.h"

#include "kit/actions/QueryEncoding.h"
#include "kit/text/StringHelpers.h"
#include "kit/text/Unicode.h"

namespace tessellar {
namespace {

constexpr std::size_t queryLimit = 140;

} // namespace

ActionID SearchWebAction::id() const {
    return ActionID::searchWeb;
}
std::string SearchWebAction::title() const {
    return "Search the Web";
}
std::string SearchWebAction::icon() const {
    return "magnifyingglass";
}

std::optional<std::string> SearchWebAction::searchQuery(const InboxItem& item) {
    if (const auto summary = item.metadata[ItemMetadata::Key::errorSummary])
        return truncated(*summary, queryLimit, "");
    const auto text = item.bestText();
    if (!text)
        return std::nullopt;
    const auto line = firstMeaningfulLine(*text);
    if (!line || unicode::characterCount(*line) < 4)
        return std::nullopt;
    return truncated(*line, queryLimit, "");
}

ActionAvailability SearchWebAction::availability(const InboxItem& item, const ActionContext&) const {
    if (!searchQuery(item))
        return ActionAvailability::unavailable();
    return ActionAvailability::available(item.contentType == ContentType::code ? 55 : 25);
}

ActionOutcome SearchWebAction::perform(const ActionInvocation& invocation,
                                       const ActionContext& context) const {
    const auto query = searchQuery(invocation.item);
    const auto url =
        query ? Url::parse(std::string(searchAddress) + percentEncodedForQuery(*query)) : std::nullopt;
    if (!url)
        throw TessellarError("There\u2019s nothing here to search for.");
    (void)context.requireWorkspace().open(*url);
    return {std::nullopt, std::nullopt, false};
}

} // namespace tessellar
