#include "kit/actions/universal/CopyExtractedTextAction.h"

#include "kit/text/StringHelpers.h"

namespace tessellar {

ActionID CopyExtractedTextAction::id() const {
    return ActionID::copyExtractedText;
}
std::string CopyExtractedTextAction::title() const {
    return "Copy Text";
}
std::string CopyExtractedTextAction::icon() const {
    return "text.viewfinder";
}

ActionAvailability CopyExtractedTextAction::availability(const InboxItem& item, const ActionContext&) const {
    const bool readable = item.contentType == ContentType::code || item.contentType == ContentType::image ||
                          item.contentType == ContentType::screenshot;
    if (readable && item.extractedText && !isBlank(*item.extractedText))
        return ActionAvailability::available(90);
    return ActionAvailability::unavailable();
}

ActionOutcome CopyExtractedTextAction::perform(const ActionInvocation& invocation,
                                               const ActionContext& context) const {
    const auto& text = invocation.item.extractedText;
    if (!text || isBlank(*text))
        throw TessellarError("No text was found in this image.", {TessellarError::Recovery::tryAI});
    context.clipboard.copy(*text);
    const std::size_t lines = lineCount(*text);
    return {"Copied " + std::to_string(lines) + " line" + (lines == 1 ? "" : "s"), std::nullopt, false};
}

} // namespace tessellar
