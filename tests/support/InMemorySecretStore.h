#pragma once

#include "kit/platform/SecretStore.h"

#include <map>
#include <mutex>
#include <utility>

namespace tessellar::testing {

// A credential store in memory. `failWith` makes every call fail with that status, as a
// missing or locked secret service would.
class InMemorySecretStore : public SecretStore {
public:
    Lookup lookup(std::string_view service, std::string_view account) override;
    Status store(std::string_view service, std::string_view account, std::string_view secret) override;
    Status remove(std::string_view service, std::string_view account) override;

    void failWith(Status status);
    std::size_t itemCount() const;

private:
    mutable std::mutex mutex_;
    std::map<std::pair<std::string, std::string>, std::string> items_;
    Status failure_ = Status::ok;
};

} // namespace tessellar::testing
