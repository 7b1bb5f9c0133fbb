#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tessellar {

// The user's credential store: one secret per (service, account). Calls block and may talk
// to another process, so they are made from worker threads only, never the GUI thread.
class SecretStore {
public:
    enum class Status {
        ok,
        notFound,    // no such item: not an error for lookups and deletions
        unavailable, // no secret service is running or reachable
        locked,      // the collection is locked and could not be unlocked
        denied,      // the user or the service refused
        failed
    };

    struct Lookup {
        Status status = Status::notFound;
        std::optional<std::string> secret; // present only with Status::ok
    };

    virtual ~SecretStore() = default;

    virtual Lookup lookup(std::string_view service, std::string_view account) = 0;
    // Creates the item or replaces its secret.
    virtual Status store(std::string_view service, std::string_view account, std::string_view secret) = 0;
    virtual Status remove(std::string_view service, std::string_view account) = 0;
};

} // namespace tessellar
