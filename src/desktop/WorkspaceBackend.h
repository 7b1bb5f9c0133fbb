#pragma once

#include <optional>
#include <string>

namespace tessellar {

// GIO's applications and the session bus behind the GIO module's boundary (modules/gio),
// loaded the first time something is opened or an application is looked up. GioWorkspace calls
// it and logs the problems it reports.
class WorkspaceBackend {
public:
    static constexpr const char* moduleFile = "libtessellar_gio.so";
    static constexpr const char* entryPoint = "tessellar_workspace";

    // What went wrong, in a sentence for the log; absent when it worked.
    using Problem = std::optional<std::string>;

    // The default application for the URI's scheme or file type opens it.
    virtual Problem openURI(const std::string& uri) const = 0;
    // The file manager on the session bus shows the file selected.
    virtual Problem showItem(const std::string& uri, int timeoutMilliseconds) const = 0;
    // The desktop entry file of an installed application, by its desktop-file id.
    virtual std::optional<std::string> applicationFile(const std::string& desktopID) const = 0;
    // The application of a desktop entry file opens the URI.
    virtual Problem openWith(const std::string& uri, const std::string& desktopEntry) const = 0;

    // The loaded backend; null when the module can't be loaded (logged once).
    static const WorkspaceBackend* get();

protected:
    ~WorkspaceBackend() = default;
};

} // namespace tessellar
