#include "desktop/IniKeyValueStore.h"

#include "kit/base/Log.h"
#include "kit/storage/SettingsFileFormat.h"

#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <unistd.h>

namespace tessellar {
namespace {

namespace fs = std::filesystem;

// Closes a file descriptor when it goes out of scope.
struct Descriptor {
    int fd = -1;
    ~Descriptor() {
        if (fd >= 0)
            ::close(fd);
    }
};

bool writeAll(int fd, const std::string& bytes) {
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        written += static_cast<std::size_t>(n);
    }
    return true;
}

void logFailure(const std::string& what) {
    Log::error(Log::Category::storage, "Settings file " + what + ": " + std::strerror(errno));
}

} // namespace

fs::path IniKeyValueStore::defaultPath() {
    fs::path base;
    if (const char* config = std::getenv("XDG_CONFIG_HOME");
        config && *config && fs::path(config).is_absolute())
        base = config;
    else if (const char* home = std::getenv("HOME"); home && *home)
        base = fs::path(home) / ".config";
    else
        base = fs::temp_directory_path();
    return base / "tessellar" / "tessellar.conf";
}

IniKeyValueStore::IniKeyValueStore(fs::path file) : file_(std::move(file)) {
    std::ifstream in(file_, std::ios::binary);
    if (!in)
        return; // a missing file is the first start
    std::string text(settings_file::maximumBytes + 1, '\0');
    in.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<std::size_t>(in.gcount()));
    for (auto& [key, value] : settings_file::parse(text))
        values_.emplace(key, std::move(value));
}

std::optional<std::string> IniKeyValueStore::text(std::string_view key) const {
    std::lock_guard lock(mutex_);
    const auto it = values_.find(key);
    if (it == values_.end())
        return std::nullopt;
    return it->second;
}

std::optional<bool> IniKeyValueStore::boolean(std::string_view key) const {
    const auto value = text(key);
    if (value == "true")
        return true;
    if (value == "false")
        return false;
    return std::nullopt;
}

std::optional<std::int64_t> IniKeyValueStore::integer(std::string_view key) const {
    const auto value = text(key);
    if (!value || value->empty())
        return std::nullopt;
    std::int64_t number = 0;
    const char* begin = value->data();
    const char* end = begin + value->size();
    const auto [stop, error] = std::from_chars(begin, end, number);
    if (error != std::errc() || stop != end)
        return std::nullopt;
    return number;
}

std::optional<std::string> IniKeyValueStore::string(std::string_view key) const {
    return text(key);
}

std::optional<std::vector<std::uint8_t>> IniKeyValueStore::data(std::string_view key) const {
    const auto value = text(key);
    if (!value)
        return std::nullopt;
    return std::vector<std::uint8_t>(value->begin(), value->end());
}

void IniKeyValueStore::setBoolean(std::string_view key, bool value) {
    put(key, value ? "true" : "false");
}
void IniKeyValueStore::setInteger(std::string_view key, std::int64_t value) {
    put(key, std::to_string(value));
}
void IniKeyValueStore::setString(std::string_view key, std::string_view value) {
    put(key, std::string(value));
}
void IniKeyValueStore::setData(std::string_view key, const std::vector<std::uint8_t>& value) {
    put(key, std::string(value.begin(), value.end()));
}

void IniKeyValueStore::remove(std::string_view key) {
    std::map<std::string, std::string> snapshot;
    {
        std::lock_guard lock(mutex_);
        if (const auto it = values_.find(key); it != values_.end())
            values_.erase(it);
        snapshot.insert(values_.begin(), values_.end());
        save(snapshot);
    }
}

void IniKeyValueStore::put(std::string_view key, std::string value) {
    if (!settings_file::isValidKey(key)) {
        Log::error(Log::Category::storage, "Settings key refused: " + std::string(key));
        return;
    }
    std::lock_guard lock(mutex_);
    values_.insert_or_assign(std::string(key), std::move(value));
    // Saved under the lock so two writers cannot reorder their files.
    save({values_.begin(), values_.end()});
}

void IniKeyValueStore::save(const std::map<std::string, std::string>& values) const {
    std::error_code error;
    fs::create_directories(file_.parent_path(), error);
    const fs::path temporary = file_.string() + ".tmp-" + std::to_string(::getpid());
    const std::string bytes = settings_file::serialize(values);
    {
        Descriptor out{::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600)};
        if (out.fd < 0) {
            logFailure("could not be created");
            return;
        }
        if (!writeAll(out.fd, bytes) || ::fsync(out.fd) != 0) {
            logFailure("could not be written");
            ::unlink(temporary.c_str());
            return;
        }
    }
    if (::rename(temporary.c_str(), file_.c_str()) != 0) {
        logFailure("could not be replaced");
        ::unlink(temporary.c_str());
        return;
    }
    Descriptor directory{::open(file_.parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)};
    if (directory.fd >= 0)
        ::fsync(directory.fd);
}

} // namespace tessellar
