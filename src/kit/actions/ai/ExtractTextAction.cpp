#include "kit/actions/ai/ExtractTextAction.h"

#include "kit/actions/ai/AIRequest.h"
#include "kit/capture/OCRService.h"
#include "kit/text/StringHelpers.h"
#include "kit/text/Unicode.h"

namespace tessellar {

ActionID ExtractTextAction::id() const {
    return ActionID::extractText;
}
std::string ExtractTextAction::title() const {
    return "Extract Text";
}
std::string ExtractTextAction::icon() const {
    return "doc.plaintext";
}

ActionAvailability ExtractTextAction::availability(const InboxItem& item, const ActionContext&) const {
    if (!item.fileURL)
        return ActionAvailability::unavailable();
    const auto text = item.bestText();
    if (text && !isBlank(*text))
        return ActionAvailability::available(unicode::characterCount(*text) > 400 ? 50 : 35);
    return item.isFileStillPresent() ? ActionAvailability::available(30) : ActionAvailability::unavailable();
}

ActionOutcome ExtractTextAction::perform(const ActionInvocation& invocation,
                                         const ActionContext& context) const {
    const InboxItem& item = invocation.item;
    std::string text = item.bestText().value_or("");
    if (isBlank(text) && item.fileURL && context.ocr) {
        ActionHost& host = context.requireHost();
        host.reportProgress("Extracting text\u2026");
        struct Clear {
            ActionHost& host;
            ~Clear() { host.reportProgress(std::nullopt); }
        } clear{host};
        text = context.ocr->recognizeText(item.fileURL->filePath(), context.stop).text;
    }
    if (isBlank(text))
        throw TessellarError::noTextInDocument(item.title);

    context.clipboard.copy(text);
    context.requireHost().presentResult("Extracted text (copied)", truncated(text, 4000, "\u2026"), item);
    InboxItem updated = item;
    updated.extractedText = text;
    updated.markCompleted(ActionID::extractText);
    return {"Copied", std::move(updated), true};
}

} // namespace tessellar
