#pragma once

#include "kit/base/Timestamp.h"

#include <optional>

namespace tessellar {

// The one place the kit reads the wall clock. Tests pin it with ScopedClock.
class Clock {
public:
    static Timestamp now();

    class ScopedOverride {
    public:
        explicit ScopedOverride(Timestamp fixed);
        ~ScopedOverride();
        ScopedOverride(const ScopedOverride&) = delete;
        ScopedOverride& operator=(const ScopedOverride&) = delete;

    private:
        std::optional<Timestamp> previous_;
    };
};

} // namespace tessellar
