#include "kit/actions/universal/CopyAddressAction.h"

#include "kit/actions/universal/AddressText.h"
#include "kit/text/StringHelpers.h"

namespace tessellar {

ActionID CopyAddressAction::id() const {
    return ActionID::copyAddress;
}
std::string CopyAddressAction::title() const {
    return "Copy Address";
}
std::string CopyAddressAction::icon() const {
    return "doc.on.clipboard";
}

ActionAvailability CopyAddressAction::availability(const InboxItem& item, const ActionContext&) const {
    return item.contentType == ContentType::address ? ActionAvailability::available(85)
                                                    : ActionAvailability::unavailable();
}

ActionOutcome CopyAddressAction::perform(const ActionInvocation& invocation,
                                         const ActionContext& context) const {
    const auto address = addressText(invocation.item);
    if (!address)
        throw TessellarError("There\u2019s no address here to copy.");
    context.clipboard.copy(normalizedWhitespace(*address));
    return {"Copied address", std::nullopt, false};
}

} // namespace tessellar
