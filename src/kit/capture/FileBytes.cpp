#include "kit/capture/FileBytes.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tessellar {
namespace {

struct FileDescriptor {
    int fd = -1;
    ~FileDescriptor() {
        if (fd >= 0)
            ::close(fd);
    }
};

} // namespace

std::optional<FileBytes::Prefix> FileBytes::read(const std::filesystem::path& path, std::size_t limit) {
    FileDescriptor file{::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY)};
    if (file.fd < 0)
        return std::nullopt;
    struct stat status {};
    if (::fstat(file.fd, &status) != 0 || !S_ISREG(status.st_mode))
        return std::nullopt;

    Prefix prefix;
    const auto size = static_cast<std::size_t>(status.st_size > 0 ? status.st_size : 0);
    prefix.bytes.reserve(std::min(size, limit));
    char buffer[65536];
    while (prefix.bytes.size() < limit) {
        const std::size_t wanted = std::min(sizeof buffer, limit - prefix.bytes.size());
        const ssize_t got = ::read(file.fd, buffer, wanted);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return std::nullopt;
        }
        if (got == 0) {
            prefix.complete = true;
            return prefix;
        }
        prefix.bytes.append(buffer, static_cast<std::size_t>(got));
    }
    // Exactly at the limit: complete only if nothing follows.
    char probe;
    ssize_t more;
    do {
        more = ::read(file.fd, &probe, 1);
    } while (more < 0 && errno == EINTR);
    prefix.complete = more == 0;
    return prefix;
}

bool FileBytes::isRegularFile(const std::filesystem::path& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

} // namespace tessellar
