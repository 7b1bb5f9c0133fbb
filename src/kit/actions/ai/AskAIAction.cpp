#include "kit/actions/ai/AskAIAction.h"

#include "kit/actions/ai/AIRequest.h"
#include "kit/text/StringHelpers.h"

namespace tessellar {

ActionID AskAIAction::id() const {
    return ActionID::askAI;
}
std::string AskAIAction::title() const {
    return "Ask AI";
}
std::string AskAIAction::icon() const {
    return "questionmark.bubble";
}

ActionAvailability AskAIAction::availability(const InboxItem& item, const ActionContext&) const {
    const auto text = item.bestText();
    if (!text || isBlank(*text))
        return ActionAvailability::unavailable();
    return ActionAvailability::available(item.contentType == ContentType::code ? 60 : 45);
}

ActionOutcome AskAIAction::perform(const ActionInvocation& invocation, const ActionContext& context) const {
    const InboxItem& item = invocation.item;
    const auto text = item.bestText();
    if (!text)
        throw TessellarError("There\u2019s no text here to ask about.");
    ActionHost& host = context.requireHost();
    const auto question =
        host.askForText("Ask about " + truncated(item.title, 40, "\u2026"), "What is this?");
    if (!question || isBlank(*question))
        return ActionOutcome::cancelled;
    AIRequest::run(
        context, "Asking\u2026", AIRequest::describe(item),
        [&](const IntelligenceProvider& provider) { return provider.answer(*question, *text, context.stop); },
        *question, item);
    return {std::nullopt, std::nullopt, true};
}

} // namespace tessellar
