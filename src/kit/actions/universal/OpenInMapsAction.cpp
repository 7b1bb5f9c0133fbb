#include "kit/actions/universal/OpenInMapsAction.h"

#include "kit/actions/QueryEncoding.h"
#include "kit/actions/universal/AddressText.h"

namespace tessellar {

ActionID OpenInMapsAction::id() const {
    return ActionID::openInMaps;
}
std::string OpenInMapsAction::title() const {
    return "Open in Maps";
}
std::string OpenInMapsAction::icon() const {
    return "map";
}

ActionAvailability OpenInMapsAction::availability(const InboxItem& item, const ActionContext&) const {
    return item.contentType == ContentType::address ? ActionAvailability::available(95)
                                                    : ActionAvailability::unavailable();
}

ActionOutcome OpenInMapsAction::perform(const ActionInvocation& invocation,
                                        const ActionContext& context) const {
    const auto address = addressText(invocation.item);
    const auto url =
        address ? Url::parse(std::string(mapsAddress) + percentEncodedForQuery(*address)) : std::nullopt;
    if (!url)
        throw TessellarError("Couldn\u2019t build a map search for this address.");
    (void)context.requireWorkspace().open(*url);
    return {std::nullopt, std::nullopt, false};
}

} // namespace tessellar
