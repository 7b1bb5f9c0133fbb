// Any bytes: the scanner's matches must lie inside the text, in order and without overlap, and
// the detector must not fail.
#include "FuzzInput.h"
#include "kit/detect/AddressDetector.h"
#include "kit/scan/address/AddressScanner.h"
#include "kit/text/Unicode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view text = fuzz::text(data, size);
    const int32_t length = tessellar::unicode::toICU(text).length();
    int32_t previousEnd = 0;
    for (const auto& match : tessellar::AddressScanner::scan(text)) {
        fuzz::require(match.range.location >= previousEnd && match.range.length > 0 &&
                      match.range.end() <= length);
        fuzz::require(!match.address.empty() && match.address.size() <= 5);
        previousEnd = match.range.end();
    }
    (void)tessellar::AddressDetector::standaloneAddress(text);
    (void)tessellar::AddressDetector::firstAddress(text);
    return 0;
}
