#pragma once

#include "kit/scan/DataDetector.h"

#include <memory>
#include <string_view>
#include <unicode/locid.h>
#include <unicode/timezone.h>
#include <vector>

namespace tessellar {

// English natural-language dates and times in free text ("Due: 03/15/2026", "tomorrow at 3pm",
// "Departs 10:40 on 12 Mar"), each resolved to one instant. Runs in time linear in the text and
// never throws; a text it cannot read gives no matches. At most the first 4,096 matches.
class DateRecognizer {
public:
    // What a time without a date ("14:32") means once it has passed today.
    enum class TimeAlone {
        nextOccurrence, // a reminder: tomorrow
        today,          // a receipt, an invoice, a file name: it happened today
    };

    struct Options {
        // The zone local dates and times are read in; null means the user's (TZ).
        std::shared_ptr<const icu::TimeZone> timeZone;
        // Whether "12/03/2026" is 12 March (true) or December 3 (false).
        bool dayFirst = false;
        TimeAlone timeAlone = TimeAlone::nextOccurrence;

        // The user's zone, and the numeric order of the user's locale (LC_ALL, LC_TIME, LANG).
        static Options forUser();
        // The numeric order of `locale`, in `zone` (the user's when null).
        static Options forLocale(const icu::Locale& locale,
                                 std::shared_ptr<const icu::TimeZone> zone = nullptr);
    };

    static std::vector<DataDetector::Match> scan(std::string_view text, Timestamp now);
    static std::vector<DataDetector::Match> scan(std::string_view text, Timestamp now,
                                                 const Options& options);
};

} // namespace tessellar
