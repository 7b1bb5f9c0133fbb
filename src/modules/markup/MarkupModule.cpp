#include "kit/capture/MarkupBackend.h"
#include "modules/markup/MarkupText.h"

namespace tessellar {
namespace {

class LibxmlMarkupBackend final : public MarkupBackend {
public:
    std::optional<std::string> htmlText(std::string_view html, std::size_t maxBytes) const override {
        return markup::htmlText(html, maxBytes);
    }
    std::optional<std::string> officeFileText(const std::string& path, Format format, std::size_t maxXmlBytes,
                                              std::size_t maxTextBytes) const override {
        return markup::officeFileText(path, format, maxXmlBytes, maxTextBytes);
    }
    std::optional<std::string> officeArchiveText(std::string_view archive, Format format,
                                                 std::size_t maxXmlBytes,
                                                 std::size_t maxTextBytes) const override {
        return markup::officeArchiveText(archive, format, maxXmlBytes, maxTextBytes);
    }
    std::optional<std::string> officeXmlText(std::string_view xml, Format format,
                                             std::size_t maxTextBytes) const override {
        return markup::officeXmlText(xml, format, maxTextBytes);
    }
};

} // namespace
} // namespace tessellar

extern "C" __attribute__((visibility("default"))) void* tessellar_markup_backend() {
    static tessellar::LibxmlMarkupBackend backend;
    return static_cast<tessellar::MarkupBackend*>(&backend);
}
