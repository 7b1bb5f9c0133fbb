#include "kit/actions/universal/RevealInFinderAction.h"

namespace tessellar {

ActionID RevealInFinderAction::id() const {
    return ActionID::revealInFinder;
}
std::string RevealInFinderAction::title() const {
    return "Reveal in Finder";
}
std::string RevealInFinderAction::icon() const {
    return "folder";
}

ActionAvailability RevealInFinderAction::availability(const InboxItem& item, const ActionContext&) const {
    return item.isFileStillPresent() ? ActionAvailability::available(45) : ActionAvailability::unavailable();
}

ActionOutcome RevealInFinderAction::perform(const ActionInvocation& invocation,
                                            const ActionContext& context) const {
    if (!invocation.item.fileURL)
        throw TessellarError("This item isn\u2019t a file.");
    // A file that vanished since availability is handed over as it is.
    context.requireWorkspace().activateFileViewerSelecting(*invocation.item.fileURL);
    return {std::nullopt, std::nullopt, false};
}

} // namespace tessellar
