#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace tessellar {

// The paragraph text of word-processor files: DOCX (word/document.xml) and ODT
// (content.xml), read through libzip and libxml2. At most `maxXmlBytes` of the document
// part are inflated, so a zip bomb costs no more than that; entities are never expanded and
// nothing is fetched.
class OfficeTextReader {
public:
    enum class Format { docx, odt };

    // Absent when the file is no such archive or its document part is missing.
    static std::optional<std::string> plainText(const std::filesystem::path& file, Format format,
                                                std::size_t maxXmlBytes, std::size_t maxTextBytes);
    // The same over an archive held in memory (the fuzz target's entry point).
    static std::optional<std::string> plainText(std::string_view archive, Format format,
                                                std::size_t maxXmlBytes, std::size_t maxTextBytes);
    // The text of a document part already inflated.
    static std::optional<std::string> textOfXml(std::string_view xml, Format format,
                                                std::size_t maxTextBytes);
};

} // namespace tessellar
