// Any bytes give dates or none: no crash, no hang, and every match is well formed.
#include "FuzzInput.h"
#include "kit/detect/ScheduleDetector.h"
#include "kit/scan/dates/DateRecognizer.h"
#include "kit/text/Unicode.h"

#include <cmath>

namespace {

using namespace tessellar;

// Month first or day first, and a time alone read as a reminder's or a document's.
DateRecognizer::Options options(std::size_t variant) {
    static const auto zone =
        std::shared_ptr<const icu::TimeZone>(icu::TimeZone::createTimeZone("America/New_York"));
    static const auto us = DateRecognizer::Options::forLocale(icu::Locale("en_US"), zone);
    static const auto britain = DateRecognizer::Options::forLocale(icu::Locale("en_GB"), zone);
    DateRecognizer::Options chosen = variant % 2 == 1 ? britain : us;
    if (variant / 2 % 2 == 1)
        chosen.timeAlone = DateRecognizer::TimeAlone::today;
    return chosen;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = fuzz::text(data, size);
    const Timestamp now = Timestamp::fromUnix(1773239400);
    const auto matches = DateRecognizer::scan(text, now, options(size));
    const std::int32_t length = unicode::toICU(text).length();
    std::int32_t previousEnd = 0;
    for (const DataDetector::Match& match : matches) {
        fuzz::require(match.type == DataDetector::Type::date && match.date &&
                      std::isfinite(match.date->unixSeconds));
        fuzz::require(match.range.length > 0 && match.range.location >= previousEnd &&
                      match.range.end() <= length);
        // Years 1600 to 9999, give or take a day of zone offset.
        fuzz::require(match.date->unixSeconds >= -11676182400.0 && match.date->unixSeconds <= 253402387200.0);
        previousEnd = match.range.end();
    }
    if (size <= 256)
        ScheduleDetector::occasion(text, now);
    return 0;
}
