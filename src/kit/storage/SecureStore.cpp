#include "kit/storage/SecureStore.h"

#include "kit/base/Log.h"
#include "kit/text/StringHelpers.h"

namespace tessellar {
namespace {

std::string_view describe(SecretStore::Status status) {
    switch (status) {
    case SecretStore::Status::ok:
        return "ok";
    case SecretStore::Status::notFound:
        return "not found";
    case SecretStore::Status::unavailable:
        return "no secret service";
    case SecretStore::Status::locked:
        return "locked";
    case SecretStore::Status::denied:
        return "denied";
    case SecretStore::Status::failed:
        break;
    }
    return "failed";
}

// Only the outcome is logged, never the secret.
void logFailure(std::string_view operation, SecretStore::Status status) {
    Log::error(Log::Category::storage, std::string("API key ") + std::string(operation) +
                                           " failed: " + std::string(describe(status)));
}

} // namespace

SecureStore::SecureStore(std::shared_ptr<SecretStore> secrets, std::string service, std::string account)
    : secrets_(std::move(secrets)), service_(std::move(service)), account_(std::move(account)) {}

std::string SecureStore::unavailableMessage() {
    return "Tessellar couldn\u2019t save the API key because no keyring (Secret Service) is available, so AI "
           "stays on this computer.";
}

std::optional<std::string> SecureStore::readAPIKey() const {
    if (!secrets_)
        return std::nullopt;
    const SecretStore::Lookup found = secrets_->lookup(service_, account_);
    if (found.status != SecretStore::Status::ok) {
        if (found.status != SecretStore::Status::notFound)
            logFailure("lookup", found.status);
        return std::nullopt;
    }
    if (!found.secret || found.secret->empty())
        return std::nullopt;
    return found.secret;
}

bool SecureStore::writeAPIKey(std::string_view key) const {
    const std::string clean = trimmed(key);
    if (clean.empty())
        return deleteAPIKey();
    if (!secrets_)
        return false;
    const SecretStore::Status status = secrets_->store(service_, account_, clean);
    if (status != SecretStore::Status::ok) {
        logFailure("write", status);
        return false;
    }
    return true;
}

bool SecureStore::deleteAPIKey() const {
    if (!secrets_)
        return false;
    const SecretStore::Status status = secrets_->remove(service_, account_);
    if (status != SecretStore::Status::ok && status != SecretStore::Status::notFound) {
        logFailure("deletion", status);
        return false;
    }
    return true;
}

} // namespace tessellar
