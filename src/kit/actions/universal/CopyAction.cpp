#include "kit/actions/universal/CopyAction.h"

namespace tessellar {

ActionID CopyAction::id() const {
    return ActionID::copy;
}
std::string CopyAction::title() const {
    return "Copy";
}
std::string CopyAction::icon() const {
    return "doc.on.doc";
}

ActionAvailability CopyAction::availability(const InboxItem& item, const ActionContext&) const {
    if (item.bestText())
        return ActionAvailability::available(55);
    if (item.hasFile())
        return ActionAvailability::available(40);
    return ActionAvailability::unavailable();
}

ActionOutcome CopyAction::perform(const ActionInvocation& invocation, const ActionContext& context) const {
    const InboxItem& item = invocation.item;
    if (const auto text = item.bestText()) {
        context.clipboard.copy(*text);
        return {"Copied", std::nullopt, false};
    }
    if (item.fileURL) {
        context.clipboard.copy(*item.fileURL);
        return {"Copied file", std::nullopt, false};
    }
    throw TessellarError("There\u2019s nothing here to copy.");
}

} // namespace tessellar
