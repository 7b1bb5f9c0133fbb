#include "kit/base/MimeTypes.h"

#include "kit/base/ContentTypeBackend.h"

#include <array>
#include <utility>

namespace tessellar {
namespace {

// GIO has no reverse lookup from a type to its extension; these are the types the kit names.
constexpr std::array<std::pair<std::string_view, std::string_view>, 12> extensions{{
    {"image/png", "png"},
    {"image/tiff", "tiff"},
    {"image/jpeg", "jpeg"},
    {"image/gif", "gif"},
    {"image/heic", "heic"},
    {"image/webp", "webp"},
    {"image/bmp", "bmp"},
    {"application/pdf", "pdf"},
    {"application/rtf", "rtf"},
    {"text/rtf", "rtf"},
    {"text/plain", "txt"},
    {"application/json", "json"},
}};

} // namespace

std::optional<std::string> MimeTypes::forFileName(std::string_view fileName) {
    const ContentTypeBackend* backend = ContentTypeBackend::get();
    return backend ? backend->forFileName(fileName) : std::nullopt;
}

bool MimeTypes::conformsTo(std::string_view type, std::string_view parent) {
    // Without the database a type is known to conform to itself only.
    const ContentTypeBackend* backend = ContentTypeBackend::get();
    return backend ? backend->conformsTo(type, parent) : !type.empty() && type == parent;
}

std::optional<std::string> MimeTypes::knownType(std::string_view identifier) {
    const ContentTypeBackend* backend = ContentTypeBackend::get();
    return backend ? backend->knownType(identifier) : std::nullopt;
}

std::optional<std::string> MimeTypes::preferredExtension(std::string_view type) {
    for (const auto& [mime, extension] : extensions)
        if (mime == type)
            return std::string(extension);
    return std::nullopt;
}

} // namespace tessellar
