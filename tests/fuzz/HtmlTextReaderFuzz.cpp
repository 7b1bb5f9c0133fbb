// Any bytes through the HTML reader: no crash or hang, and the text stays near its limit.
#include "FuzzInput.h"
#include "kit/capture/HtmlTextReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    constexpr std::size_t limit = 4096;
    // One text node may overshoot the limit, never by more than the input.
    if (const auto text = tessellar::HtmlTextReader::plainText(fuzz::text(data, size), limit))
        fuzz::require(text->size() <= limit + size);
    return 0;
}
