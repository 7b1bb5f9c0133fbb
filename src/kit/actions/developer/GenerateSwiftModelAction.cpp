#include "kit/actions/developer/GenerateSwiftModelAction.h"

#include "kit/actions/developer/ResultText.h"
#include "kit/detect/JSONDetector.h"

namespace tessellar {

ActionID GenerateSwiftModelAction::id() const {
    return ActionID::generateSwiftModel;
}
std::string GenerateSwiftModelAction::title() const {
    return "Generate Swift Model";
}
std::string GenerateSwiftModelAction::icon() const {
    return "swift";
}

// Offered for any JSON: whether it holds an object is only found out by generating.
ActionAvailability GenerateSwiftModelAction::availability(const InboxItem& item, const ActionContext&) const {
    if (item.contentType != ContentType::json || !item.bestText())
        return ActionAvailability::unavailable();
    return ActionAvailability::available(88);
}

ActionOutcome GenerateSwiftModelAction::perform(const ActionInvocation& invocation,
                                                const ActionContext& context) const {
    const auto text = invocation.item.bestText();
    const auto model = text ? JSONDetector::swiftModel(*text, "Root") : std::nullopt;
    if (!model)
        throw TessellarError(
            "There\u2019s no object here to model \u2014 JSON of only scalars has nothing to generate.");
    context.clipboard.copy(*model);
    context.requireHost().presentResult("Swift model (copied)", resultBody(*model), invocation.item);
    return {"Copied", std::nullopt, true};
}

} // namespace tessellar
