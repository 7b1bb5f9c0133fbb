#pragma once

#include <filesystem>
#include <string>

namespace tessellar::app {

// Opening at login through the desktop's autostart folder: one desktop entry,
// $XDG_CONFIG_HOME/autostart/org.tessellar.Tessellar.desktop, present while the setting is on.
class AutostartEntry {
public:
    enum class Status {
        notRegistered, // no entry, or one the desktop is told to skip
        enabled,
        notFound, // an entry whose program no longer exists (a moved or removed build)
    };

    // `program` is the absolute path of the executable the entry starts.
    AutostartEntry(std::filesystem::path configHome, std::filesystem::path program);

    // $XDG_CONFIG_HOME when set and absolute, else ~/.config.
    static std::filesystem::path defaultConfigHome();

    const std::filesystem::path& file() const { return file_; }

    // Read from the file every time, so changes made elsewhere are seen.
    Status status() const;
    bool isEnabled() const { return status() == Status::enabled; }

    // Throw std::filesystem::filesystem_error (with the system's reason) when the file
    // cannot be written or removed; removing an absent entry is no error.
    void enable() const;
    void disable() const;

    // The file's text: a desktop entry that starts `program`.
    std::string contents() const;
    // `path` quoted for an Exec line when it needs to be.
    static std::string quotedForExec(const std::string& path);

private:
    std::filesystem::path file_;
    std::filesystem::path program_;
};

} // namespace tessellar::app
