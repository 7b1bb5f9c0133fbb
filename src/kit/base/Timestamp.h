#pragma once

#include <compare>

namespace tessellar {

// An absolute point in time with sub-second precision: seconds since the Unix
// epoch as a double. The history payload counts from 2001-01-01 instead; the
// conversions live here so nobody adds the offset by hand.
struct Timestamp {
    double unixSeconds = 0;

    static constexpr double referenceDateOffset = 978307200.0; // 2001-01-01T00:00:00Z in Unix seconds

    static constexpr Timestamp fromUnix(double seconds) { return Timestamp{seconds}; }
    static constexpr Timestamp fromReferenceSeconds(double seconds) {
        return Timestamp{seconds + referenceDateOffset};
    }
    constexpr double referenceSeconds() const { return unixSeconds - referenceDateOffset; }

    constexpr Timestamp advanced(double seconds) const { return Timestamp{unixSeconds + seconds}; }
    constexpr double secondsSince(Timestamp other) const { return unixSeconds - other.unixSeconds; }

    auto operator<=>(const Timestamp&) const = default;
};

} // namespace tessellar
