#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tessellar {

// File and data types are MIME types from the shared-mime-info database (through GIO).
class MimeTypes {
public:
    static constexpr std::string_view png = "image/png";
    static constexpr std::string_view tiff = "image/tiff";
    static constexpr std::string_view pdf = "application/pdf";
    static constexpr std::string_view rtf = "text/rtf";
    static constexpr std::string_view plainText = "text/plain";
    static constexpr std::string_view uriList = "text/uri-list";
    // Every file type conforms to it: "any data".
    static constexpr std::string_view data = "application/octet-stream";
    // Every image type conforms to it.
    static constexpr std::string_view anyImage = "image/*";

    // The type the database associates with a file name (by its extension or whole name),
    // as a data type. Names it cannot place come back as "application/octet-stream";
    // absent only when the database gives nothing at all.
    static std::optional<std::string> forFileName(std::string_view fileName);

    // Whether `type` is `parent` or a subtype of it; `parent` may be a wildcard ("image/*").
    static bool conformsTo(std::string_view type, std::string_view parent);
    static bool isImage(std::string_view type) { return conformsTo(type, anyImage); }
    static bool isPDF(std::string_view type) { return conformsTo(type, pdf); }

    // The identifier when the database knows it (directly or as an alias), else absent.
    static std::optional<std::string> knownType(std::string_view identifier);

    // The usual file-name extension of a type ("png" for image/png), when one is known.
    static std::optional<std::string> preferredExtension(std::string_view type);
};

} // namespace tessellar
