#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace tessellar {

// Re-encodes image bytes (TIFF, PNG, JPEG … whatever Leptonica decodes) as a plain PNG.
class PngEncoder {
public:
    // Larger images are refused unread (a decompression bomb on the pasteboard costs nothing).
    static constexpr std::uint64_t maxPixels = 60'000'000;

    // Absent when the bytes cannot be decoded or the PNG cannot be written.
    static std::optional<std::vector<std::uint8_t>> fromImageData(std::span<const std::uint8_t> data);
};

} // namespace tessellar
