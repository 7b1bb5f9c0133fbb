#include "kit/detect/AddressDetector.h"

#include "kit/text/StringHelpers.h"
#include "kit/text/Unicode.h"

namespace tessellar {
namespace {

constexpr std::size_t maxStandaloneCharacters = 240;
constexpr double minStandaloneCoverage = 0.6;

std::optional<std::string> component(const DataDetector::Match& match, const std::string& key) {
    const auto found = match.address.find(key);
    if (found == match.address.end())
        return std::nullopt;
    return found->second;
}

bool filled(const std::optional<std::string>& value) {
    return value && !value->empty();
}

} // namespace

std::vector<std::string> AddressDetector::Address::displayLines() const {
    std::vector<std::string> lines;
    if (filled(street))
        lines.push_back(*street);

    std::string second;
    for (const auto* part : {&locality, &region}) {
        if (!filled(*part))
            continue;
        if (!second.empty())
            second += ", ";
        second += **part;
    }
    if (filled(postalCode)) {
        if (!second.empty())
            second += ' ';
        second += *postalCode;
    }

    if (!second.empty())
        lines.push_back(std::move(second));
    else if (lines.empty())
        lines.push_back(normalizedWhitespace(raw));
    return lines;
}

std::optional<AddressDetector::Address> AddressDetector::standaloneAddress(std::string_view text) {
    const std::string trimmedText = trimmed(text);
    if (trimmedText.empty() || unicode::characterCount(trimmedText) > maxStandaloneCharacters)
        return std::nullopt;
    const auto matches = DataDetector::matches(DataDetector::Type::address, trimmedText);
    if (matches.empty())
        return std::nullopt;
    const DataDetector::Match& first = matches.front();
    const double coverage =
        static_cast<double>(first.range.length) / static_cast<double>(unicode::utf16Length(trimmedText));
    if (coverage < minStandaloneCoverage)
        return std::nullopt;
    return address(first, trimmedText);
}

std::optional<AddressDetector::Address> AddressDetector::firstAddress(std::string_view text) {
    const auto matches = DataDetector::matches(DataDetector::Type::address, text);
    if (matches.empty())
        return std::nullopt;
    return address(matches.front(), text);
}

std::optional<AddressDetector::Address> AddressDetector::address(const DataDetector::Match& match,
                                                                 std::string_view text) {
    Address result;
    result.raw = trimmed(DataDetector::substring(text, match.range));
    result.street = component(match, "street");
    result.locality = component(match, "city");
    result.region = component(match, "state");
    result.postalCode = component(match, "ZIP");
    result.country = component(match, "country");
    if (!result.street && !(result.locality && result.region))
        return std::nullopt;
    return result;
}

} // namespace tessellar
