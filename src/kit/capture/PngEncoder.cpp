#include "kit/capture/PngEncoder.h"

#include "kit/base/Log.h"

#include <leptonica/allheaders.h>
#include <memory>
#include <mutex>
#include <string>

namespace tessellar {
namespace {

struct PixDeleter {
    void operator()(PIX* pix) const { pixDestroy(&pix); }
};
using Pix = std::unique_ptr<PIX, PixDeleter>;

struct LeptonicaBuffer {
    l_uint8* bytes = nullptr;
    size_t size = 0;
    ~LeptonicaBuffer() { lept_free(bytes); }
};

// Leptonica reports decoding trouble on stderr; it belongs in our log instead.
void routeLeptonicaMessages() {
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

std::optional<std::vector<std::uint8_t>> PngEncoder::fromImageData(std::span<const std::uint8_t> data) {
    if (data.empty())
        return std::nullopt;
    routeLeptonicaMessages();
    const Pix pix(pixReadMem(data.data(), data.size()));
    if (!pix) {
        Log::info(Log::Category::pipeline, "Image data could not be decoded");
        return std::nullopt;
    }
    LeptonicaBuffer png;
    if (pixWriteMem(&png.bytes, &png.size, pix.get(), IFF_PNG) != 0 || !png.bytes) {
        Log::error(Log::Category::pipeline, "Decoded image could not be written as PNG");
        return std::nullopt;
    }
    return std::vector<std::uint8_t>(png.bytes, png.bytes + png.size);
}

} // namespace tessellar
