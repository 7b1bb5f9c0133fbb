#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tessellar {

// A page rendered for recognition: one byte of grey a pixel, rows without padding.
struct GreyImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;
};

// A page rendered for showing: 0xAARRGGBB a pixel in native byte order, rows without padding.
struct ColourImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};

// poppler behind the PDF module's boundary (modules/pdf), loaded the first time a PDF is read.
class PdfBackend {
public:
    static constexpr const char* moduleFile = "libtessellar_pdf.so";
    static constexpr const char* entryPoint = "tessellar_pdf_backend";

    class Document {
    public:
        virtual ~Document() = default;
        virtual int pageCount() const = 0;
        // The page's text in reading order, as UTF-8; empty when it has none or can't be read.
        virtual std::string pageText(int index) const = 0;
        // The page at twice its media box (144 dpi), less where that would pass `maxPixels`.
        virtual std::optional<GreyImage> renderPage(int index, std::uint64_t maxPixels) const = 0;
        // The same page in colour, for a preview.
        virtual std::optional<ColourImage> renderPreview(int index, std::uint64_t maxPixels) const = 0;
    };

    using DiagnosticSink = void (*)(const char* message);

    // The library's own diagnostics go to `sink` instead of stderr.
    virtual void routeDiagnostics(DiagnosticSink sink) const = 0;
    // Null when the file can't be opened or needs a password.
    virtual std::unique_ptr<Document> open(const std::string& path) const = 0;

    // The loaded backend, its diagnostics in the log; null when the module can't be loaded.
    static const PdfBackend* get();

protected:
    ~PdfBackend() = default;
};

} // namespace tessellar
