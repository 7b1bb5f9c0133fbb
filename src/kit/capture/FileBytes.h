#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

namespace tessellar {

// Bounded reads of regular files. The file is opened without blocking (a FIFO or device
// never stalls the caller) and anything but a regular file is refused.
class FileBytes {
public:
    struct Prefix {
        std::string bytes;
        bool complete = false; // the whole file fitted under the limit
    };

    // At most `limit` bytes from the start of the file; absent when it is missing, not a
    // regular file, or cannot be read.
    static std::optional<Prefix> read(const std::filesystem::path& path, std::size_t limit);

    // Whether a regular file is at `path` now (symbolic links followed; a dangling link or a
    // loop is no file).
    static bool isRegularFile(const std::filesystem::path& path);
};

} // namespace tessellar
