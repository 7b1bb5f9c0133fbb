#pragma once

#include "kit/capture/OfficeTextReader.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tessellar {

// libxml2 and libzip behind the markup module's boundary (modules/markup), loaded the first
// time an HTML page or a word-processor file is read. Limits as in HtmlTextReader and
// OfficeTextReader, which call it.
class MarkupBackend {
public:
    static constexpr const char* moduleFile = "libtessellar_markup.so";
    static constexpr const char* entryPoint = "tessellar_markup_backend";

    using Format = OfficeTextReader::Format;

    virtual std::optional<std::string> htmlText(std::string_view html, std::size_t maxBytes) const = 0;
    virtual std::optional<std::string> officeFileText(const std::string& path, Format format,
                                                      std::size_t maxXmlBytes,
                                                      std::size_t maxTextBytes) const = 0;
    virtual std::optional<std::string> officeArchiveText(std::string_view archive, Format format,
                                                         std::size_t maxXmlBytes,
                                                         std::size_t maxTextBytes) const = 0;
    virtual std::optional<std::string> officeXmlText(std::string_view xml, Format format,
                                                     std::size_t maxTextBytes) const = 0;

    // The loaded backend; null when the module can't be loaded (logged once).
    static const MarkupBackend* get();

protected:
    ~MarkupBackend() = default;
};

} // namespace tessellar
