#pragma once

#include "kit/platform/KeyValueStore.h"

#include <filesystem>
#include <map>
#include <mutex>

namespace tessellar {

// The settings as an INI-style file ("key=value" lines, keys as the preferences name them).
// Read once at construction; every change rewrites the whole file atomically (a temporary
// file, fsync, rename), so a crash leaves the old file or the new one, never half of one.
// A value that does not read as the asked-for type counts as missing, key by key.
class IniKeyValueStore : public KeyValueStore {
public:
    explicit IniKeyValueStore(std::filesystem::path file);

    // $XDG_CONFIG_HOME/tessellar/tessellar.conf (XDG_CONFIG_HOME defaults to ~/.config).
    static std::filesystem::path defaultPath();

    const std::filesystem::path& file() const { return file_; }

    std::optional<bool> boolean(std::string_view key) const override;
    std::optional<std::int64_t> integer(std::string_view key) const override;
    std::optional<std::string> string(std::string_view key) const override;
    std::optional<std::vector<std::uint8_t>> data(std::string_view key) const override;

    void setBoolean(std::string_view key, bool value) override;
    void setInteger(std::string_view key, std::int64_t value) override;
    void setString(std::string_view key, std::string_view value) override;
    void setData(std::string_view key, const std::vector<std::uint8_t>& value) override;
    void remove(std::string_view key) override;

private:
    std::optional<std::string> text(std::string_view key) const;
    void put(std::string_view key, std::string value);
    // Writes the current values; failures are logged and the old file stays.
    void save(const std::map<std::string, std::string>& values) const;

    std::filesystem::path file_;
    mutable std::mutex mutex_;
    std::map<std::string, std::string, std::less<>> values_;
};

} // namespace tessellar
