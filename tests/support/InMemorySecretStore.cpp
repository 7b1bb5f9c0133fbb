#include "support/InMemorySecretStore.h"

namespace tessellar::testing {

SecretStore::Lookup InMemorySecretStore::lookup(std::string_view service, std::string_view account) {
    std::lock_guard lock(mutex_);
    if (failure_ != Status::ok)
        return {failure_, std::nullopt};
    const auto it = items_.find({std::string(service), std::string(account)});
    if (it == items_.end())
        return {Status::notFound, std::nullopt};
    return {Status::ok, it->second};
}

SecretStore::Status InMemorySecretStore::store(std::string_view service, std::string_view account,
                                               std::string_view secret) {
    std::lock_guard lock(mutex_);
    if (failure_ != Status::ok)
        return failure_;
    items_[{std::string(service), std::string(account)}] = std::string(secret);
    return Status::ok;
}

SecretStore::Status InMemorySecretStore::remove(std::string_view service, std::string_view account) {
    std::lock_guard lock(mutex_);
    if (failure_ != Status::ok)
        return failure_;
    return items_.erase({std::string(service), std::string(account)}) ? Status::ok : Status::notFound;
}

void InMemorySecretStore::failWith(Status status) {
    std::lock_guard lock(mutex_);
    failure_ = status;
}

std::size_t InMemorySecretStore::itemCount() const {
    std::lock_guard lock(mutex_);
    return items_.size();
}

} // namespace tessellar::testing
