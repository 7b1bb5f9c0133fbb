#include "kit/actions/ai/AIRequest.h"

namespace tessellar::AIRequest {

std::string describe(const InboxItem& item) {
    if (item.fileURL)
        return "the text of " + item.fileURL->lastPathComponent();
    switch (item.contentType) {
    case ContentType::url:
        return "this link";
    case ContentType::code:
        return "the error text you captured";
    default:
        return "this text";
    }
}

} // namespace tessellar::AIRequest
