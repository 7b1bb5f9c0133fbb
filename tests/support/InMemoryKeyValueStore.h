#pragma once

#include "kit/platform/KeyValueStore.h"
#include "support/Guard.h"

#include <map>
#include <variant>

namespace tessellar::testing {

// A settings store in memory. Reads are strict: a value stored as one type does not read as
// another, so tests can plant values of the wrong type.
class InMemoryKeyValueStore : public KeyValueStore {
public:
    using Value = std::variant<bool, std::int64_t, std::string, std::vector<std::uint8_t>>;

    std::optional<bool> boolean(std::string_view key) const override { return get<bool>(key); }
    std::optional<std::int64_t> integer(std::string_view key) const override {
        return get<std::int64_t>(key);
    }
    std::optional<std::string> string(std::string_view key) const override { return get<std::string>(key); }
    std::optional<std::vector<std::uint8_t>> data(std::string_view key) const override {
        return get<std::vector<std::uint8_t>>(key);
    }

    void setBoolean(std::string_view key, bool value) override { put(key, value); }
    void setInteger(std::string_view key, std::int64_t value) override { put(key, value); }
    void setString(std::string_view key, std::string_view value) override { put(key, std::string(value)); }
    void setData(std::string_view key, const std::vector<std::uint8_t>& value) override { put(key, value); }
    void remove(std::string_view key) override { put(key, std::nullopt); }

    std::optional<Value> raw(std::string_view key) const {
        return guard_.with([&]() -> std::optional<Value> {
            const auto it = values_.find(key);
            return it == values_.end() ? std::nullopt : std::optional(it->second);
        });
    }
    std::size_t writes() const { return guard_.read(writes_); }

private:
    template <class T> std::optional<T> get(std::string_view key) const {
        const auto value = raw(key);
        return value && std::holds_alternative<T>(*value) ? std::optional(std::get<T>(*value)) : std::nullopt;
    }
    // Stores a value, or removes the key when there is none; either is a write.
    void put(std::string_view key, std::optional<Value> value) {
        guard_.with([&] {
            if (value)
                values_.insert_or_assign(std::string(key), std::move(*value));
            else if (const auto it = values_.find(key); it != values_.end())
                values_.erase(it);
            ++writes_;
        });
    }

    Guard guard_;
    std::map<std::string, Value, std::less<>> values_;
    std::size_t writes_ = 0;
};

} // namespace tessellar::testing
