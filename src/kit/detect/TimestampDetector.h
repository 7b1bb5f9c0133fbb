#pragma once

#include "kit/base/Clock.h"
#include "kit/base/Timestamp.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessellar {

// Recognises a Unix timestamp of 10 digits (seconds) or 13 digits (milliseconds) starting with
// "1" — 2001-09-09 to 2033-05-18 — and renders it for people. Stateless.
class TimestampDetector {
public:
    struct Stamp {
        Timestamp date;
        bool wasMilliseconds = false; // 13 digits

        bool operator==(const Stamp&) const = default;
    };

    struct Rendering {
        std::string label;
        std::string value;

        bool operator==(const Rendering&) const = default;
    };

    // Absent unless the whole trimmed text is such a timestamp.
    static std::optional<Stamp> stamp(std::string_view text);

    // Always four rows: "Local" (full date, medium time in the user's zone and locale), "UTC"
    // (the same in UTC), "ISO 8601" (internet date-time in UTC) and "Relative" (to `now`, full units).
    static std::vector<Rendering> renderings(const Stamp& stamp, Timestamp now = Clock::now());
};

} // namespace tessellar
