#pragma once

#include "kit/base/Url.h"
#include "kit/base/Uuid.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

namespace tessellar {

// Copies of captured images: one PNG per item in one folder, named by the item's
// upper-case UUID. A value; safe to use from any thread.
class ImageStore {
public:
    // Images larger than this many pixels are not thumbnailed (they are not decoded at all).
    static constexpr std::uint64_t maxPixels = 60'000'000;

    // The application's folder is AppPaths::imagesDirectory() ($XDG_DATA_HOME/Tessellar/Images).
    explicit ImageStore(std::filesystem::path directory);

    const std::filesystem::path& directory() const { return directory_; }

    // Writes `data` as it is, atomically, to "<ID>.png" (creating the folder) and returns
    // the file's URL. Throws std::filesystem::filesystem_error when it cannot.
    Url store(std::span<const std::uint8_t> data, const Uuid& id) const;
    // The image at `file` scaled to fit `maxDimension` and stored; absent when the file
    // is no image that can be read. Throws as `store` does.
    std::optional<Url> storeThumbnail(const std::filesystem::path& file, const Uuid& id,
                                      int maxDimension) const;
    // Deletes the file when it lies inside the folder; anything else is left alone. Never fails.
    void remove(const std::optional<Url>& url) const;
    // Deletes the folder and everything in it. Never fails.
    void removeAll() const;

    // The image scaled to fit `maxDimension` on its longer side (never enlarged; each side
    // truncated, at least 1), as an opaque 8-bit RGBA PNG. Absent when it cannot be decoded.
    static std::optional<std::vector<std::uint8_t>> downscaledPNG(std::span<const std::uint8_t> image,
                                                                  int maxDimension);

private:
    std::filesystem::path directory_;
};

} // namespace tessellar
