#include "kit/actions/universal/OpenFileAction.h"

namespace tessellar {

ActionID OpenFileAction::id() const {
    return ActionID::openFile;
}
std::string OpenFileAction::title() const {
    return "Open";
}
std::string OpenFileAction::icon() const {
    return "arrow.up.forward.app";
}

ActionAvailability OpenFileAction::availability(const InboxItem& item, const ActionContext&) const {
    return item.isFileStillPresent() ? ActionAvailability::available(35) : ActionAvailability::unavailable();
}

ActionOutcome OpenFileAction::perform(const ActionInvocation& invocation,
                                      const ActionContext& context) const {
    if (!invocation.item.fileURL)
        throw TessellarError("This item isn\u2019t a file.");
    // The workspace's answer is ignored: it logs its own failures.
    (void)context.requireWorkspace().open(*invocation.item.fileURL);
    return {std::nullopt, std::nullopt, false};
}

} // namespace tessellar
