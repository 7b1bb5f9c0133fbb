#include "desktop/GioWorkspace.h"

#include "desktop/GlibHandles.h"
#include "kit/base/Log.h"

#include <gio/gdesktopappinfo.h>
#include <string>

namespace tessellar {
namespace {

constexpr auto category = Log::Category::actions;

} // namespace

GioWorkspace::GioWorkspace(std::chrono::milliseconds busTimeout) : busTimeout_(busTimeout) {}

bool GioWorkspace::open(const Url& url) {
    glib::ErrorSlot error;
    if (!g_app_info_launch_default_for_uri(url.absoluteString().c_str(), nullptr, error.out())) {
        Log::notice(category, "no application opened " + url.absoluteString() + ": " + error.message());
        return false;
    }
    return true;
}

bool GioWorkspace::activateFileViewerSelecting(const Url& fileURL) {
    if (showInFileManager(fileURL))
        return true;
    // Without a file manager that selects files, showing the folder is the next best thing.
    const auto folder = Url::fromFilePath(fileURL.filePath().parent_path());
    return open(folder);
}

bool GioWorkspace::showInFileManager(const Url& fileURL) const {
    glib::ErrorSlot error;
    const glib::String address(g_dbus_address_get_for_bus_sync(G_BUS_TYPE_SESSION, nullptr, error.out()));
    if (!address) {
        Log::notice(category, std::string("no session bus: ") + error.message());
        return false;
    }
    // A connection of our own, so a bus that goes away never takes the process with it.
    const glib::Object<GDBusConnection> connection(g_dbus_connection_new_for_address_sync(
        address.get(),
        static_cast<GDBusConnectionFlags>(G_DBUS_CONNECTION_FLAGS_AUTHENTICATION_CLIENT |
                                          G_DBUS_CONNECTION_FLAGS_MESSAGE_BUS_CONNECTION),
        nullptr, nullptr, error.out()));
    if (!connection) {
        Log::notice(category, std::string("couldn't reach the session bus: ") + error.message());
        return false;
    }

    const char* uris[] = {fileURL.absoluteString().c_str(), nullptr};
    GVariant* parameters = g_variant_new("(^ass)", uris, "");
    const glib::Variant reply(g_dbus_connection_call_sync(
        connection.get(), "org.freedesktop.FileManager1", "/org/freedesktop/FileManager1",
        "org.freedesktop.FileManager1", "ShowItems", parameters, nullptr, G_DBUS_CALL_FLAGS_NONE,
        static_cast<gint>(busTimeout_.count()), nullptr, error.out()));
    g_dbus_connection_close_sync(connection.get(), nullptr, nullptr);
    if (!reply) {
        Log::notice(category, std::string("the file manager didn't show the file: ") + error.message());
        return false;
    }
    return true;
}

std::optional<Url> GioWorkspace::urlForApplication(std::string_view identifier) {
    const std::string desktopID = std::string(identifier) + ".desktop";
    const glib::Object<GDesktopAppInfo> info(g_desktop_app_info_new(desktopID.c_str()));
    if (!info)
        return std::nullopt;
    const char* filename = g_desktop_app_info_get_filename(info.get());
    if (!filename)
        return std::nullopt;
    return Url::fromFilePath(filename);
}

bool GioWorkspace::open(const Url& fileURL, const Url& applicationURL) {
    const std::string entry = applicationURL.filePath().string();
    const glib::Object<GDesktopAppInfo> info(g_desktop_app_info_new_from_filename(entry.c_str()));
    if (!info) {
        Log::notice(category, "no application at " + entry);
        return false;
    }
    GList uris{};
    uris.data = const_cast<char*>(fileURL.absoluteString().c_str());
    glib::ErrorSlot error;
    if (!g_app_info_launch_uris(G_APP_INFO(info.get()), &uris, nullptr, error.out())) {
        Log::notice(category, entry + " didn't open " + fileURL.absoluteString() + ": " + error.message());
        return false;
    }
    return true;
}

} // namespace tessellar
