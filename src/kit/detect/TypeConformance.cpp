#include "kit/detect/TypeConformance.h"

#include <gio/gio.h>
#include <memory>
#include <unordered_set>

namespace tessellar {
namespace {

struct GFree {
    void operator()(gchar* p) const { g_free(p); }
};
using GString = std::unique_ptr<gchar, GFree>;

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

} // namespace

std::optional<std::string> TypeConformance::knownType(std::string_view identifier) {
    prepareDatabase();
    const std::string type(identifier);
    if (type.find('/') == std::string::npos || type.find('\0') != std::string::npos)
        return std::nullopt;
    if (registeredTypes().contains(type))
        return type;
    // Aliases are not listed but have a real description; an unknown type is described by
    // its own name ("application/x-foo type").
    const GString description(g_content_type_get_description(type.c_str()));
    if (description && std::string_view(description.get()).find(type) == std::string_view::npos)
        return type;
    return std::nullopt;
}

std::string TypeConformance::typeForFilename(std::string_view filename) {
    prepareDatabase();
    const std::string name(filename.substr(0, filename.find('\0')));
    gboolean uncertain = FALSE;
    const GString guessed(g_content_type_guess(name.c_str(), nullptr, 0, &uncertain));
    return guessed ? std::string(guessed.get()) : std::string("application/octet-stream");
}

bool TypeConformance::conforms(std::string_view type, std::string_view supertype) {
    prepareDatabase();
    const std::string t(type.substr(0, type.find('\0')));
    const std::string s(supertype.substr(0, supertype.find('\0')));
    if (t.empty() || s.empty())
        return false;
    return g_content_type_is_a(t.c_str(), s.c_str()) != FALSE;
}

} // namespace tessellar
