#include "kit/detect/DataDetector.h"

#include "kit/detect/AddressScanner.h"
#include "kit/detect/DateRecognizer.h"
#include "kit/detect/LinkScanner.h"
#include "kit/detect/PhoneNumberScanner.h"
#include "kit/support/Clock.h"
#include "kit/support/Log.h"
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
