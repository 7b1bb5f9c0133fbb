#include "app/InstanceClient.h"

#include "app/BusNames.h"
#include "kit/base/Log.h"

#include <filesystem>
#include <gio/gio.h>
#include <memory>

namespace tessellar::app {
namespace {

struct ObjectUnref {
    void operator()(gpointer object) const { g_object_unref(object); }
};
struct ErrorFree {
    void operator()(GError* error) const { g_error_free(error); }
};
struct VariantUnref {
    void operator()(GVariant* variant) const { g_variant_unref(variant); }
};

} // namespace

InstanceClient::Outcome InstanceClient::forward(bool toggle, const std::vector<std::string>& paths) {
    GError* rawError = nullptr;
    const std::unique_ptr<GDBusConnection, ObjectUnref> bus(
        g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, &rawError));
    std::unique_ptr<GError, ErrorFree> error(rawError);
    if (!bus)
        return Outcome::notRunning;

    auto call = [&](const char* method, GVariant* arguments) {
        GError* callError = nullptr;
        const std::unique_ptr<GVariant, VariantUnref> reply(g_dbus_connection_call_sync(
            bus.get(), bus::serviceName, bus::objectPath, bus::interfaceName, method, arguments, nullptr,
            G_DBUS_CALL_FLAGS_NO_AUTO_START, 5000, nullptr, &callError));
        const std::unique_ptr<GError, ErrorFree> owned(callError);
        if (reply)
            return Outcome::delivered;
        if (g_error_matches(callError, G_DBUS_ERROR, G_DBUS_ERROR_SERVICE_UNKNOWN) ||
            g_error_matches(callError, G_DBUS_ERROR, G_DBUS_ERROR_NAME_HAS_NO_OWNER))
            return Outcome::notRunning;
        Log::error(Log::Category::ui,
                   std::string("The running instance did not answer: ") + callError->message);
        return Outcome::failed;
    };
    if (toggle)
        return call("Toggle", nullptr);
    if (paths.empty())
        return call("Show", nullptr);
    for (const std::string& path : paths) {
        std::error_code ignored;
        const std::string absolute = std::filesystem::absolute(path, ignored).string();
        if (const Outcome outcome = call("Analyze", g_variant_new("(s)", absolute.c_str()));
            outcome != Outcome::delivered)
            return outcome;
    }
    return Outcome::delivered;
}

} // namespace tessellar::app
