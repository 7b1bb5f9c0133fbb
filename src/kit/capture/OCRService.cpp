#include "kit/capture/OCRService.h"

#include "kit/base/Log.h"
#include "kit/capture/FileBytes.h"
#include "kit/capture/LeptonicaImage.h"
#include "kit/capture/PopplerSupport.h"
#include "kit/model/TessellarError.h"
#include "kit/text/StringHelpers.h"

#include <cmath>
#include <cstdlib>
#include <poppler-page-renderer.h>
#include <poppler-page.h>
#include <tesseract/baseapi.h>
#include <tesseract/ocrclass.h>
#include <tesseract/resultiterator.h>

namespace tessellar {
namespace {

using leptonica::Pix;

// Larger images are scaled down to about this many pixels before recognition: text that
// survives the reduction is still legible to the engine and the time stays bounded.
constexpr double recognitionPixelBudget = 12'000'000;

TessellarError unreadableImage() {
    return TessellarError("Couldn\u2019t read that image.");
}

bool stopRequested(void* token, int) {
    return static_cast<const std::stop_token*>(token)->stop_requested();
}

Pix decode(std::span<const std::uint8_t> data) {
    return leptonica::decodeBounded(data, OCRService::maxPixels);
}

// Grey, and no larger than the budget.
Pix prepared(PIX* source) {
    Pix grey(pixConvertTo8(source, 0));
    if (!grey)
        return nullptr;
    const double pixels = double(pixGetWidth(grey.get())) * double(pixGetHeight(grey.get()));
    if (pixels <= recognitionPixelBudget)
        return grey;
    const auto scale = static_cast<l_float32>(std::sqrt(recognitionPixelBudget / pixels));
    return Pix(pixScaleGrayLI(grey.get(), scale, scale));
}

Pix fromPoppler(const poppler::image& image) {
    const int width = image.width(), height = image.height();
    if (!image.is_valid() || width <= 0 || height <= 0)
        return nullptr;
    Pix pix(pixCreate(width, height, 8));
    if (!pix)
        return nullptr;
    const char* rows = image.const_data();
    const int stride = image.bytes_per_row();
    l_uint32* data = pixGetData(pix.get());
    const l_int32 wpl = pixGetWpl(pix.get());
    for (int y = 0; y < height; ++y) {
        const auto* row =
            reinterpret_cast<const unsigned char*>(rows + static_cast<std::ptrdiff_t>(y) * stride);
        l_uint32* line = data + static_cast<std::ptrdiff_t>(y) * wpl;
        for (int x = 0; x < width; ++x)
            SET_DATA_BYTE(line, x, row[x]);
    }
    return pix;
}

} // namespace

struct OCRService::Engine {
    tesseract::TessBaseAPI api;
    ~Engine() { api.End(); }
};

struct OCRService::Image {
    Pix pix;
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

OCRService::Result OCRService::recognize(const Image& image, const std::stop_token& stop) {
    if (stop.stop_requested())
        throw Cancelled();
    const Pix pix = prepared(image.pix.get());
    if (!pix)
        throw unreadableImage();

    const std::lock_guard lock(mutex_);
    if (!engine_) {
        auto engine = std::make_unique<Engine>();
        // Tesseract's own chatter would land on the user's terminal.
        engine->api.SetVariable("debug_file", "/dev/null");
        if (engine->api.Init(tessdata_.c_str(), "eng", tesseract::OEM_LSTM_ONLY) != 0) {
            Log::error(Log::Category::pipeline,
                       "Tesseract could not start with the data in " + tessdata_.string());
            throw TessellarError("Couldn\u2019t run text recognition on this image.");
        }
        engine_ = std::move(engine);
    }
    tesseract::TessBaseAPI& api = engine_->api;
    api.SetImage(pix.get());
    tesseract::ETEXT_DESC monitor;
    monitor.cancel = stopRequested;
    monitor.cancel_this = const_cast<std::stop_token*>(&stop);
    const int status = api.Recognize(&monitor);
    if (stop.stop_requested()) {
        api.Clear();
        throw Cancelled();
    }
    if (status != 0) {
        api.Clear();
        throw TessellarError("Couldn\u2019t read the text in this image (recognition failed).");
    }

    Result result;
    double confidenceSum = 0;
    int lines = 0;
    const std::unique_ptr<tesseract::ResultIterator> iterator(api.GetIterator());
    if (iterator) {
        do {
            const std::unique_ptr<char[]> raw(iterator->GetUTF8Text(tesseract::RIL_TEXTLINE));
            if (!raw)
                continue;
            const std::string line = trimmed(raw.get());
            if (line.empty())
                continue;
            if (!result.text.empty())
                result.text.push_back('\n');
            result.text += line;
            confidenceSum += std::clamp(iterator->Confidence(tesseract::RIL_TEXTLINE) / 100.0, 0.0, 1.0);
            ++lines;
        } while (iterator->Next(tesseract::RIL_TEXTLINE));
    }
    api.Clear();
    result.confidence = lines > 0 ? confidenceSum / lines : 0.0;
    return result;
}

OCRService::Result OCRService::recognizeText(std::span<const std::uint8_t> imageData, std::stop_token stop) {
    Image image{decode(imageData)};
    if (!image.pix)
        throw unreadableImage();
    return recognize(image, stop);
}

OCRService::Result OCRService::recognizeText(const std::filesystem::path& file, std::stop_token stop) {
    std::string extension = file.extension().string();
    for (char& c : extension)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (extension == ".pdf")
        return recognizeTextInScannedPDF(file, maxScannedPages, stop);
    const TessellarError unreadable("Couldn\u2019t read " + file.filename().string() + ".");
    const auto bytes = FileBytes::read(file, maxImageFileBytes);
    if (!bytes || !bytes->complete)
        throw unreadable;
    Image image{
        decode(std::span(reinterpret_cast<const std::uint8_t*>(bytes->bytes.data()), bytes->bytes.size()))};
    if (!image.pix)
        throw unreadable;
    return recognize(image, stop);
}

OCRService::Result OCRService::recognizeTextInScannedPDF(const std::filesystem::path& file, int maxPages,
                                                         std::stop_token stop) {
    const auto document = FileBytes::isRegularFile(file) ? poppler_support::open(file) : nullptr;
    if (!document)
        throw TessellarError::noTextInDocument(file.filename().string());
    poppler::page_renderer renderer;
    renderer.set_render_hint(poppler::page_renderer::antialiasing, true);
    renderer.set_render_hint(poppler::page_renderer::text_antialiasing, true);
    renderer.set_image_format(poppler::image::format_gray8);

    std::string text;
    double confidenceSum = 0;
    int pages = 0;
    for (int index = 0; index < std::min(document->pages(), maxPages); ++index) {
        if (stop.stop_requested())
            throw Cancelled();
        const std::unique_ptr<poppler::page> page(document->create_page(index));
        if (!page)
            continue;
        // Twice the media box (144 dpi), less when a huge page would exceed the pixel limit.
        const poppler::rectf box = page->page_rect(poppler::media_box);
        double resolution = 144.0;
        const double points = std::max(1.0, box.width()) * std::max(1.0, box.height());
        const double pixels = points * 4.0;
        if (pixels > double(maxPixels))
            resolution *= std::sqrt(double(maxPixels) / pixels);
        Image image{fromPoppler(renderer.render_page(page.get(), resolution, resolution))};
        if (!image.pix)
            continue;
        const Result pageResult = recognize(image, stop);
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
