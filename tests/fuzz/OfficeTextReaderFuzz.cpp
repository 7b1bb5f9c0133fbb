// Any bytes as a DOCX or ODT archive and as their document XML: no crash or hang, and never
// more text than the caps allow.
#include "kit/capture/OfficeTextReader.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using tessellar::OfficeTextReader;
    constexpr std::size_t xmlLimit = 1 << 20, textLimit = 4096;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (const auto format : {OfficeTextReader::Format::docx, OfficeTextReader::Format::odt}) {
        if (const auto text = OfficeTextReader::plainText(bytes, format, xmlLimit, textLimit);
            text && text->size() > xmlLimit)
            __builtin_trap();
        if (const auto text = OfficeTextReader::textOfXml(bytes, format, textLimit);
            text && text->size() > textLimit + size + 64)
            __builtin_trap();
    }
    return 0;
}
