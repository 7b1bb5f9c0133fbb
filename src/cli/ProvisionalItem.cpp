#include "cli/ProvisionalItem.h"

#include "kit/base/Clock.h"
#include "kit/classify/RuleBasedClassifier.h"
#include "kit/detect/LinkDetector.h"

namespace tessellar::cli {

InboxItem provisionalItem(const ClassificationInput& input) {
    Classification classification = RuleBasedClassifier().classify(input).value_or(Classification(
        ContentType::unknown, input.filename.value_or("Content"), std::nullopt, 0.2, {}, {ActionID::copy}));

    InboxItem item;
    item.id = Uuid::random();
    item.createdAt = Clock::now();
    item.sourceType = input.source;
    item.contentType = classification.contentType;
    item.title = classification.title;
    item.headline = classification.headline;
    item.confidence = classification.confidence;
    // A file's text was read out of it; typed text is the original.
    if (input.fileURL)
        item.extractedText = input.text;
    else
        item.originalText = input.text;
    item.fileURL = input.fileURL;
    item.sourceURL = input.sourceURL;
    if (!item.sourceURL && classification.contentType == ContentType::url && item.originalText)
        item.sourceURL = LinkDetector::standaloneURL(*item.originalText);
    item.metadata = std::move(classification.metadata);
    item.suggestedActionIDs = std::move(classification.recommendedActionIDs);
    item.classificationSource = classification.source;
    return item;
}

} // namespace tessellar::cli
