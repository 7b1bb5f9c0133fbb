#include "kit/actions/universal/OpenURLAction.h"

namespace tessellar {

ActionID OpenURLAction::id() const {
    return ActionID::openURL;
}
std::string OpenURLAction::title() const {
    return "Open Link";
}
std::string OpenURLAction::icon() const {
    return "safari";
}

ActionAvailability OpenURLAction::availability(const InboxItem& item, const ActionContext&) const {
    return item.sourceURL ? ActionAvailability::available(95) : ActionAvailability::unavailable();
}

ActionOutcome OpenURLAction::perform(const ActionInvocation& invocation, const ActionContext& context) const {
    if (!invocation.item.sourceURL)
        throw TessellarError("There\u2019s no link here to open.");
    (void)context.requireWorkspace().open(*invocation.item.sourceURL);
    return {std::nullopt, std::nullopt, false};
}

} // namespace tessellar
