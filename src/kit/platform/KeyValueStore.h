#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessellar {

// The settings store: one value per dotted key ("general.retentionDays"). Each read gives the
// value only when it is present and readable as the asked-for type. Implementations are
// thread-safe and write through at once. The desktop one is an INI file; tests use memory.
class KeyValueStore {
public:
    virtual ~KeyValueStore() = default;

    virtual std::optional<bool> boolean(std::string_view key) const = 0;
    virtual std::optional<std::int64_t> integer(std::string_view key) const = 0;
    virtual std::optional<std::string> string(std::string_view key) const = 0;
    virtual std::optional<std::vector<std::uint8_t>> data(std::string_view key) const = 0;

    virtual void setBoolean(std::string_view key, bool value) = 0;
    virtual void setInteger(std::string_view key, std::int64_t value) = 0;
    virtual void setString(std::string_view key, std::string_view value) = 0;
    virtual void setData(std::string_view key, const std::vector<std::uint8_t>& value) = 0;
    virtual void remove(std::string_view key) = 0;
};

} // namespace tessellar
