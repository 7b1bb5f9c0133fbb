#pragma once

#include <cstdint>
#include <leptonica/allheaders.h>
#include <memory>
#include <span>

namespace tessellar::leptonica {

struct PixDeleter {
    void operator()(PIX* pix) const { pixDestroy(&pix); }
};
using Pix = std::unique_ptr<PIX, PixDeleter>;

// Decodes image bytes only after their header promises a positive size of at most
// `maxPixels`, so a decompression bomb is refused unread. Null when refused or undecodable.
Pix decodeBounded(std::span<const std::uint8_t> data, std::uint64_t maxPixels);

} // namespace tessellar::leptonica
