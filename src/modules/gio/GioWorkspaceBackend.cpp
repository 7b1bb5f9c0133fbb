#include "desktop/WorkspaceBackend.h"
#include "modules/gio/GlibHandles.h"

#include <gio/gdesktopappinfo.h>

namespace tessellar {
namespace {

class GioWorkspaceBackend final : public WorkspaceBackend {
public:
    Problem openURI(const std::string& uri) const override {
        glib::ErrorSlot error;
        if (!g_app_info_launch_default_for_uri(uri.c_str(), nullptr, error.out()))
            return "no application opened " + uri + ": " + error.message();
        return std::nullopt;
    }

    Problem showItem(const std::string& uri, int timeoutMilliseconds) const override {
        glib::ErrorSlot error;
        const glib::String address(g_dbus_address_get_for_bus_sync(G_BUS_TYPE_SESSION, nullptr, error.out()));
        if (!address)
            return std::string("no session bus: ") + error.message();
        // A connection of our own, so a bus that goes away never takes the process with it.
        const glib::Object<GDBusConnection> connection(g_dbus_connection_new_for_address_sync(
            address.get(),
            static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                              G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
            nullptr, nullptr, error.out()));
        if (!connection)
            return std::string("couldn't reach the session bus: ") + error.message();

        const char* uris[] = {uri.c_str(), nullptr};
        GVariant* parameters = g_variant_new("(^ass)", uris, "");
        const glib::Variant reply(g_dbus_connection_call_sync(
            connection.get(), "org.freedesktop.FileManager1", "/org/freedesktop/FileManager1",
            "org.freedesktop.FileManager1", "ShowItems", parameters, nullptr, G_DBUS_CALL_FLAGS_NONE,
            timeoutMilliseconds, nullptr, error.out()));
        g_dbus_connection_close_sync(connection.get(), nullptr, nullptr);
        if (!reply)
            return std::string("the file manager didn't show the file: ") + error.message();
        return std::nullopt;
    }

    std::optional<std::string> applicationFile(const std::string& desktopID) const override {
        const glib::Object<GDesktopAppInfo> info(g_desktop_app_info_new(desktopID.c_str()));
        if (!info)
            return std::nullopt;
        const char* filename = g_desktop_app_info_get_filename(info.get());
        if (!filename)
            return std::nullopt;
        return std::string(filename);
    }

    Problem openWith(const std::string& uri, const std::string& desktopEntry) const override {
        const glib::Object<GDesktopAppInfo> info(g_desktop_app_info_new_from_filename(desktopEntry.c_str()));
        if (!info)
            return "no application at " + desktopEntry;
        GList uris{};
        uris.data = const_cast<char*>(uri.c_str());
        glib::ErrorSlot error;
        if (!g_app_info_launch_uris(G_APP_INFO(info.get()), &uris, nullptr, error.out()))
            return desktopEntry + " didn't open " + uri + ": " + error.message();
        return std::nullopt;
    }
};

} // namespace
} // namespace tessellar

extern "C" __attribute__((visibility("default"))) void* tessellar_workspace() {
    static tessellar::GioWorkspaceBackend backend;
    return static_cast<tessellar::WorkspaceBackend*>(&backend);
}
