#include "kit/model/InboxItem.h"

#include "kit/text/StringHelpers.h"

#include <algorithm>
#include <filesystem>

namespace tessellar {

std::optional<std::string> InboxItem::bestText() const {
    if (extractedText && !isBlank(*extractedText))
        return extractedText;
    if (originalText && !isBlank(*originalText))
        return originalText;
    return std::nullopt;
}

bool InboxItem::isFileStillPresent() const {
    if (!fileURL)
        return false;
    std::error_code ec;
    return std::filesystem::exists(fileURL->filePath(), ec);
}

std::string InboxItem::displayHeadline() const {
    if (headline && !headline->empty())
        return *headline;
    return std::string(content_type::displayName(contentType));
}

void InboxItem::markCompleted(const ActionID& action) {
    if (std::find(completedActionIDs.begin(), completedActionIDs.end(), action) == completedActionIDs.end())
        completedActionIDs.push_back(action);
}

} // namespace tessellar
