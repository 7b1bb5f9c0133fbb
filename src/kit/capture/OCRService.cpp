#include "kit/capture/OCRService.h"

#include "kit/base/Log.h"
#include "kit/capture/FileBytes.h"
#include "kit/capture/ImageBackend.h"
#include "kit/capture/PdfBackend.h"
#include "kit/model/TessellarError.h"
#include "kit/text/StringHelpers.h"

#include <cstdlib>

namespace tessellar {
namespace {

// Larger images are scaled down to about this many pixels before recognition: text that
// survives the reduction is still legible to the engine and the time stays bounded.
constexpr double recognitionPixelBudget = 12'000'000;

TessellarError unreadableImage() {
    return TessellarError("Couldn\u2019t read that image.");
}

TessellarError recognitionUnavailable() {
    return TessellarError("Couldn\u2019t run text recognition on this image.");
}

} // namespace

struct OCRService::Engine {
    std::unique_ptr<ImageBackend::Recognizer> recognizer;
};

bool OCRService::Result::isEmpty() const {
    return isBlank(text);
}

OCRService::OCRService(std::filesystem::path tessdata) : tessdata_(std::move(tessdata)) {}

OCRService::~OCRService() = default;

std::filesystem::path OCRService::defaultTessdata() {
    if (const char* prefix = std::getenv("TESSDATA_PREFIX"); prefix && *prefix)
        return prefix;
    return "/usr/share/tesseract-ocr/5/tessdata";
}

OCRService::Result OCRService::recognize(const RecognizeWith& run, const TessellarError& unreadable,
                                         const std::stop_token& stop) {
    if (stop.stop_requested())
        throw Cancelled();
    const std::lock_guard lock(mutex_);
    if (!engine_) {
        const ImageBackend* backend = ImageBackend::get();
        if (!backend)
            throw recognitionUnavailable();
        auto recognizer = backend->startRecognizer(tessdata_.string());
        if (!recognizer) {
            Log::error(Log::Category::pipeline,
                       "Tesseract could not start with the data in " + tessdata_.string());
            throw recognitionUnavailable();
        }
        engine_ = std::make_unique<Engine>(Engine{std::move(recognizer)});
    }
    const ImageBackend::Recognition recognition = run(*engine_->recognizer);
    using Status = ImageBackend::Recognition::Status;
    switch (recognition.status) {
    case Status::cancelled:
        throw Cancelled();
    case Status::undecodable:
        throw unreadable;
    case Status::failed:
        throw TessellarError("Couldn\u2019t read the text in this image (recognition failed).");
    case Status::unavailable:
        Log::error(Log::Category::pipeline,
                   "Tesseract could not start with the data in " + tessdata_.string());
        engine_.reset(); // the next capture tries again
        throw recognitionUnavailable();
    case Status::done:
        break;
    }
    Result result;
    double confidenceSum = 0;
    int lines = 0;
    for (const ImageBackend::Line& line : recognition.lines) {
        const std::string text = trimmed(line.text);
        if (text.empty())
            continue;
        if (!result.text.empty())
            result.text.push_back('\n');
        result.text += text;
        confidenceSum += line.confidence;
        ++lines;
    }
    result.confidence = lines > 0 ? confidenceSum / lines : 0.0;
    return result;
}

OCRService::Result OCRService::recognizeText(std::span<const std::uint8_t> imageData, std::stop_token stop) {
    return recognize(
        [&](ImageBackend::Recognizer& recognizer) {
            return recognizer.recognize(imageData, maxPixels, recognitionPixelBudget, stop);
        },
        unreadableImage(), stop);
}

OCRService::Result OCRService::recognizeText(const std::filesystem::path& file, std::stop_token stop) {
    std::string extension = file.extension().string();
    for (char& c : extension)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (extension == ".pdf")
        return recognizeTextInScannedPDF(file, maxScannedPages, stop);
    const TessellarError unreadable("Couldn\u2019t read " + file.filename().string() + ".");
    const auto bytes = FileBytes::read(file, maxImageFileBytes);
    if (!bytes || !bytes->complete || bytes->bytes.empty())
        throw unreadable;
    const std::span data(reinterpret_cast<const std::uint8_t*>(bytes->bytes.data()), bytes->bytes.size());
    return recognize(
        [&](ImageBackend::Recognizer& recognizer) {
            return recognizer.recognize(data, maxPixels, recognitionPixelBudget, stop);
        },
        unreadable, stop);
}

OCRService::Result OCRService::recognizeTextInScannedPDF(const std::filesystem::path& file, int maxPages,
                                                         std::stop_token stop) {
    const PdfBackend* pdf = FileBytes::isRegularFile(file) ? PdfBackend::get() : nullptr;
    const auto document = pdf ? pdf->open(file.string()) : nullptr;
    if (!document)
        throw TessellarError::noTextInDocument(file.filename().string());
    std::string text;
    double confidenceSum = 0;
    int pages = 0;
    for (int index = 0; index < std::min(document->pageCount(), maxPages); ++index) {
        if (stop.stop_requested())
            throw Cancelled();
        const std::optional<GreyImage> page = document->renderPage(index, maxPixels);
        if (!page)
            continue;
        const Result pageResult = recognize(
            [&](ImageBackend::Recognizer& recognizer) {
                return recognizer.recognize(*page, recognitionPixelBudget, stop);
            },
            unreadableImage(), stop);
        const std::string pageText = trimmed(pageResult.text);
        if (!pageText.empty()) {
            if (!text.empty())
                text.push_back('\n');
            text += pageText;
        }
        confidenceSum += pageResult.confidence;
        ++pages;
    }
    return Result{text, pages > 0 ? confidenceSum / pages : 0.0};
}

} // namespace tessellar
