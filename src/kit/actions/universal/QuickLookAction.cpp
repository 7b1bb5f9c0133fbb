#include "kit/actions/universal/QuickLookAction.h"

namespace tessellar {

ActionID QuickLookAction::id() const {
    return ActionID::quickLook;
}
std::string QuickLookAction::title() const {
    return "Quick Look";
}
std::string QuickLookAction::icon() const {
    return "eye";
}

ActionAvailability QuickLookAction::availability(const InboxItem& item, const ActionContext&) const {
    return item.isFileStillPresent() ? ActionAvailability::available(50) : ActionAvailability::unavailable();
}

ActionOutcome QuickLookAction::perform(const ActionInvocation& invocation,
                                       const ActionContext& context) const {
    if (!invocation.item.fileURL)
        throw TessellarError("This item isn\u2019t a file.");
    context.requireHost().presentQuickLook(*invocation.item.fileURL);
    // The preview is showing: the panel stays.
    return {std::nullopt, std::nullopt, true};
}

} // namespace tessellar
