#include "kit/actions/developer/CleanStackTraceAction.h"

#include "kit/actions/developer/ResultText.h"
#include "kit/detect/CodeDetector.h"

namespace tessellar {

ActionID CleanStackTraceAction::id() const {
    return ActionID::cleanStackTrace;
}
std::string CleanStackTraceAction::title() const {
    return "Clean Stack Trace";
}
std::string CleanStackTraceAction::icon() const {
    return "line.3.horizontal.decrease";
}

ActionAvailability CleanStackTraceAction::availability(const InboxItem& item, const ActionContext&) const {
    if (item.contentType != ContentType::code)
        return ActionAvailability::unavailable();
    // The same cleaner as perform, so a trace without system frames offers nothing.
    const auto text = item.bestText();
    if (!text || !CodeDetector::cleanedTrace(*text))
        return ActionAvailability::unavailable();
    return ActionAvailability::available(90);
}

ActionOutcome CleanStackTraceAction::perform(const ActionInvocation& invocation,
                                             const ActionContext& context) const {
    const auto text = invocation.item.bestText();
    const auto cleaned = text ? CodeDetector::cleanedTrace(*text) : std::nullopt;
    if (!cleaned)
        throw TessellarError("There are no system frames here to strip.");
    context.clipboard.copy(cleaned->text);
    context.requireHost().presentResult("Cleaned trace (copied) \u2014 " +
                                            std::to_string(cleaned->removedFrames) + " system frames removed",
                                        resultBody(cleaned->text), invocation.item);
    return {"Copied", std::nullopt, true};
}

} // namespace tessellar
