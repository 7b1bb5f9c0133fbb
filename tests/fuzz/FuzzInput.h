#pragma once

// What the fuzz targets share: the input read as text, and a check that stops the run (and keeps
// the input) when a rule is broken.
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace fuzz {

inline std::string_view text(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

inline void require(bool condition) {
    if (!condition)
        __builtin_trap();
}

} // namespace fuzz
