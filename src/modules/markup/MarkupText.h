#pragma once

#include "kit/capture/OfficeTextReader.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// The module's readers; the kit reaches them through MarkupBackend.
namespace tessellar::markup {

using Format = OfficeTextReader::Format;

std::optional<std::string> htmlText(std::string_view html, std::size_t maxBytes);
std::optional<std::string> officeXmlText(std::string_view xml, Format format, std::size_t maxTextBytes);
std::optional<std::string> officeFileText(const std::string& path, Format format, std::size_t maxXmlBytes,
                                          std::size_t maxTextBytes);
std::optional<std::string> officeArchiveText(std::string_view archive, Format format, std::size_t maxXmlBytes,
                                             std::size_t maxTextBytes);

} // namespace tessellar::markup
