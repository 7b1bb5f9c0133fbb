// Any bytes through every recogniser of the data detector and the whole-text link checks:
// no crash, no hang, and matches that are ordered and lie inside the text.
#include "FuzzInput.h"
#include "kit/detect/LinkDetector.h"
#include "kit/scan/DataDetector.h"
#include "kit/text/Unicode.h"

namespace {

using tessellar::DataDetector;

void checkMatches(DataDetector::Type type, std::string_view text, int32_t length) {
    int32_t previousStart = 0;
    int32_t previousEnd = 0;
    for (const auto& m : DataDetector::matches(type, text)) {
        fuzz::require(m.type == type);
        fuzz::require(m.range.location >= 0 && m.range.length > 0 && m.range.end() <= length);
        fuzz::require(m.range.location >= previousStart);
        // Links and phone numbers never overlap one another.
        if (type != DataDetector::Type::address)
            fuzz::require(m.range.location >= previousEnd);
        previousStart = m.range.location;
        previousEnd = m.range.end();
        fuzz::require(type != DataDetector::Type::link || m.url.has_value());
        fuzz::require(type != DataDetector::Type::phoneNumber || (m.phoneNumber && !m.phoneNumber->empty()));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = fuzz::text(data, size);
    const int32_t length = tessellar::unicode::toICU(text).length();
    checkMatches(DataDetector::Type::link, text, length);
    checkMatches(DataDetector::Type::phoneNumber, text, length);
    checkMatches(DataDetector::Type::address, text, length);

    if (const auto url = tessellar::LinkDetector::standaloneURL(text)) {
        fuzz::require(url->scheme() == "http" || url->scheme() == "https");
        (void)tessellar::LinkDetector::displayString(*url);
    }
    if (const auto address = tessellar::LinkDetector::standaloneEmailAddress(text))
        fuzz::require(address->find('@') != std::string::npos);
    (void)tessellar::LinkDetector::standalonePhoneNumber(text);
    return 0;
}
