#include "kit/text/Decimal.h"

#include <charconv>

namespace tessellar {
namespace {

bool allDigits(std::string_view s) {
    for (const char c : s)
        if (c < '0' || c > '9')
            return false;
    return true;
}

} // namespace

std::optional<Decimal> Decimal::parse(std::string_view text) {
    Decimal result;
    if (!text.empty() && text.front() == '-') {
        result.negative_ = true;
        text.remove_prefix(1);
    }
    const auto point = text.find('.');
    std::string_view integer = text.substr(0, point);
    std::string_view fraction = point == std::string_view::npos ? std::string_view{} : text.substr(point + 1);
    // Digits are required on both sides of a point: "5", "5.25"; not "", ".5", "5.".
    if (integer.empty() || !allDigits(integer) || !allDigits(fraction))
        return std::nullopt;
    if (point != std::string_view::npos && fraction.empty())
        return std::nullopt;

    while (integer.size() > 1 && integer.front() == '0')
        integer.remove_prefix(1);
    while (!fraction.empty() && fraction.back() == '0')
        fraction.remove_suffix(1);
    result.integer_ = std::string(integer);
    result.fraction_ = std::string(fraction);
    // Zero has no sign, so -0 and 0 compare and print alike.
    if (result.integer_ == "0" && result.fraction_.empty())
        result.negative_ = false;
    return result;
}

std::string Decimal::string() const {
    std::string out;
    if (negative_)
        out += '-';
    out += integer_;
    if (!fraction_.empty()) {
        out += '.';
        out += fraction_;
    }
    return out;
}

double Decimal::toDouble() const {
    const std::string text = string();
    double value = 0;
    // from_chars ignores the C locale, so "." is always the point.
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

std::strong_ordering Decimal::operator<=>(const Decimal& other) const {
    if (negative_ != other.negative_)
        return negative_ ? std::strong_ordering::less : std::strong_ordering::greater;
    // Compare magnitudes: longer integer part first, then digit by digit.
    std::strong_ordering magnitude = integer_.size() <=> other.integer_.size();
    if (magnitude == 0)
        magnitude = integer_.compare(other.integer_) <=> 0;
    if (magnitude == 0) {
        // Fractions have no trailing zeros, so plain string order is numeric order.
        magnitude = fraction_.compare(other.fraction_) <=> 0;
    }
    if (!negative_)
        return magnitude;
    return 0 <=> magnitude;
}

bool Decimal::operator==(const Decimal& other) const {
    return (*this <=> other) == 0;
}

} // namespace tessellar
