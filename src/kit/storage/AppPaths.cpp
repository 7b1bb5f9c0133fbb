#include "kit/storage/AppPaths.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace tessellar {
namespace {

std::filesystem::path homeDirectory() {
    if (const char* home = std::getenv("HOME"); home && *home)
        return home;
    if (const passwd* entry = getpwuid(getuid()); entry && entry->pw_dir)
        return entry->pw_dir;
    return std::filesystem::temp_directory_path();
}

} // namespace

std::filesystem::path AppPaths::supportDirectory() {
    // XDG says a relative XDG_DATA_HOME is invalid and must be ignored.
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    std::filesystem::path base;
    if (dataHome && *dataHome && std::filesystem::path(dataHome).is_absolute())
        base = dataHome;
    else
        base = homeDirectory() / ".local" / "share";
    return base / "Tessellar";
}

std::filesystem::path AppPaths::databasePath() {
    return supportDirectory() / "history.sqlite";
}

std::filesystem::path AppPaths::imagesDirectory() {
    return supportDirectory() / "Images";
}

} // namespace tessellar
