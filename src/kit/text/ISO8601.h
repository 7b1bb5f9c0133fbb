#pragma once

#include "kit/base/Timestamp.h"

#include <optional>
#include <string>
#include <string_view>

namespace tessellar::iso8601 {

// "2026-03-01T09:30:00Z": the internet date-time in UTC, whole seconds (fractions dropped).
std::string format(Timestamp time);

// An internet date-time: "YYYY-MM-DDTHH:MM:SS" with optional fraction, then "Z" or "±HH:MM".
// Absent for anything else, including impossible dates.
std::optional<Timestamp> parse(std::string_view text);

} // namespace tessellar::iso8601
