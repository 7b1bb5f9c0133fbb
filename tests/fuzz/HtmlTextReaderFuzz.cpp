// Any bytes through the HTML reader: no crash or hang, and the text stays near its limit.
#include "kit/capture/HtmlTextReader.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    constexpr std::size_t limit = 4096;
    const std::string_view html(reinterpret_cast<const char*>(data), size);
    if (const auto text = tessellar::HtmlTextReader::plainText(html, limit)) {
        // One text node may overshoot the limit, never by more than the input.
        if (text->size() > limit + size)
            __builtin_trap();
    }
    return 0;
}
