#pragma once

#include "kit/capture/PdfBackend.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <stop_token>
#include <string>
#include <vector>

namespace tessellar {

// Leptonica and Tesseract behind the image module's boundary (modules/image), loaded the first
// time an image is decoded. Every decoder first reads the header and refuses an image of more
// than `maxPixels` unread, so a decompression bomb costs nothing.
class ImageBackend {
public:
    static constexpr const char* moduleFile = "libtessellar_image.so";
    static constexpr const char* entryPoint = "tessellar_image_backend";

    struct Line {
        std::string text;
        double confidence = 0; // 0–1
    };
    struct Recognition {
        // `unavailable`: the engine could not load its language data.
        enum class Status { done, undecodable, failed, cancelled, unavailable };
        Status status = Status::done;
        std::vector<Line> lines; // non-empty lines, trimmed, in reading order
    };

    // One Tesseract engine (English, LSTM), kept warm; not safe to use from two threads at once.
    class Recognizer {
    public:
        virtual ~Recognizer() = default;
        // Images of more than `pixelBudget` pixels are scaled down before recognition.
        virtual Recognition recognize(std::span<const std::uint8_t> encoded, std::uint64_t maxPixels,
                                      double pixelBudget, const std::stop_token& stop) = 0;
        virtual Recognition recognize(const GreyImage& image, double pixelBudget,
                                      const std::stop_token& stop) = 0;
    };

    using DiagnosticSink = void (*)(const char* message);

    virtual void routeDiagnostics(DiagnosticSink sink) const = 0;
    // Null when `tessdata` holds no English data; the data is loaded in the background, and a
    // recognition answers `unavailable` when that failed.
    virtual std::unique_ptr<Recognizer> startRecognizer(const std::string& tessdata) const = 0;
    // The image re-encoded as a plain PNG.
    virtual std::optional<std::vector<std::uint8_t>> png(std::span<const std::uint8_t> encoded,
                                                         std::uint64_t maxPixels) const = 0;
    // The image scaled to fit `maxDimension` on its longer side (never enlarged; each side
    // truncated, at least 1), as an opaque 8-bit RGBA PNG.
    virtual std::optional<std::vector<std::uint8_t>>
    thumbnail(std::span<const std::uint8_t> encoded, std::uint64_t maxPixels, int maxDimension) const = 0;

    // The loaded backend, its diagnostics in the log; null when the module can't be loaded.
    static const ImageBackend* get();

protected:
    ~ImageBackend() = default;
};

} // namespace tessellar
