#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace tessellar::cli {

// The rest of a regular file, from a descriptor's current offset to its end, mapped read-only
// instead of read: a paste of megabytes is then classified without being copied, and the pages
// the file already has in memory are used as they are. `padding` bytes of zeros are readable
// after the end. As with any mapped file, shortening the file while it is mapped ends the
// process; a command maps a file only for the moment it classifies it.
class MappedText {
public:
    // Absent when `fd` is no regular file, nothing or more than `limit` bytes are left, or the
    // system refuses the mapping: the caller reads the input instead.
    static std::optional<MappedText> rest(int fd, std::size_t limit, std::size_t padding);

    MappedText(MappedText&& other) noexcept;
    MappedText& operator=(MappedText&& other) noexcept;
    MappedText(const MappedText&) = delete;
    MappedText& operator=(const MappedText&) = delete;
    ~MappedText();

    std::string_view bytes() const { return bytes_; }

private:
    MappedText(void* mapping, std::size_t length, std::string_view bytes);

    void* mapping_ = nullptr;
    std::size_t length_ = 0;
    std::string_view bytes_;
};

} // namespace tessellar::cli
