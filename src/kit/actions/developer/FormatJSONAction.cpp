#include "kit/actions/developer/FormatJSONAction.h"

#include "kit/actions/developer/ResultText.h"
#include "kit/detect/JSONDetector.h"

namespace tessellar {

ActionID FormatJSONAction::id() const {
    return ActionID::formatJSON;
}
std::string FormatJSONAction::title() const {
    return "Format JSON";
}
std::string FormatJSONAction::icon() const {
    return "curlybraces";
}

ActionAvailability FormatJSONAction::availability(const InboxItem& item, const ActionContext&) const {
    if (item.contentType != ContentType::json || !item.bestText())
        return ActionAvailability::unavailable();
    return ActionAvailability::available(94);
}

ActionOutcome FormatJSONAction::perform(const ActionInvocation& invocation,
                                        const ActionContext& context) const {
    const auto text = invocation.item.bestText();
    const auto document = text ? JSONDetector::document(*text) : std::nullopt;
    if (!document)
        throw TessellarError("This doesn\u2019t parse as JSON.");
    context.clipboard.copy(document->pretty);
    context.requireHost().presentResult("Formatted JSON (copied)", resultBody(document->pretty),
                                        invocation.item);
    return {"Copied", std::nullopt, true};
}

} // namespace tessellar
