#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tessellar {

// Reads the plain text out of an RTF document: paragraphs and line breaks become line feeds,
// tabs stay tabs, escaped and Unicode characters are decoded (with the document's and the
// fonts' code pages), and non-text parts (font and colour tables, style sheets, document
// information, pictures, field instructions, ignorable destinations) are left out.
// Linear in the input; malformed input gives whatever text it holds, never an error.
class RtfTextReader {
public:
    // Absent when the bytes are not RTF (they must begin with "{\rtf").
    static std::optional<std::string> plainText(std::string_view rtf);
};

} // namespace tessellar
