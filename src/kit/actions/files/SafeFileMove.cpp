#include "kit/actions/files/SafeFileMove.h"

#include "kit/base/Uuid.h"
#include "kit/suggest/FilenameGenerator.h"
#include "kit/text/Splitting.h"

#include <cerrno>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace tessellar::SafeFileMove {
namespace {

// Far beyond any real clash; stops a folder that refuses every name from spinning forever.
constexpr int maxAttempts = 100'000;

[[noreturn]] void fail(int error, const std::string& what) {
    throw std::system_error(error, std::generic_category(), what);
}

class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }
    // Closes now so that a failed close is seen.
    int close() {
        const int result = ::close(fd_);
        fd_ = -1;
        return result;
    }

private:
    int fd_;
};

enum class Placed { done, taken, otherFileSystem };

bool refusesNoReplace(int error) {
    return error == EINVAL || error == ENOSYS || error == EOPNOTSUPP || error == ENOTSUP;
}
bool refusesLinks(int error) {
    return error == EPERM || error == EOPNOTSUPP || error == ENOTSUP || error == EMLINK;
}

// Puts `source` at `target` unless `target` exists. Where the file system knows neither
// no-replace renames nor hard links, an exclusively created placeholder reserves the name
// before the plain rename replaces that placeholder only.
Placed place(const std::filesystem::path& source, const std::filesystem::path& target) {
    if (::renameat2(AT_FDCWD, source.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0)
        return Placed::done;
    int error = errno;
    if (error == EEXIST)
        return Placed::taken;
    if (error == EXDEV)
        return Placed::otherFileSystem;
    if (!refusesNoReplace(error))
        fail(error, "rename " + source.string());

    if (::link(source.c_str(), target.c_str()) == 0) {
        if (::unlink(source.c_str()) != 0) {
            error = errno;
            ::unlink(target.c_str());
            fail(error, "unlink " + source.string());
        }
        return Placed::done;
    }
    error = errno;
    if (error == EEXIST)
        return Placed::taken;
    if (error == EXDEV)
        return Placed::otherFileSystem;
    if (!refusesLinks(error))
        fail(error, "link " + source.string());

    const int reserved = ::open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (reserved < 0) {
        error = errno;
        if (error == EEXIST)
            return Placed::taken;
        fail(error, "create " + target.string());
    }
    ::close(reserved);
    if (::rename(source.c_str(), target.c_str()) != 0) {
        error = errno;
        ::unlink(target.c_str());
        if (error == EXDEV)
            return Placed::otherFileSystem;
        fail(error, "rename " + source.string());
    }
    return Placed::done;
}

void copyContents(int from, int to, const std::filesystem::path& source) {
    char buffer[1 << 16];
    for (;;) {
        const ssize_t got = ::read(from, buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            fail(errno, "read " + source.string());
        }
        if (got == 0)
            return;
        for (ssize_t written = 0; written < got;) {
            const ssize_t put = ::write(to, buffer + written, static_cast<std::size_t>(got - written));
            if (put < 0) {
                if (errno == EINTR)
                    continue;
                fail(errno, "write copy of " + source.string());
            }
            written += put;
        }
    }
}

// A synced copy of `source` under a hidden name inside `folder`; removed again on failure.
std::filesystem::path stagedCopy(const std::filesystem::path& source, const std::filesystem::path& folder) {
    const FileDescriptor in(::open(source.c_str(), O_RDONLY | O_CLOEXEC));
    if (in.get() < 0)
        fail(errno, "open " + source.string());
    struct stat info {};
    if (::fstat(in.get(), &info) != 0)
        fail(errno, "stat " + source.string());
    if (!S_ISREG(info.st_mode))
        fail(EISDIR, "copy " + source.string());

    const std::filesystem::path temporary = folder / (".tessellar-move-" + Uuid::random().string());
    FileDescriptor out(
        ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, info.st_mode & 07777));
    if (out.get() < 0)
        fail(errno, "create " + temporary.string());
    try {
        copyContents(in.get(), out.get(), source);
        if (::fsync(out.get()) != 0)
            fail(errno, "sync " + temporary.string());
        if (out.close() != 0)
            fail(errno, "close " + temporary.string());
    } catch (...) {
        ::unlink(temporary.c_str());
        throw;
    }
    return temporary;
}

void syncFolder(const std::filesystem::path& folder) {
    const FileDescriptor directory(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (directory.get() >= 0)
        ::fsync(directory.get());
}

std::filesystem::path moveAcross(const std::filesystem::path& source, const std::filesystem::path& folder,
                                 std::string_view name, int firstAttempt) {
    const std::filesystem::path temporary = stagedCopy(source, folder);
    try {
        for (int attempt = firstAttempt; attempt <= maxAttempts; ++attempt) {
            const std::filesystem::path target = folder / alternativeName(name, attempt);
            const Placed placed = place(temporary, target);
            if (placed == Placed::taken)
                continue;
            if (placed == Placed::otherFileSystem)
                fail(EXDEV, "rename " + temporary.string());
            syncFolder(folder);
            if (::unlink(source.c_str()) != 0) {
                // Keep exactly one copy: the original stays, the new one goes.
                const int error = errno;
                ::unlink(target.c_str());
                fail(error, "unlink " + source.string());
            }
            return target;
        }
        fail(EEXIST, "no free name for " + std::string(name));
    } catch (...) {
        ::unlink(temporary.c_str());
        throw;
    }
}

} // namespace

std::string alternativeName(std::string_view name, int attempt) {
    if (attempt <= 1)
        return std::string(name);
    const auto [stem, extension] = splitFileName(name);
    std::string result(stem);
    result += '-';
    result += std::to_string(attempt);
    if (!extension.empty()) {
        result += '.';
        result += extension;
    }
    return result;
}

std::filesystem::path moveInto(const std::filesystem::path& source, const std::filesystem::path& folder,
                               std::string_view name) {
    if (name.empty() || name.find('/') != std::string_view::npos ||
        name.find('\0') != std::string_view::npos || name == "." || name == "..")
        fail(EINVAL, "invalid file name");
    // Start from the first name the generator sees as free, then walk on past any name
    // another mover took in the meantime.
    const std::string first = FilenameGenerator::uniqueURL(name, folder).filename().string();
    int attempt = 1;
    while (attempt < 100 && alternativeName(name, attempt) != first)
        ++attempt;
    if (attempt == 100)
        attempt = 1;
    for (; attempt <= maxAttempts; ++attempt) {
        const std::filesystem::path target = folder / alternativeName(name, attempt);
        switch (place(source, target)) {
        case Placed::done:
            return target;
        case Placed::taken:
            continue;
        case Placed::otherFileSystem:
            return moveAcross(source, folder, name, attempt);
        }
    }
    fail(EEXIST, "no free name for " + std::string(name));
}

} // namespace tessellar::SafeFileMove
