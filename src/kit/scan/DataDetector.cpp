#include "kit/scan/DataDetector.h"

#include "kit/base/Clock.h"
#include "kit/base/Log.h"
#include "kit/scan/address/AddressScanner.h"
#include "kit/scan/dates/DateRecognizer.h"
#include "kit/scan/link/LinkScanner.h"
#include "kit/scan/phone/PhoneNumberScanner.h"
#include "kit/text/Unicode.h"

namespace tessellar {

std::vector<DataDetector::Match> DataDetector::matches(Type type, std::string_view text) {
    return matches(type, text, Clock::now());
}

std::vector<DataDetector::Match> DataDetector::matches(Type type, std::string_view text, Timestamp now) {
    // A recogniser that fails counts as one that finds nothing.
    try {
        switch (type) {
        case Type::link:
            return LinkScanner::scan(text);
        case Type::date:
            return DateRecognizer::scan(text, now);
        case Type::phoneNumber:
            return PhoneNumberScanner::scan(text);
        case Type::address:
            return AddressScanner::scan(text);
        }
    } catch (const std::exception& e) {
        Log::error(Log::Category::pipeline, std::string("Data detector failed: ") + e.what());
    }
    return {};
}

std::string DataDetector::substring(std::string_view text, TextRange range) {
    const icu::UnicodeString u = unicode::toICU(text);
    if (range.location < 0 || range.length < 0 || range.end() > u.length())
        return {};
    return unicode::toUTF8(u.tempSubString(range.location, range.length));
}

} // namespace tessellar
