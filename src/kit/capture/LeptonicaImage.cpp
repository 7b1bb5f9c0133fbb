#include "kit/capture/LeptonicaImage.h"

#include "kit/base/Log.h"

#include <mutex>
#include <string>

namespace tessellar::leptonica {
namespace {

// Leptonica reports decoding trouble on stderr; it belongs in our log instead.
void routeMessages() {
    static std::once_flag once;
    std::call_once(once, [] {
        leptSetStderrHandler([](const char* message) {
            std::string text(message ? message : "");
            while (!text.empty() && text.back() == '\n')
                text.pop_back();
            Log::debug(Log::Category::pipeline, "Leptonica: " + text);
        });
    });
}

} // namespace

Pix decodeBounded(std::span<const std::uint8_t> data, std::uint64_t maxPixels) {
    if (data.empty())
        return nullptr;
    routeMessages();
    l_int32 format = 0, width = 0, height = 0, bps = 0, spp = 0, colormap = 0;
    if (pixReadHeaderMem(data.data(), data.size(), &format, &width, &height, &bps, &spp, &colormap) != 0)
        return nullptr;
    if (width <= 0 || height <= 0 ||
        static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) > maxPixels) {
        Log::debug(Log::Category::pipeline, "Refused an image of " + std::to_string(width) + " x " +
                                                std::to_string(height) + " pixels");
        return nullptr;
    }
    Pix pix(pixReadMem(data.data(), data.size()));
    // A body larger than its header said is refused too.
    if (!pix || pixGetWidth(pix.get()) != width || pixGetHeight(pix.get()) != height)
        return nullptr;
    return pix;
}

} // namespace tessellar::leptonica
