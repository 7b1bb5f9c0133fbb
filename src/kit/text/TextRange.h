#pragma once

#include <cstdint>

namespace tessellar {

// A range of UTF-16 code units in a text (what regular expressions and detectors report).
struct TextRange {
    int32_t location = 0;
    int32_t length = 0;

    int32_t end() const { return location + length; }
    bool operator==(const TextRange&) const = default;
};

} // namespace tessellar
