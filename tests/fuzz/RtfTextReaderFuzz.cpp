// Any bytes through the RTF reader: no crash or hang, and its text is valid UTF-8.
#include "kit/capture/RtfTextReader.h"
#include "kit/text/Unicode.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string rtf = "{\\rtf1";
    rtf.append(reinterpret_cast<const char*>(data), size);
    if (const auto text = tessellar::RtfTextReader::plainText(rtf)) {
        if (tessellar::unicode::toUTF8(tessellar::unicode::toICU(*text)) != *text)
            __builtin_trap();
    }
    return 0;
}
