// Any bytes through the RTF reader: no crash or hang, and its text is valid UTF-8.
#include "FuzzInput.h"
#include "kit/capture/RtfTextReader.h"
#include "kit/text/Unicode.h"

#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (const auto text =
            tessellar::RtfTextReader::plainText("{\\rtf1" + std::string(fuzz::text(data, size))))
        fuzz::require(tessellar::unicode::toUTF8(tessellar::unicode::toICU(*text)) == *text);
    return 0;
}
