#pragma once

#include "kit/capture/ImageBackend.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <stop_token>
#include <string>

namespace tessellar {

class TessellarError;

// Recognises printed English text with Tesseract 5 (LSTM engine), line by line. One engine
// per service, started on first use and kept warm; calls run one at a time, each on one
// thread (Tesseract's OpenMP teams only slow a recognition down on a small, busy machine).
// Images are decoded by Leptonica after their header has been checked, so a decompression
// bomb is refused before any pixel is decoded. Errors are TessellarError; a stop request throws
// Cancelled.
class OCRService {
public:
    struct Result {
        std::string text;        // the recognised lines joined with "\n"
        double confidence = 0.0; // mean line confidence, 0–1; 0 when nothing was read
        bool isEmpty() const;
        bool operator==(const Result&) const = default;
    };

    // Scanned PDFs are recognised on at most this many pages, rendered at twice the media box.
    static constexpr int maxScannedPages = 2;
    // Images with more pixels than this are refused unread.
    static constexpr std::uint64_t maxPixels = 60'000'000;
    // Image files larger than this are not read.
    static constexpr std::size_t maxImageFileBytes = 128 * 1024 * 1024;

    // `tessdata` holds eng.traineddata; by default $TESSDATA_PREFIX, else Debian's folder.
    explicit OCRService(std::filesystem::path tessdata = defaultTessdata());
    ~OCRService();
    OCRService(const OCRService&) = delete;
    OCRService& operator=(const OCRService&) = delete;

    // Image bytes; "Couldn’t read that image." when they are no image Leptonica decodes.
    Result recognizeText(std::span<const std::uint8_t> imageData, std::stop_token stop = {});
    // An image file, or a PDF (by its ".pdf" extension) recognised as scanned pages.
    Result recognizeText(const std::filesystem::path& file, std::stop_token stop = {});
    Result recognizeTextInScannedPDF(const std::filesystem::path& file, int maxPages,
                                     std::stop_token stop = {});

    static std::filesystem::path defaultTessdata();

private:
    struct Engine;
    using RecognizeWith = std::function<ImageBackend::Recognition(ImageBackend::Recognizer&)>;

    // Runs `run` on the warm engine (started on first use) and turns its outcome into a
    // result; an image the engine can't decode throws `unreadable`.
    Result recognize(const RecognizeWith& run, const TessellarError& unreadable, const std::stop_token& stop);

    std::filesystem::path tessdata_;
    std::mutex mutex_; // guards engine_ and serialises recognition
    std::unique_ptr<Engine> engine_;
};

} // namespace tessellar
