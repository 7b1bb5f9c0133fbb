#pragma once

#include "kit/base/Timestamp.h"
#include "kit/base/Url.h"
#include "kit/base/Uuid.h"
#include "kit/model/ActionID.h"
#include "kit/model/ContentType.h"
#include "kit/model/ItemMetadata.h"
#include "kit/model/SourceType.h"

#include <optional>
#include <string>
#include <vector>

namespace tessellar {

// The analysed, persisted record of one capture.
struct InboxItem {
    Uuid id;
    Timestamp createdAt;
    SourceType sourceType = SourceType::typed;
    ContentType contentType = ContentType::unknown;
    std::string title;
    std::optional<std::string> headline;
    std::optional<std::string> originalText;
    std::optional<std::string> extractedText;
    std::optional<Url> fileURL;
    std::optional<Url> sourceURL;
    std::optional<Url> imagePath;
    ItemMetadata metadata;
    double confidence = 0;
    std::vector<ActionID> suggestedActionIDs;
    std::vector<ActionID> completedActionIDs;
    ClassificationSource classificationSource = ClassificationSource::rules;

    // The extracted text if it has anything but whitespace, else the original text under
    // the same test; the stored string itself, untrimmed.
    std::optional<std::string> bestText() const;
    bool hasFile() const { return fileURL.has_value(); }
    // Checked on the file system at each call.
    bool isFileStillPresent() const;
    // The headline unless absent or empty, else the content type's display name.
    std::string displayHeadline() const;
    // Records a run action once, in the order first run.
    void markCompleted(const ActionID& action);

    bool operator==(const InboxItem&) const = default;
};

} // namespace tessellar
