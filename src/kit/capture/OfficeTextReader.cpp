#include "kit/capture/OfficeTextReader.h"

#include "kit/capture/MarkupBackend.h"

namespace tessellar {

std::optional<std::string> OfficeTextReader::plainText(const std::filesystem::path& file, Format format,
                                                       std::size_t maxXmlBytes, std::size_t maxTextBytes) {
    const MarkupBackend* backend = MarkupBackend::get();
    return backend ? backend->officeFileText(file.string(), format, maxXmlBytes, maxTextBytes) : std::nullopt;
}

std::optional<std::string> OfficeTextReader::plainText(std::string_view archive, Format format,
                                                       std::size_t maxXmlBytes, std::size_t maxTextBytes) {
    const MarkupBackend* backend = MarkupBackend::get();
    return backend ? backend->officeArchiveText(archive, format, maxXmlBytes, maxTextBytes) : std::nullopt;
}

std::optional<std::string> OfficeTextReader::textOfXml(std::string_view xml, Format format,
                                                       std::size_t maxTextBytes) {
    const MarkupBackend* backend = MarkupBackend::get();
    return backend ? backend->officeXmlText(xml, format, maxTextBytes) : std::nullopt;
}

} // namespace tessellar
