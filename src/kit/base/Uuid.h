#pragma once

#include <array>
#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tessellar {

// A 128-bit identifier; its text form is the canonical upper-case 8-4-4-4-12 form.
struct Uuid {
    std::array<std::uint8_t, 16> bytes{};

    static Uuid random(); // version 4
    // Accepts either case; absent for anything but the 36-character hyphenated form.
    static std::optional<Uuid> parse(std::string_view text);
    std::string string() const;

    auto operator<=>(const Uuid&) const = default;
};

} // namespace tessellar
