// Any bytes as a DOCX or ODT archive and as their document XML: no crash or hang, and never
// more text than the caps allow.
#include "FuzzInput.h"
#include "kit/capture/OfficeTextReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using tessellar::OfficeTextReader;
    constexpr std::size_t xmlLimit = 1 << 20, textLimit = 4096;
    const std::string_view bytes = fuzz::text(data, size);
    for (const auto format : {OfficeTextReader::Format::docx, OfficeTextReader::Format::odt}) {
        if (const auto text = OfficeTextReader::plainText(bytes, format, xmlLimit, textLimit))
            fuzz::require(text->size() <= xmlLimit);
        if (const auto text = OfficeTextReader::textOfXml(bytes, format, textLimit))
            fuzz::require(text->size() <= textLimit + size + 64);
    }
    return 0;
}
