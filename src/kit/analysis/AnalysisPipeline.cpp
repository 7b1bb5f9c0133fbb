#include "kit/analysis/AnalysisPipeline.h"

#include "kit/base/Clock.h"
#include "kit/base/Log.h"
#include "kit/base/MimeTypes.h"
#include "kit/detect/LinkDetector.h"
#include "kit/intelligence/CompositeClassifier.h"
#include "kit/text/Formatting.h"
#include "kit/text/StringHelpers.h"

#include <future>
#include <sys/stat.h>

namespace tessellar {
namespace {

void check(const std::stop_token& stop) {
    if (stop.stop_requested())
        throw Cancelled();
}

TessellarError noText(const std::string& name) {
    return TessellarError::noTextInDocument(name);
}

std::optional<std::int64_t> fileSize(const std::filesystem::path& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode))
        return std::nullopt;
    return static_cast<std::int64_t>(status.st_size);
}

} // namespace

AnalysisPipeline::AnalysisPipeline(std::shared_ptr<TextExtractor> textExtractor,
                                   std::shared_ptr<OCRService> ocr, ImageStore imageStore,
                                   std::shared_ptr<ContentClassifier> classifier)
    : AnalysisPipeline(std::move(textExtractor), std::move(ocr), std::move(imageStore),
                       [classifier = std::move(classifier)](const StageCallback&) { return classifier; }) {}

AnalysisPipeline::AnalysisPipeline(std::shared_ptr<TextExtractor> textExtractor,
                                   std::shared_ptr<OCRService> ocr, ImageStore imageStore,
                                   ClassifierFactory classifierFactory)
    : textExtractor_(std::move(textExtractor)), ocr_(std::move(ocr)), imageStore_(std::move(imageStore)),
      classifierFactory_(std::move(classifierFactory)) {}

AnalysisPipeline::AnalysisPipeline(std::shared_ptr<TextExtractor> textExtractor,
                                   std::shared_ptr<OCRService> ocr, ImageStore imageStore,
                                   std::shared_ptr<IntelligenceGateway> intelligence,
                                   std::function<std::set<ActionID>()> knownActionIDs)
    : AnalysisPipeline(
          std::move(textExtractor), std::move(ocr), std::move(imageStore),
          [intelligence = std::move(intelligence),
           knownActionIDs = std::move(knownActionIDs)](const StageCallback& onStage) {
              auto classifier = std::make_shared<CompositeClassifier>();
              classifier->provider = intelligence->provider();
              classifier->knownActionIDs = knownActionIDs ? knownActionIDs() : std::set<ActionID>{};
              classifier->isAIAllowed = [intelligence] { return intelligence->isExternalAIReady(); };
              classifier->onStage = onStage;
              return classifier;
          }) {}

AnalysisPipeline::Result AnalysisPipeline::analyze(const CapturedContent& content,
                                                   const StageCallback& onStage, std::stop_token stop) {
    if (content.isEmpty())
        throw TessellarError::unsupportedDrop();
    const auto report = [&](const AnalysisStage& stage) {
        check(stop);
        if (onStage)
            onStage(stage);
    };

    report(AnalysisStage::receiving());
    const Uuid id = Uuid::random();
    std::optional<Url> imagePath;
    std::optional<std::string> extractedText;
    std::optional<TessellarError> warning;
    std::optional<int> pageCount;
    std::optional<std::int64_t> size;

    if (content.fileURL) {
        const std::filesystem::path file = content.fileURL->filePath();
        const std::string name = content.fileURL->lastPathComponent();
        const auto type = MimeTypes::forFileName(name);
        const bool isImage = type && MimeTypes::isImage(*type);
        size = fileSize(file);

        if (!isImage) {
            report(AnalysisStage::readingDocument());
            try {
                const auto extraction = textExtractor_->extract(file);
                pageCount = extraction.pageCount;
                if (!extraction.needsOCR) {
                    extractedText = extraction.text;
                } else {
                    report(AnalysisStage::extractingText());
                    std::optional<OCRService::Result> recognised;
                    try {
                        recognised = ocr_->recognizeText(file, stop);
                    } catch (const Cancelled&) {
                        throw;
                    } catch (const std::exception& error) {
                        Log::debug(Log::Category::pipeline,
                                   std::string("OCR of a scanned document failed: ") + error.what());
                    }
                    if (recognised && !recognised->isEmpty()) {
                        extractedText = recognised->text;
                    } else {
                        extractedText = extraction.text;
                        warning = noText(name);
                    }
                }
            } catch (const Cancelled&) {
                throw;
            } catch (const TessellarError& error) {
                warning = error;
            } catch (const std::exception& error) {
                Log::error(Log::Category::pipeline, std::string("Text extraction failed: ") + error.what());
                warning = noText(name);
            }
        } else {
            report(AnalysisStage::extractingText());
            // The thumbnail is made on another core while the engine reads the text, which
            // keeps one core busy for a second or more.
            auto thumbnail = std::async(std::launch::async, [&]() -> std::optional<Url> {
                try {
                    return imageStore_.storeThumbnail(file, id, thumbnailDimension);
                } catch (const std::exception& error) {
                    Log::debug(Log::Category::pipeline, std::string("No thumbnail stored: ") + error.what());
                    return std::nullopt;
                }
            });
            try {
                const auto recognised = ocr_->recognizeText(file, stop);
                if (recognised.confidence >= minimumOCRConfidence)
                    extractedText = recognised.text;
            } catch (const TessellarError& error) {
                warning = error;
            } catch (...) {
                // Cancelled or failed: nothing of this capture stays behind.
                imageStore_.remove(thumbnail.get());
                throw;
            }
            imagePath = thumbnail.get();
        }
    } else if (content.imageData) {
        try {
            imagePath = imageStore_.store(*content.imageData, id);
        } catch (const std::exception& error) {
            Log::debug(Log::Category::pipeline, std::string("Image not stored: ") + error.what());
        }
        report(AnalysisStage::extractingText());
        try {
            const auto recognised =
                ocr_->recognizeText(std::span<const std::uint8_t>(*content.imageData), stop);
            if (recognised.confidence >= minimumOCRConfidence)
                extractedText = recognised.text;
        } catch (const TessellarError& error) {
            warning = error;
        }
    }

    report(AnalysisStage::recognizing());
    ClassificationInput input;
    input.text = extractedText && !isBlank(*extractedText) ? extractedText : content.text;
    input.fileURL = content.fileURL;
    input.filename =
        content.fileURL ? std::optional(content.fileURL->lastPathComponent()) : content.suggestedName;
    input.typeIdentifier = content.typeIdentifier;
    input.sourceURL = content.webURL;
    input.hasImage = content.imageData.has_value() || imagePath.has_value();
    input.source = content.source;

    const auto classifier = classifierFactory_ ? classifierFactory_(onStage) : nullptr;
    std::optional<Classification> classification = classifier ? classifier->classify(input) : std::nullopt;
    check(stop);
    if (!classification)
        classification =
            Classification(ContentType::unknown, input.filename.value_or("Content"), std::nullopt, 0.2,
                           ItemMetadata(), {ActionID::copy}, ClassificationSource::rules);

    report(AnalysisStage::findingActions());
    ItemMetadata metadata = classification->metadata;
    if (pageCount && *pageCount >= 2)
        metadata.set("pageCount", std::to_string(*pageCount) + " pages");
    if (size)
        metadata.set("fileSize", Formatting::fileSize(*size));

    std::optional<Url> sourceURL = content.webURL;
    if (!sourceURL && classification->contentType == ContentType::url && content.text)
        sourceURL = LinkDetector::standaloneURL(*content.text);

    InboxItem item;
    item.id = id;
    item.createdAt = Clock::now();
    item.sourceType = content.source;
    item.contentType = classification->contentType;
    item.title = classification->title;
    item.headline = classification->headline;
    item.confidence = classification->confidence;
    item.originalText = content.text;
    item.extractedText = extractedText;
    item.fileURL = content.fileURL;
    item.sourceURL = sourceURL;
    item.imagePath = imagePath;
    item.metadata = std::move(metadata);
    item.suggestedActionIDs = classification->recommendedActionIDs;
    item.classificationSource = classification->source;
    return {std::move(item), std::move(warning)};
}

} // namespace tessellar
