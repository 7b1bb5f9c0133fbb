#include "kit/actions/ai/DescribeImageAction.h"

#include "kit/actions/ai/AIRequest.h"
#include "kit/text/StringHelpers.h"

namespace tessellar {

ActionID DescribeImageAction::id() const {
    return ActionID::describeImage;
}
std::string DescribeImageAction::title() const {
    return "Describe Image";
}
std::string DescribeImageAction::icon() const {
    return "eye.trianglebadge.exclamationmark";
}

ActionAvailability DescribeImageAction::availability(const InboxItem& item, const ActionContext&) const {
    const bool image = item.contentType == ContentType::image || item.contentType == ContentType::screenshot;
    if (!image || !item.extractedText || isBlank(*item.extractedText))
        return ActionAvailability::unavailable();
    return ActionAvailability::available(40);
}

ActionOutcome DescribeImageAction::perform(const ActionInvocation& invocation,
                                           const ActionContext& context) const {
    const InboxItem& item = invocation.item;
    if (!item.extractedText)
        throw TessellarError("No text was found in this image to describe.");
    AIRequest::run(
        context, "Describing\u2026", "the text recognized in " + item.title,
        [&](const IntelligenceProvider& provider) {
            return provider.summarize(*item.extractedText, SummaryStyle::oneLine, context.stop);
        },
        "Description", item);
    return {std::nullopt, std::nullopt, true};
}

} // namespace tessellar
