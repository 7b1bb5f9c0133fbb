#include "kit/actions/ai/ExplainErrorAction.h"

#include "kit/actions/ai/AIRequest.h"
#include "kit/text/StringHelpers.h"

namespace tessellar {

ActionID ExplainErrorAction::id() const {
    return ActionID::explainError;
}
std::string ExplainErrorAction::title() const {
    return "Explain";
}
std::string ExplainErrorAction::icon() const {
    return "lightbulb";
}

ActionAvailability ExplainErrorAction::availability(const InboxItem& item, const ActionContext&) const {
    if (item.contentType != ContentType::code || !item.bestText())
        return ActionAvailability::unavailable();
    return ActionAvailability::available(88);
}

ActionOutcome ExplainErrorAction::perform(const ActionInvocation& invocation,
                                          const ActionContext& context) const {
    const InboxItem& item = invocation.item;
    const auto text = item.bestText();
    if (!text)
        throw TessellarError("There\u2019s no error text here to explain.");
    const auto summary = item.metadata[ItemMetadata::Key::errorSummary];
    AIRequest::run(
        context, "Explaining\u2026", "the error text you captured",
        [&](const IntelligenceProvider& provider) {
            return provider.answer(
                "Explain this error and the most likely fix, in at most four short bullet points.", *text,
                context.stop);
        },
        summary.value_or("Explanation"), item);
    return {std::nullopt, std::nullopt, true};
}

} // namespace tessellar
