#include "kit/capture/PdfBackend.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <poppler-document.h>
#include <poppler-global.h>
#include <poppler-image.h>
#include <poppler-page-renderer.h>
#include <poppler-page.h>

namespace tessellar {
namespace {

std::atomic<PdfBackend::DiagnosticSink> diagnostics{nullptr};

class PopplerDocument final : public PdfBackend::Document {
public:
    explicit PopplerDocument(std::unique_ptr<poppler::document> document) : document_(std::move(document)) {}

    int pageCount() const override { return document_->pages(); }

    std::string pageText(int index) const override {
        const std::unique_ptr<poppler::page> page(document_->create_page(index));
        if (!page)
            return {};
        const auto bytes = page->text(poppler::rectf(), poppler::page::non_raw_non_physical_layout).to_utf8();
        return std::string(bytes.data(), bytes.size());
    }

    std::optional<GreyImage> renderPage(int index, std::uint64_t maxPixels) const override {
        return render<GreyImage>(index, maxPixels, poppler::image::format_gray8);
    }

    std::optional<ColourImage> renderPreview(int index, std::uint64_t maxPixels) const override {
        return render<ColourImage>(index, maxPixels, poppler::image::format_argb32);
    }

private:
    // Twice the media box (144 dpi), scaled down where that would pass `maxPixels`; rows copied
    // out of poppler's padded buffer.
    template <typename Image>
    std::optional<Image> render(int index, std::uint64_t maxPixels,
                                poppler::image::format_enum format) const {
        const std::unique_ptr<poppler::page> page(document_->create_page(index));
        if (!page)
            return std::nullopt;
        const poppler::rectf box = page->page_rect(poppler::media_box);
        double resolution = 144.0;
        const double pixels = std::max(1.0, box.width()) * std::max(1.0, box.height()) * 4.0;
        if (pixels > double(maxPixels))
            resolution *= std::sqrt(double(maxPixels) / pixels);
        poppler::page_renderer renderer;
        renderer.set_render_hint(poppler::page_renderer::antialiasing, true);
        renderer.set_render_hint(poppler::page_renderer::text_antialiasing, true);
        renderer.set_image_format(format);
        const poppler::image image = renderer.render_page(page.get(), resolution, resolution);
        if (!image.is_valid() || image.width() <= 0 || image.height() <= 0)
            return std::nullopt;
        using Pixel = typename decltype(Image::pixels)::value_type;
        Image out{image.width(), image.height(), {}};
        out.pixels.resize(static_cast<std::size_t>(out.width) * static_cast<std::size_t>(out.height));
        for (int y = 0; y < out.height; ++y) {
            const char* row = image.const_data() + static_cast<std::ptrdiff_t>(y) * image.bytes_per_row();
            std::memcpy(out.pixels.data() + static_cast<std::ptrdiff_t>(y) * out.width, row,
                        static_cast<std::size_t>(out.width) * sizeof(Pixel));
        }
        return out;
    }

    std::unique_ptr<poppler::document> document_;
};

class PopplerPdfBackend final : public PdfBackend {
public:
    void routeDiagnostics(DiagnosticSink sink) const override {
        diagnostics = sink;
        poppler::set_debug_error_function(
            [](const std::string& message, void*) {
                if (const auto sink = diagnostics.load())
                    sink(message.c_str());
            },
            nullptr);
    }

    std::unique_ptr<Document> open(const std::string& path) const override {
        std::unique_ptr<poppler::document> document(poppler::document::load_from_file(path));
        if (!document || document->is_locked())
            return nullptr;
        return std::make_unique<PopplerDocument>(std::move(document));
    }
};

} // namespace
} // namespace tessellar

extern "C" __attribute__((visibility("default"))) void* tessellar_pdf_backend() {
    static tessellar::PopplerPdfBackend backend;
    return static_cast<tessellar::PdfBackend*>(&backend);
}
