#pragma once

#include <optional>
#include <string_view>

namespace tessellar {

// A URL scheme the link scanner recognises when it is written out in text.
struct LinkScheme {
    enum class Form {
        hierarchical, // "scheme://authority/path": a host is required (file: may leave it empty)
        mail,         // "mailto:local@domain[?query]"
        opaque,       // "scheme:rest" without an authority (tel:, geo:, magnet: …)
    };

    std::string_view name; // lower case
    Form form = Form::hierarchical;

    // The scheme of that lower-case name, when the scanner knows it.
    static std::optional<LinkScheme> find(std::string_view lowerName);

    // Longest name in the table: the scanner never reads further looking for a colon.
    static constexpr std::size_t maximumNameLength = 8;
};

} // namespace tessellar
