#pragma once

#include "kit/platform/SecretStore.h"
#include "support/Guard.h"

#include <map>
#include <utility>

namespace tessellar::testing {

// A credential store in memory. `failWith` makes every call fail with that status, as a
// missing or locked secret service would.
class InMemorySecretStore : public SecretStore {
public:
    Lookup lookup(std::string_view service, std::string_view account) override {
        return guard_.with([&]() -> Lookup {
            const auto it = items_.find(key(service, account));
            if (failure_ != Status::ok)
                return {failure_, std::nullopt};
            return it == items_.end() ? Lookup{Status::notFound, std::nullopt}
                                      : Lookup{Status::ok, it->second};
        });
    }
    Status store(std::string_view service, std::string_view account, std::string_view secret) override {
        return guard_.with([&] {
            if (failure_ == Status::ok)
                items_[key(service, account)] = std::string(secret);
            return failure_;
        });
    }
    Status remove(std::string_view service, std::string_view account) override {
        return guard_.with([&] {
            if (failure_ != Status::ok)
                return failure_;
            return items_.erase(key(service, account)) ? Status::ok : Status::notFound;
        });
    }

    void failWith(Status status) {
        guard_.with([&] { failure_ = status; });
    }
    std::size_t itemCount() const {
        return guard_.with([&] { return items_.size(); });
    }

private:
    using Key = std::pair<std::string, std::string>;
    static Key key(std::string_view service, std::string_view account) { return Key(service, account); }

    Guard guard_;
    std::map<Key, std::string> items_;
    Status failure_ = Status::ok;
};

} // namespace tessellar::testing
