#include "kit/capture/ImageStore.h"

#include "kit/base/Log.h"
#include "kit/capture/FileBytes.h"
#include "kit/capture/ImageBackend.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <fcntl.h>
#include <unistd.h>

namespace tessellar {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t maxImageFileBytes = 128 * 1024 * 1024;

[[noreturn]] void failWith(int error, const fs::path& path, const char* what) {
    throw fs::filesystem_error(what, path, std::error_code(error, std::generic_category()));
}

void writeAll(int fd, std::span<const std::uint8_t> data, const fs::path& path) {
    std::size_t written = 0;
    while (written < data.size()) {
        const ssize_t n = ::write(fd, data.data() + written, data.size() - written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            failWith(errno, path, "Couldn't write the image");
        written += static_cast<std::size_t>(n);
    }
}

} // namespace

ImageStore::ImageStore(fs::path directory) : directory_(std::move(directory)) {}

Url ImageStore::store(std::span<const std::uint8_t> data, const Uuid& id) const {
    fs::create_directories(directory_);
    const fs::path target = directory_ / (id.string() + ".png");
    // Written beside the target and renamed over it, so no reader sees half an image.
    std::string temporary = (directory_ / ("." + id.string() + ".XXXXXX")).string();
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0)
        failWith(errno, target, "Couldn't create the image");
    try {
        writeAll(fd, data, target);
        if (::fsync(fd) != 0)
            failWith(errno, target, "Couldn't write the image");
    } catch (...) {
        ::close(fd);
        ::unlink(temporary.c_str());
        throw;
    }
    ::close(fd);
    if (::rename(temporary.c_str(), target.c_str()) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        failWith(error, target, "Couldn't store the image");
    }
    return Url::fromFilePath(target);
}

std::optional<Url> ImageStore::storeThumbnail(const fs::path& file, const Uuid& id, int maxDimension) const {
    const auto bytes = FileBytes::read(file, maxImageFileBytes);
    if (!bytes || !bytes->complete)
        return std::nullopt;
    const auto png = downscaledPNG(
        std::span(reinterpret_cast<const std::uint8_t*>(bytes->bytes.data()), bytes->bytes.size()),
        maxDimension);
    if (!png)
        return std::nullopt;
    return store(*png, id);
}

void ImageStore::remove(const std::optional<Url>& url) const {
    if (!url || !url->isFileURL())
        return;
    // Compared as normalised paths, so "Images/../history.sqlite" is outside the folder.
    const fs::path file = url->filePath().lexically_normal();
    const fs::path folder = directory_.lexically_normal();
    const auto [end, _] = std::mismatch(folder.begin(), folder.end(), file.begin(), file.end());
    if (end != folder.end() || file == folder || file.filename().empty())
        return;
    std::error_code ignored;
    fs::remove(file, ignored);
}

void ImageStore::removeAll() const {
    std::error_code ignored;
    fs::remove_all(directory_, ignored);
}

std::optional<std::vector<std::uint8_t>> ImageStore::downscaledPNG(std::span<const std::uint8_t> image,
                                                                   int maxDimension) {
    if (image.empty() || maxDimension <= 0)
        return std::nullopt;
    const ImageBackend* backend = ImageBackend::get();
    if (!backend)
        return std::nullopt;
    return backend->thumbnail(image, maxPixels, maxDimension);
}

} // namespace tessellar
