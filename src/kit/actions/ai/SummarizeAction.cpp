#include "kit/actions/ai/SummarizeAction.h"

#include "kit/actions/ai/AIRequest.h"
#include "kit/text/StringHelpers.h"
#include "kit/text/Unicode.h"

namespace tessellar {

ActionID SummarizeAction::id() const {
    return ActionID::summarize;
}
std::string SummarizeAction::title() const {
    return "Summarize";
}
std::string SummarizeAction::icon() const {
    return "text.line.first.and.arrowtriangle.forward";
}

ActionAvailability SummarizeAction::availability(const InboxItem& item, const ActionContext&) const {
    const auto text = item.bestText();
    if (!text || unicode::characterCount(trimmed(*text)) < 160)
        return ActionAvailability::unavailable();
    switch (item.contentType) {
    case ContentType::pdf:
    case ContentType::document:
    case ContentType::invoice:
    case ContentType::receipt:
        return ActionAvailability::available(65);
    case ContentType::plainText:
    case ContentType::url:
        return ActionAvailability::available(55);
    default:
        return ActionAvailability::available(35);
    }
}

ActionOutcome SummarizeAction::perform(const ActionInvocation& invocation,
                                       const ActionContext& context) const {
    const InboxItem& item = invocation.item;
    const auto text = item.bestText();
    if (!text)
        throw TessellarError("There\u2019s no text here to summarize.", {TessellarError::Recovery::tryAI});
    AIRequest::run(
        context, "Summarizing\u2026", AIRequest::describe(item),
        [&](const IntelligenceProvider& provider) {
            return provider.summarize(*text, SummaryStyle::bullets, context.stop);
        },
        "Summary", item);
    return {std::nullopt, std::nullopt, true};
}

} // namespace tessellar
