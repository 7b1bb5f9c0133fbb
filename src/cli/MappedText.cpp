#include "cli/MappedText.h"

#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace tessellar::cli {

std::optional<MappedText> MappedText::rest(int fd, std::size_t limit, std::size_t padding) {
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode))
        return std::nullopt;
    const off_t offset = ::lseek(fd, 0, SEEK_CUR);
    if (offset < 0 || offset >= status.st_size || std::size_t(status.st_size - offset) > limit)
        return std::nullopt;

    // A mapping starts on a page boundary, so the pages before the offset come along.
    const auto page = static_cast<off_t>(::sysconf(_SC_PAGESIZE));
    const off_t start = offset - offset % page;
    const auto skipped = static_cast<std::size_t>(offset - start);
    const auto size = static_cast<std::size_t>(status.st_size - offset);
    const std::size_t fileSpan = skipped + size;
    const std::size_t length =
        (fileSpan + padding + std::size_t(page) - 1) / std::size_t(page) * std::size_t(page);

    // Zeros for the whole span first, then the file laid over its start: the bytes past the end
    // of the file read as zeros whether they fall in its last page or after it.
    void* mapping = ::mmap(nullptr, length, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapping == MAP_FAILED)
        return std::nullopt;
    if (::mmap(mapping, fileSpan, PROT_READ, MAP_PRIVATE | MAP_FIXED | MAP_POPULATE, fd, start) ==
        MAP_FAILED) {
        ::munmap(mapping, length);
        return std::nullopt;
    }
    return MappedText(mapping, length, std::string_view(static_cast<const char*>(mapping) + skipped, size));
}

MappedText::MappedText(void* mapping, std::size_t length, std::string_view bytes)
    : mapping_(mapping), length_(length), bytes_(bytes) {}

MappedText::MappedText(MappedText&& other) noexcept
    : mapping_(std::exchange(other.mapping_, nullptr)), length_(std::exchange(other.length_, 0)),
      bytes_(std::exchange(other.bytes_, {})) {}

MappedText& MappedText::operator=(MappedText&& other) noexcept {
    if (this != &other) {
        if (mapping_)
            ::munmap(mapping_, length_);
        mapping_ = std::exchange(other.mapping_, nullptr);
        length_ = std::exchange(other.length_, 0);
        bytes_ = std::exchange(other.bytes_, {});
    }
    return *this;
}

MappedText::~MappedText() {
    if (mapping_)
        ::munmap(mapping_, length_);
}

} // namespace tessellar::cli
