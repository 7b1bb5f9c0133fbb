#include "kit/capture/MimeTypes.h"

#include <array>
#include <gio/gio.h>
#include <memory>
#include <utility>

namespace tessellar {
namespace {

struct GFreeDeleter {
    void operator()(gchar* text) const { g_free(text); }
};
using GText = std::unique_ptr<gchar, GFreeDeleter>;

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
    const std::string name(fileName);
    gboolean uncertain = FALSE;
    const GText guess(g_content_type_guess(name.c_str(), nullptr, 0, &uncertain));
    if (!guess || *guess.get() == '\0')
        return std::nullopt;
    // On Linux content types are MIME types already; the call keeps that explicit.
    const GText mime(g_content_type_get_mime_type(guess.get()));
    if (!mime || !conformsTo(mime.get(), data))
        return std::nullopt;
    return std::string(mime.get());
}

bool MimeTypes::conformsTo(std::string_view type, std::string_view parent) {
    const std::string t(type);
    const std::string p(parent);
    return g_content_type_is_a(t.c_str(), p.c_str()) != FALSE;
}

std::optional<std::string> MimeTypes::preferredExtension(std::string_view type) {
    for (const auto& [mime, extension] : extensions)
        if (mime == type)
            return std::string(extension);
    return std::nullopt;
}

} // namespace tessellar
