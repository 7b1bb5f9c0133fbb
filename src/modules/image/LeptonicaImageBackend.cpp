#include "kit/capture/ImageBackend.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <filesystem>
#include <future>
#include <leptonica/allheaders.h>
#include <omp.h>
#include <tesseract/baseapi.h>
#include <tesseract/ocrclass.h>
#include <tesseract/resultiterator.h>
#include <unistd.h>

namespace tessellar {
namespace {

struct PixDeleter {
    void operator()(PIX* pix) const { pixDestroy(&pix); }
};
using Pix = std::unique_ptr<PIX, PixDeleter>;

struct LeptonicaBuffer {
    l_uint8* bytes = nullptr;
    size_t size = 0;
    ~LeptonicaBuffer() { lept_free(bytes); }
};

std::atomic<ImageBackend::DiagnosticSink> diagnostics{nullptr};

void report(const std::string& message) {
    if (const auto sink = diagnostics.load())
        sink(message.c_str());
}

// Decodes only after the header promises a positive size of at most `maxPixels`; a body
// larger than its header said is refused too.
Pix decodeBounded(std::span<const std::uint8_t> data, std::uint64_t maxPixels) {
    if (data.empty())
        return nullptr;
    l_int32 format = 0, width = 0, height = 0, bps = 0, spp = 0, colormap = 0;
    if (pixReadHeaderMem(data.data(), data.size(), &format, &width, &height, &bps, &spp, &colormap) != 0)
        return nullptr;
    if (width <= 0 || height <= 0 ||
        static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) > maxPixels) {
        report("Refused an image of " + std::to_string(width) + " x " + std::to_string(height) + " pixels");
        return nullptr;
    }
    Pix pix(pixReadMem(data.data(), data.size()));
    if (!pix || pixGetWidth(pix.get()) != width || pixGetHeight(pix.get()) != height)
        return nullptr;
    return pix;
}

std::optional<std::vector<std::uint8_t>> encodedPNG(PIX* pix) {
    LeptonicaBuffer png;
    if (pixWriteMem(&png.bytes, &png.size, pix, IFF_PNG) != 0 || !png.bytes) {
        report("An image could not be encoded as PNG");
        return std::nullopt;
    }
    return std::vector<std::uint8_t>(png.bytes, png.bytes + png.size);
}

// Grey, and no larger than the budget: text that survives the reduction is still legible to
// the engine, and the time stays bounded.
Pix prepared(PIX* source, double pixelBudget) {
    Pix grey(pixConvertTo8(source, 0));
    if (!grey)
        return nullptr;
    const double pixels = double(pixGetWidth(grey.get())) * double(pixGetHeight(grey.get()));
    if (pixels <= pixelBudget)
        return grey;
    const auto scale = static_cast<l_float32>(std::sqrt(pixelBudget / pixels));
    return Pix(pixScaleGrayLI(grey.get(), scale, scale));
}

Pix fromGrey(const GreyImage& image) {
    if (image.width <= 0 || image.height <= 0 ||
        image.pixels.size() != static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height))
        return nullptr;
    Pix pix(pixCreate(image.width, image.height, 8));
    if (!pix)
        return nullptr;
    l_uint32* data = pixGetData(pix.get());
    const l_int32 wpl = pixGetWpl(pix.get());
    for (int y = 0; y < image.height; ++y) {
        const std::uint8_t* row = image.pixels.data() + static_cast<std::ptrdiff_t>(y) * image.width;
        l_uint32* line = data + static_cast<std::ptrdiff_t>(y) * wpl;
        for (int x = 0; x < image.width; ++x)
            SET_DATA_BYTE(line, x, row[x]);
    }
    return pix;
}

std::string trimmed(const char* text) {
    std::string_view view(text);
    const auto first = view.find_first_not_of(" \t\r\n\f\v");
    if (first == std::string_view::npos)
        return {};
    const auto last = view.find_last_not_of(" \t\r\n\f\v");
    return std::string(view.substr(first, last - first + 1));
}

bool stopRequested(void* token, int) {
    return static_cast<const std::stop_token*>(token)->stop_requested();
}

class TesseractRecognizer final : public ImageBackend::Recognizer {
public:
    // Loading the language data takes a tenth of a second or more; it runs on a thread of its
    // own so that the first image is decoded meanwhile. Only missing data fails here.
    bool start(const std::string& tessdata) {
        if (::access((std::filesystem::path(tessdata) / "eng.traineddata").c_str(), R_OK) != 0)
            return false;
        // Tesseract's own chatter would land on the user's terminal.
        api_.SetVariable("debug_file", "/dev/null");
        loading_ = std::async(std::launch::async, [this, tessdata] {
            return api_.Init(tessdata.c_str(), "eng", tesseract::OEM_LSTM_ONLY) == 0;
        });
        return true;
    }
    ~TesseractRecognizer() override {
        if (loading_.valid())
            loading_.wait();
        api_.End();
    }

    ImageBackend::Recognition recognize(std::span<const std::uint8_t> encoded, std::uint64_t maxPixels,
                                        double pixelBudget, const std::stop_token& stop) override {
        const Pix pix = decodeBounded(encoded, maxPixels);
        if (!pix)
            return {ImageBackend::Recognition::Status::undecodable, {}};
        return run(pix.get(), pixelBudget, stop);
    }

    ImageBackend::Recognition recognize(const GreyImage& image, double pixelBudget,
                                        const std::stop_token& stop) override {
        const Pix pix = fromGrey(image);
        if (!pix)
            return {ImageBackend::Recognition::Status::undecodable, {}};
        return run(pix.get(), pixelBudget, stop);
    }

private:
    tesseract::TessBaseAPI api_;
    std::future<bool> loading_;
    bool started_ = false;

    // Waits for the language data the first time; false for good when it could not be loaded.
    bool ready() {
        if (loading_.valid())
            started_ = loading_.get();
        return started_;
    }

    ImageBackend::Recognition run(PIX* source, double pixelBudget, const std::stop_token& stop) {
        using Status = ImageBackend::Recognition::Status;
        const Pix pix = prepared(source, pixelBudget);
        if (!pix)
            return {Status::undecodable, {}};
        if (!ready())
            return {Status::unavailable, {}};
        api_.SetImage(pix.get());
        // Tesseract's OpenMP teams make one recognition several times slower on a small, busy
        // machine (their threads spin waiting for each other): no parallel region of this thread
        // is active, whatever team size Tesseract asks for. The setting belongs to the calling
        // thread, so it is made for every call.
        omp_set_max_active_levels(0);
        tesseract::ETEXT_DESC monitor;
        monitor.cancel = stopRequested;
        monitor.cancel_this = const_cast<std::stop_token*>(&stop);
        const int status = api_.Recognize(&monitor);
        if (stop.stop_requested() || status != 0) {
            api_.Clear();
            return {stop.stop_requested() ? Status::cancelled : Status::failed, {}};
        }
        ImageBackend::Recognition result;
        const std::unique_ptr<tesseract::ResultIterator> iterator(api_.GetIterator());
        if (iterator) {
            do {
                const std::unique_ptr<char[]> raw(iterator->GetUTF8Text(tesseract::RIL_TEXTLINE));
                if (!raw)
                    continue;
                std::string line = trimmed(raw.get());
                if (line.empty())
                    continue;
                const double confidence =
                    std::clamp(iterator->Confidence(tesseract::RIL_TEXTLINE) / 100.0, 0.0, 1.0);
                result.lines.push_back({std::move(line), confidence});
            } while (iterator->Next(tesseract::RIL_TEXTLINE));
        }
        api_.Clear();
        return result;
    }
};

class LeptonicaImageBackend final : public ImageBackend {
public:
    void routeDiagnostics(DiagnosticSink sink) const override {
        diagnostics = sink;
        leptSetStderrHandler(
            [](const char* message) { report(std::string("Leptonica: ") + (message ? message : "")); });
    }

    std::unique_ptr<Recognizer> startRecognizer(const std::string& tessdata) const override {
        auto recognizer = std::make_unique<TesseractRecognizer>();
        if (!recognizer->start(tessdata))
            return nullptr;
        return recognizer;
    }

    std::optional<std::vector<std::uint8_t>> png(std::span<const std::uint8_t> encoded,
                                                 std::uint64_t maxPixels) const override {
        const Pix pix = decodeBounded(encoded, maxPixels);
        if (!pix)
            return std::nullopt;
        return encodedPNG(pix.get());
    }

    std::optional<std::vector<std::uint8_t>> thumbnail(std::span<const std::uint8_t> encoded,
                                                       std::uint64_t maxPixels,
                                                       int maxDimension) const override {
        const Pix pix = decodeBounded(encoded, maxPixels);
        if (!pix || maxDimension <= 0)
            return std::nullopt;
        const int width = pixGetWidth(pix.get()), height = pixGetHeight(pix.get());
        const double scale = std::min(double(maxDimension) / double(std::max(width, height)), 1.0);
        const int newWidth = std::max(1, static_cast<int>(scale * width));
        const int newHeight = std::max(1, static_cast<int>(scale * height));
        const Pix colour(pixConvertTo32(pix.get()));
        if (!colour)
            return std::nullopt;
        const Pix scaled(newWidth == width && newHeight == height
                             ? pixCopy(nullptr, colour.get())
                             : pixScaleToSize(colour.get(), newWidth, newHeight));
        if (!scaled || pixGetWidth(scaled.get()) != newWidth || pixGetHeight(scaled.get()) != newHeight)
            return std::nullopt;
        // Fully opaque RGBA.
        pixSetComponentArbitrary(scaled.get(), L_ALPHA_CHANNEL, 255);
        pixSetSpp(scaled.get(), 4);
        return encodedPNG(scaled.get());
    }
};

} // namespace
} // namespace tessellar

extern "C" __attribute__((visibility("default"))) void* tessellar_image_backend() {
    static tessellar::LeptonicaImageBackend backend;
    return static_cast<tessellar::ImageBackend*>(&backend);
}
