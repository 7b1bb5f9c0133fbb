#pragma once

#include <compare>
#include <optional>
#include <string>
#include <string_view>

namespace tessellar {

// An exact decimal number (money amounts): the digits as written, no binary floating point.
// Compares by value, so 99.90 == 99.9.
class Decimal {
public:
    Decimal() = default;
    // Plain decimal notation with "." as the point and an optional leading "-": "1234.50".
    static std::optional<Decimal> parse(std::string_view text);

    // Canonical text: no leading zeros, no trailing fractional zeros ("1234.5", "0", "-3").
    std::string string() const;
    // Nearest double, for display arithmetic only.
    double toDouble() const;

    std::strong_ordering operator<=>(const Decimal& other) const;
    bool operator==(const Decimal& other) const;

private:
    bool negative_ = false;
    std::string integer_ = "0"; // digits, no leading zeros
    std::string fraction_;      // digits, no trailing zeros
};

} // namespace tessellar
