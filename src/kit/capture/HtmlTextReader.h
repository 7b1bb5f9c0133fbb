#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tessellar {

// The visible text of an HTML document, through libxml2's forgiving HTML parser with the
// network off: block elements and line breaks become line feeds, the head, scripts and
// styles are left out, entities are decoded. Stops once `maxBytes` of text are collected.
class HtmlTextReader {
public:
    // Absent when libxml2 builds no document at all.
    static std::optional<std::string> plainText(std::string_view html, std::size_t maxBytes);
};

} // namespace tessellar
