#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tessellar {

// File types as MIME types from the shared-mime-info database (through GIO): what a type
// identifier names, what a file name's extension suggests, and conformance ("image/png"
// conforms to "image/*", "application/x-pdf" to "application/pdf").
class TypeConformance {
public:
    // The identifier when the database knows it (directly or as an alias), else absent.
    static std::optional<std::string> knownType(std::string_view identifier);

    // The type the database associates with the file name's extension;
    // "application/octet-stream" when it knows none.
    static std::string typeForFilename(std::string_view filename);

    static bool conforms(std::string_view type, std::string_view supertype);
    static bool isImage(std::string_view type) { return conforms(type, "image/*"); }
    static bool isPDF(std::string_view type) { return conforms(type, "application/pdf"); }
};

} // namespace tessellar
