#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tessellar {

// GIO's content types behind the GIO module's boundary (modules/gio), loaded the first time a
// file's type is asked for: a run that classifies text never maps GIO and the libraries under
// it. The contracts are MimeTypes', which calls it.
class ContentTypeBackend {
public:
    static constexpr const char* moduleFile = "libtessellar_gio.so";
    static constexpr const char* entryPoint = "tessellar_content_types";

    virtual std::optional<std::string> forFileName(std::string_view fileName) const = 0;
    virtual bool conformsTo(std::string_view type, std::string_view parent) const = 0;
    virtual std::optional<std::string> knownType(std::string_view identifier) const = 0;

    // The loaded backend; null when the module can't be loaded (logged once).
    static const ContentTypeBackend* get();

protected:
    ~ContentTypeBackend() = default;
};

} // namespace tessellar
