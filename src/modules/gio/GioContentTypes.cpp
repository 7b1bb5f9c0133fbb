#include "kit/base/ContentTypeBackend.h"
#include "kit/base/MimeTypes.h"
#include "modules/gio/GlibHandles.h"

#include <unordered_set>

namespace tessellar {
namespace {

// GIO settles its MIME directories lazily, and settling them after the database was first
// used drops (and leaks) what was loaded. Settling them first keeps one database for the run.
void prepareDatabase() {
    static const bool prepared = g_content_type_get_mime_dirs() != nullptr;
    (void)prepared;
}

const std::unordered_set<std::string>& registeredTypes() {
    static const std::unordered_set<std::string> types = [] {
        std::unordered_set<std::string> out;
        GList* list = g_content_types_get_registered();
        for (GList* p = list; p != nullptr; p = p->next)
            out.emplace(static_cast<const char*>(p->data));
        g_list_free_full(list, g_free);
        return out;
    }();
    return types;
}

// GIO takes C strings: an embedded NUL would silently cut the name.
std::string cString(std::string_view text) {
    return std::string(text.substr(0, text.find('\0')));
}

class GioContentTypes final : public ContentTypeBackend {
public:
    std::optional<std::string> forFileName(std::string_view fileName) const override {
        prepareDatabase();
        const std::string name = cString(fileName);
        gboolean uncertain = FALSE;
        const glib::String guess(g_content_type_guess(name.c_str(), nullptr, 0, &uncertain));
        if (!guess || *guess.get() == '\0')
            return std::nullopt;
        // A type comes from the extension; with none, an uncertain guess is GIO's catch-all, not
        // a type the name gave. Names GIO knows whole ("Makefile") are certain and keep their type.
        const auto dot = fileName.rfind('.');
        const bool hasExtension = dot != std::string_view::npos && dot + 1 < fileName.size() &&
                                  fileName.find('/', dot) == std::string_view::npos;
        if (uncertain && !hasExtension)
            return std::nullopt;
        // On Linux content types are MIME types already; the call keeps that explicit.
        const glib::String mime(g_content_type_get_mime_type(guess.get()));
        if (!mime || !conformsTo(mime.get(), MimeTypes::data))
            return std::nullopt;
        return std::string(mime.get());
    }

    bool conformsTo(std::string_view type, std::string_view parent) const override {
        prepareDatabase();
        const std::string t = cString(type);
        const std::string p = cString(parent);
        if (t.empty() || p.empty())
            return false;
        return g_content_type_is_a(t.c_str(), p.c_str()) != FALSE;
    }

    std::optional<std::string> knownType(std::string_view identifier) const override {
        prepareDatabase();
        const std::string type(identifier);
        if (type.find('/') == std::string::npos || type.find('\0') != std::string::npos)
            return std::nullopt;
        if (registeredTypes().contains(type))
            return type;
        // Aliases are not listed but have a real description; an unknown type is described by
        // its own name ("application/x-foo type").
        const glib::String description(g_content_type_get_description(type.c_str()));
        if (description && std::string_view(description.get()).find(type) == std::string_view::npos)
            return type;
        return std::nullopt;
    }
};

} // namespace
} // namespace tessellar

extern "C" __attribute__((visibility("default"))) void* tessellar_content_types() {
    static tessellar::GioContentTypes backend;
    return static_cast<tessellar::ContentTypeBackend*>(&backend);
}
