#include "support/InMemoryKeyValueStore.h"

namespace tessellar::testing {

void InMemoryKeyValueStore::remove(std::string_view key) {
    std::lock_guard lock(mutex_);
    if (const auto it = values_.find(key); it != values_.end())
        values_.erase(it);
    ++writes_;
}

std::optional<InMemoryKeyValueStore::Value> InMemoryKeyValueStore::raw(std::string_view key) const {
    std::lock_guard lock(mutex_);
    const auto it = values_.find(key);
    if (it == values_.end())
        return std::nullopt;
    return it->second;
}

std::size_t InMemoryKeyValueStore::writes() const {
    std::lock_guard lock(mutex_);
    return writes_;
}

void InMemoryKeyValueStore::put(std::string_view key, Value value) {
    std::lock_guard lock(mutex_);
    values_.insert_or_assign(std::string(key), std::move(value));
    ++writes_;
}

} // namespace tessellar::testing
