#include "kit/actions/universal/CopyURLAction.h"

namespace tessellar {

ActionID CopyURLAction::id() const {
    return ActionID::copyURL;
}
std::string CopyURLAction::title() const {
    return "Copy Link";
}
std::string CopyURLAction::icon() const {
    return "link";
}

ActionAvailability CopyURLAction::availability(const InboxItem& item, const ActionContext&) const {
    return item.sourceURL ? ActionAvailability::available(75) : ActionAvailability::unavailable();
}

ActionOutcome CopyURLAction::perform(const ActionInvocation& invocation, const ActionContext& context) const {
    if (!invocation.item.sourceURL)
        throw TessellarError("There\u2019s no link here to copy.");
    context.clipboard.copy(invocation.item.sourceURL->absoluteString());
    return {"Copied link", std::nullopt, false};
}

} // namespace tessellar
