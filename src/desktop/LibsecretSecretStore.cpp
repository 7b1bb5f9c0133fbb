#include "desktop/LibsecretSecretStore.h"

#include "desktop/SecretServiceBackend.h"

namespace tessellar {

SecretStore::Lookup LibsecretSecretStore::lookup(std::string_view service, std::string_view account) {
    SecretServiceBackend* backend = SecretServiceBackend::get();
    return backend ? backend->lookup(service, account) : Lookup{Status::unavailable, std::nullopt};
}

SecretStore::Status LibsecretSecretStore::store(std::string_view service, std::string_view account,
                                                std::string_view secret) {
    SecretServiceBackend* backend = SecretServiceBackend::get();
    return backend ? backend->store(service, account, secret) : Status::unavailable;
}

SecretStore::Status LibsecretSecretStore::remove(std::string_view service, std::string_view account) {
    SecretServiceBackend* backend = SecretServiceBackend::get();
    return backend ? backend->remove(service, account) : Status::unavailable;
}

} // namespace tessellar
