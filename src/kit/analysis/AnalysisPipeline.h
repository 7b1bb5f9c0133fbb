#pragma once

#include "kit/capture/ImageStore.h"
#include "kit/capture/OCRService.h"
#include "kit/capture/TextExtractor.h"
#include "kit/classify/ContentClassifier.h"
#include "kit/intelligence/IntelligenceGateway.h"
#include "kit/model/ActionID.h"
#include "kit/model/AnalysisStage.h"
#include "kit/model/CapturedContent.h"
#include "kit/model/InboxItem.h"
#include "kit/model/TessellarError.h"

#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <stop_token>

namespace tessellar {

// Turns one capture into one item: stores a copy of any image, reads the text out of
// documents or recognises it in images, classifies, adds file facts. Saving the item is the
// caller's business. Holds only services that never change; analyses may run side by side.
class AnalysisPipeline {
public:
    struct Result {
        InboxItem item;
        std::optional<TessellarError> warning; // a problem that did not stop the analysis
    };

    // Called with each stage; may be called from any thread.
    using StageCallback = std::function<void(const AnalysisStage&)>;
    // Builds the classifier for one analysis, given the stage callback (so a classifier that
    // asks an AI provider can report it).
    using ClassifierFactory = std::function<std::shared_ptr<ContentClassifier>(const StageCallback&)>;

    // OCR text of an image counts only at this confidence or above.
    static constexpr double minimumOCRConfidence = 0.3;
    static constexpr int thumbnailDimension = 512;

    AnalysisPipeline(std::shared_ptr<TextExtractor> textExtractor, std::shared_ptr<OCRService> ocr,
                     ImageStore imageStore, std::shared_ptr<ContentClassifier> classifier);
    AnalysisPipeline(std::shared_ptr<TextExtractor> textExtractor, std::shared_ptr<OCRService> ocr,
                     ImageStore imageStore, ClassifierFactory classifierFactory);
    // The application's pipeline: each analysis asks the gateway for the current provider and
    // the engine (through `knownActionIDs`) for the identifiers it knows, and classifies with
    // the rules first and the provider only when the gateway says external AI is ready.
    AnalysisPipeline(std::shared_ptr<TextExtractor> textExtractor, std::shared_ptr<OCRService> ocr,
                     ImageStore imageStore, std::shared_ptr<IntelligenceGateway> intelligence,
                     std::function<std::set<ActionID>()> knownActionIDs);

    // Throws TessellarError::unsupportedDrop() for empty content, Cancelled when `stop` is
    // requested, and whatever a non-TessellarError OCR failure of an image throws.
    Result analyze(const CapturedContent& content, const StageCallback& onStage = {},
                   std::stop_token stop = {});

    const ImageStore& imageStore() const { return imageStore_; }

private:
    std::shared_ptr<TextExtractor> textExtractor_;
    std::shared_ptr<OCRService> ocr_;
    ImageStore imageStore_;
    ClassifierFactory classifierFactory_;
};

} // namespace tessellar
