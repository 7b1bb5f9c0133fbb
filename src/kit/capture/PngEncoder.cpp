#include "kit/capture/PngEncoder.h"

#include "kit/base/Log.h"
#include "kit/capture/ImageBackend.h"

namespace tessellar {

std::optional<std::vector<std::uint8_t>> PngEncoder::fromImageData(std::span<const std::uint8_t> data) {
    if (data.empty())
        return std::nullopt;
    const ImageBackend* backend = ImageBackend::get();
    auto png = backend ? backend->png(data, maxPixels) : std::nullopt;
    if (!png)
        Log::info(Log::Category::pipeline, "Image data could not be decoded");
    return png;
}

} // namespace tessellar
