#include "desktop/SecretServiceBackend.h"

#include <atomic>
#include <gio/gio.h>
#include <libsecret/secret.h>
#include <memory>
#include <string>

namespace tessellar {
namespace {

std::atomic<SecretServiceBackend::DiagnosticSink> diagnostics{nullptr};

const SecretSchema* schema() {
    // Matched by attributes only, so items written by other tools for the same pair are found.
    static const SecretSchema definition = {"org.tessellar.Tessellar.Secret",
                                            SECRET_SCHEMA_DONT_MATCH_NAME,
                                            {{"service", SECRET_SCHEMA_ATTRIBUTE_STRING},
                                             {"account", SECRET_SCHEMA_ATTRIBUTE_STRING},
                                             {nullptr, SECRET_SCHEMA_ATTRIBUTE_STRING}},
                                            0,
                                            nullptr,
                                            nullptr,
                                            nullptr,
                                            nullptr,
                                            nullptr,
                                            nullptr,
                                            nullptr};
    return &definition;
}

struct ErrorDeleter {
    void operator()(GError* error) const { g_error_free(error); }
};
struct PasswordDeleter {
    void operator()(gchar* password) const { secret_password_free(password); }
};
using ErrorPointer = std::unique_ptr<GError, ErrorDeleter>;

SecretStore::Status statusOf(const GError* error) {
    if (g_error_matches(error, SECRET_ERROR, SECRET_ERROR_IS_LOCKED))
        return SecretStore::Status::locked;
    if (g_error_matches(error, SECRET_ERROR, SECRET_ERROR_NO_SUCH_OBJECT))
        return SecretStore::Status::notFound;
    if (g_error_matches(error, G_DBUS_ERROR, G_DBUS_ERROR_ACCESS_DENIED) ||
        g_error_matches(error, G_IO_ERROR, G_IO_ERROR_PERMISSION_DENIED))
        return SecretStore::Status::denied;
    if (error->domain == G_DBUS_ERROR || error->domain == G_IO_ERROR || error->domain == G_SPAWN_ERROR)
        return SecretStore::Status::unavailable;
    return SecretStore::Status::failed;
}

SecretStore::Status failure(const char* operation, GError* raw) {
    const ErrorPointer error(raw);
    const SecretStore::Status status = statusOf(error.get());
    // The message names the operation and the service's complaint, never the secret.
    if (const auto sink = diagnostics.load())
        sink((std::string("Secret Service ") + operation + " failed: " + error->message).c_str());
    return status;
}

class LibsecretBackend final : public SecretServiceBackend {
public:
    void routeDiagnostics(DiagnosticSink sink) override { diagnostics = sink; }
    Lookup lookup(std::string_view service, std::string_view account) override;
    Status store(std::string_view service, std::string_view account, std::string_view secret) override;
    Status remove(std::string_view service, std::string_view account) override;
};

SecretStore::Lookup LibsecretBackend::lookup(std::string_view service, std::string_view account) {
    const std::string s(service), a(account);
    GError* error = nullptr;
    std::unique_ptr<gchar, PasswordDeleter> password(secret_password_lookup_sync(
        schema(), nullptr, &error, "service", s.c_str(), "account", a.c_str(), static_cast<char*>(nullptr)));
    if (error)
        return {failure("lookup", error), std::nullopt};
    if (!password)
        return {Status::notFound, std::nullopt};
    return {Status::ok, std::string(password.get())};
}

SecretStore::Status LibsecretBackend::store(std::string_view service, std::string_view account,
                                            std::string_view secret) {
    const std::string s(service), a(account), value(secret);
    const std::string label = "Tessellar: " + a;
    GError* error = nullptr;
    const gboolean stored = secret_password_store_sync(schema(), SECRET_COLLECTION_DEFAULT, label.c_str(),
                                                       value.c_str(), nullptr, &error, "service", s.c_str(),
                                                       "account", a.c_str(), static_cast<char*>(nullptr));
    if (error)
        return failure("store", error);
    return stored ? Status::ok : Status::failed;
}

SecretStore::Status LibsecretBackend::remove(std::string_view service, std::string_view account) {
    const std::string s(service), a(account);
    GError* error = nullptr;
    const gboolean removed = secret_password_clear_sync(schema(), nullptr, &error, "service", s.c_str(),
                                                        "account", a.c_str(), static_cast<char*>(nullptr));
    if (error)
        return failure("deletion", error);
    return removed ? Status::ok : Status::notFound;
}

} // namespace
} // namespace tessellar

extern "C" __attribute__((visibility("default"))) void* tessellar_secret_backend() {
    static tessellar::LibsecretBackend backend;
    return static_cast<tessellar::SecretServiceBackend*>(&backend);
}
