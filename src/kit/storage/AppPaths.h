#pragma once

#include <filesystem>

namespace tessellar {

// Where Tessellar keeps its data: $XDG_DATA_HOME/Tessellar (default ~/.local/share/Tessellar).
class AppPaths {
public:
    static std::filesystem::path supportDirectory();
    static std::filesystem::path databasePath();    // supportDirectory / "history.sqlite"
    static std::filesystem::path imagesDirectory(); // supportDirectory / "Images"
};

} // namespace tessellar
