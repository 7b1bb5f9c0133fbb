#include "kit/detect/AddressDetector.h"
#include "kit/scan/address/AddressScanner.h"
#include "kit/text/Unicode.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

// Any bytes: the scanner's matches must lie inside the text, in order and without overlap, and
// the detector must not fail.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto matches = tessellar::AddressScanner::scan(text);
    const int32_t length = tessellar::unicode::toICU(text).length();
    int32_t previousEnd = 0;
    for (const auto& match : matches) {
        if (match.range.location < previousEnd || match.range.length <= 0 || match.range.end() > length)
            std::abort();
        if (match.address.empty() || match.address.size() > 5)
            std::abort();
        previousEnd = match.range.end();
    }
    (void)tessellar::AddressDetector::standaloneAddress(text);
    (void)tessellar::AddressDetector::firstAddress(text);
    return 0;
}
