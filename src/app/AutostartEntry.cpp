#include "app/AutostartEntry.h"

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace tessellar::app {
namespace {

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// The first word of an Exec line, with desktop-entry quoting undone.
std::string programOf(const std::string& exec) {
    std::string out;
    if (!exec.empty() && exec.front() == '"') {
        for (std::size_t i = 1; i < exec.size() && exec[i] != '"'; ++i) {
            if (exec[i] == '\\' && i + 1 < exec.size())
                ++i;
            out += exec[i];
        }
        return out;
    }
    return exec.substr(0, exec.find(' '));
}

} // namespace

AutostartEntry::AutostartEntry(std::filesystem::path configHome, std::filesystem::path program)
    : file_(std::move(configHome) / "autostart" / "org.tessellar.Tessellar.desktop"),
      program_(std::move(program)) {}

std::filesystem::path AutostartEntry::defaultConfigHome() {
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && config[0] == '/')
        return config;
    const char* home = std::getenv("HOME");
    return std::filesystem::path(home ? home : "/") / ".config";
}

std::string AutostartEntry::quotedForExec(const std::string& path) {
    if (path.find_first_of(" \t\"'\\`$;&|<>*?#()") == std::string::npos)
        return path;
    std::string out = "\"";
    for (char c : path) {
        if (c == '"' || c == '`' || c == '$' || c == '\\')
            out += '\\';
        out += c;
    }
    return out + "\"";
}

std::string AutostartEntry::contents() const {
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Tessellar\n"
           "Comment=Drop anything, get the next step\n"
           "Exec=" +
           quotedForExec(program_.string()) +
           "\n"
           "Icon=org.tessellar.Tessellar\n"
           "Terminal=false\n"
           "X-GNOME-Autostart-enabled=true\n";
}

AutostartEntry::Status AutostartEntry::status() const {
    std::ifstream in(file_);
    if (!in)
        return Status::notRegistered;
    bool inEntry = false;
    std::string exec;
    for (std::string line; std::getline(in, line);) {
        line = trimmed(line);
        if (line.starts_with('[')) {
            inEntry = line == "[Desktop Entry]";
            continue;
        }
        if (!inEntry)
            continue;
        const auto equals = line.find('=');
        if (equals == std::string::npos)
            continue;
        const auto key = trimmed(line.substr(0, equals));
        const auto value = trimmed(line.substr(equals + 1));
        // Both ways a desktop is told to skip an entry count as switched off.
        if ((key == "Hidden" && value == "true") || (key == "X-GNOME-Autostart-enabled" && value == "false"))
            return Status::notRegistered;
        if (key == "Exec")
            exec = value;
    }
    const auto program = programOf(exec);
    if (program.empty())
        return Status::notFound;
    // A bare name is looked up on PATH when the session starts; only a path can be checked.
    if (program.find('/') != std::string::npos && !std::filesystem::exists(program))
        return Status::notFound;
    return Status::enabled;
}

void AutostartEntry::enable() const {
    std::filesystem::create_directories(file_.parent_path());
    const auto temporary = std::filesystem::path(file_.string() + ".new");
    {
        std::ofstream out(temporary, std::ios::trunc);
        out << contents();
        out.flush();
        if (!out)
            throw std::filesystem::filesystem_error(
                "cannot write the autostart entry", temporary,
                std::error_code(errno ? errno : EIO, std::generic_category()));
    }
    std::filesystem::rename(temporary, file_);
}

void AutostartEntry::disable() const {
    std::filesystem::remove(file_);
}

} // namespace tessellar::app
