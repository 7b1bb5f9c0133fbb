#pragma once

#include "kit/base/Timestamp.h"

#include <optional>
#include <string>
#include <string_view>

namespace tessellar {

// Turns a short text holding a date or time ("Dentist tomorrow at 3pm") into an occasion:
// the instant, whether a time of day was given, the rest of the text as a subject, and
// whether the wording makes it a deadline. Stateless.
class ScheduleDetector {
public:
    struct Occasion {
        Timestamp date;       // the instant of the first date expression
        bool hasTime = false; // the instant's local hour or minute is non-zero
        std::string subject;  // the text without the date expression, cleaned; "Reminder" when empty
        bool isDeadline = false;

        bool operator==(const Occasion&) const = default;
    };

    // The occasion of the first date expression in the trimmed text (at most 200 characters),
    // or nothing. Relative phrases resolve against Clock::now(); `referenceDate` is accepted for
    // callers that have one and is not consulted.
    static std::optional<Occasion> occasion(std::string_view text, Timestamp referenceDate);

    // Drops trailing connective words ("on", "at", "due" …) left behind when a date is cut out;
    // a leading one stays.
    static std::string trimmingDanglingConnectives(std::string_view text);
};

} // namespace tessellar
