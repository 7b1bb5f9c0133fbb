#include "kit/capture/ClipboardService.h"

#include "kit/capture/ContentIngestor.h"
#include "kit/detect/LinkDetector.h"
#include "kit/model/TessellarError.h"
#include "kit/text/StringHelpers.h"

namespace tessellar {
namespace {
constexpr std::size_t hintLimit = 32;
} // namespace

void ClipboardService::copy(std::string_view text) const {
    pasteboard_.clear();
    pasteboard_.writeText(text);
}

void ClipboardService::copy(const Url& fileURL) const {
    pasteboard_.clear();
    pasteboard_.writeFileURL(fileURL);
}

CapturedContent ClipboardService::currentContent() const {
    CapturedContent content = ContentIngestor::capture(pasteboard_, SourceType::clipboard);
    if (content.isEmpty())
        throw TessellarError::emptyClipboard();
    return content;
}

std::optional<std::string> ClipboardService::clipboardHint() const {
    if (const auto files = pasteboard_.fileURLs(); !files.empty())
        return files.front().lastPathComponent();
    if (pasteboard_.hasImage())
        return "Image";
    const auto text = pasteboard_.plainText();
    if (!text)
        return std::nullopt;
    const std::string trimmedText = trimmed(*text);
    if (trimmedText.empty())
        return std::nullopt;
    if (LinkDetector::standaloneURL(trimmedText))
        return "Link";
    return truncated(normalizedWhitespace(trimmedText), hintLimit, "\u2026");
}

} // namespace tessellar
