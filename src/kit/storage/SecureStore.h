#pragma once

#include "kit/platform/SecretStore.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace tessellar {

// Keeps the AI provider's API key in the user's credential store, out of the settings file.
// Failures are swallowed (the key then reads as absent next time); writeAPIKey reports
// whether the key was really saved, so a front end can say so. Calls block on the secret
// service: make them from worker threads.
class SecureStore {
public:
    static constexpr std::string_view defaultService = "org.tessellar.Tessellar";
    static constexpr std::string_view defaultAccount = "ai-api-key";

    SecureStore(std::shared_ptr<SecretStore> secrets, std::string service = std::string(defaultService),
                std::string account = std::string(defaultAccount));

    const std::string& service() const { return service_; }
    const std::string& account() const { return account_; }

    // Absent when there is no item, the lookup failed, or the secret is empty.
    std::optional<std::string> readAPIKey() const;
    // Stores the trimmed key; a blank key deletes the item. False when the store refused.
    bool writeAPIKey(std::string_view key) const;
    bool deleteAPIKey() const;

    // Shown when the key could not be saved (no secret service, locked, refused).
    static std::string unavailableMessage();

private:
    std::shared_ptr<SecretStore> secrets_;
    std::string service_;
    std::string account_;
};

} // namespace tessellar
