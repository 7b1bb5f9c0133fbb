#include "kit/updates/SemanticVersion.h"

#include "kit/text/StringHelpers.h"

#include <algorithm>
#include <charconv>
#include <tuple>

namespace tessellar {
namespace {

constexpr std::size_t maximumLength = 128;
constexpr std::size_t maximumDigits = 9;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool allDigits(std::string_view text) {
    return std::ranges::all_of(text, isDigit);
}

std::vector<std::string_view> split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == separator) {
            parts.push_back(text.substr(start, i - start));
            start = i + 1;
        }
    }
    return parts;
}

std::optional<long long> number(std::string_view part) {
    if (part.empty() || part.size() > maximumDigits || !allDigits(part) ||
        (part.size() > 1 && part[0] == '0'))
        return std::nullopt;
    long long value = 0;
    std::from_chars(part.data(), part.data() + part.size(), value);
    return value;
}

// Dot-separated identifiers of ASCII letters, digits and "-"; numeric ones without a leading zero.
std::optional<std::vector<std::string>> identifiers(std::string_view text) {
    std::vector<std::string> out;
    for (const std::string_view identifier : split(text, '.')) {
        const bool valid = !identifier.empty() && std::ranges::all_of(identifier, [](char c) {
            return isDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '-';
        });
        if (!valid || (allDigits(identifier) && identifier.size() > 1 && identifier[0] == '0'))
            return std::nullopt;
        out.emplace_back(identifier);
    }
    return out;
}

std::string joined(const std::vector<std::string>& parts) {
    std::string out;
    for (const auto& part : parts) {
        if (!out.empty())
            out += '.';
        out += part;
    }
    return out;
}

std::strong_ordering compareIdentifiers(const std::string& a, const std::string& b) {
    const bool numericA = allDigits(a);
    const bool numericB = allDigits(b);
    if (numericA && numericB) {
        // Numeric identifiers have no leading zeros, so the longer one is larger.
        if (a.size() != b.size())
            return a.size() <=> b.size();
        return a <=> b;
    }
    if (numericA != numericB)
        return numericA ? std::strong_ordering::less : std::strong_ordering::greater;
    return a <=> b;
}

} // namespace

std::optional<SemanticVersion> SemanticVersion::parse(std::string_view input) {
    const std::string text = trimmed(input);
    if (text.empty() || text.size() > maximumLength)
        return std::nullopt;
    std::string_view rest = text;
    std::optional<std::string_view> buildText;
    std::optional<std::string_view> prereleaseText;
    if (const auto plus = rest.find('+'); plus != std::string_view::npos) {
        buildText = rest.substr(plus + 1);
        rest = rest.substr(0, plus);
    }
    if (const auto dash = rest.find('-'); dash != std::string_view::npos) {
        prereleaseText = rest.substr(dash + 1);
        rest = rest.substr(0, dash);
    }
    const auto core = split(rest, '.');
    if (core.size() != 3)
        return std::nullopt;
    SemanticVersion version;
    const auto major = number(core[0]);
    const auto minor = number(core[1]);
    const auto patch = number(core[2]);
    if (!major || !minor || !patch)
        return std::nullopt;
    version.major = *major;
    version.minor = *minor;
    version.patch = *patch;
    if (prereleaseText) {
        auto list = identifiers(*prereleaseText);
        if (!list)
            return std::nullopt;
        version.prerelease = std::move(*list);
    }
    if (buildText) {
        auto list = identifiers(*buildText);
        if (!list)
            return std::nullopt;
        version.build = std::move(*list);
    }
    return version;
}

std::optional<SemanticVersion> SemanticVersion::systemVersion(std::string_view input) {
    const std::string text = trimmed(input);
    auto parts = split(text, '.');
    if (parts.empty() || parts.size() > 3)
        return std::nullopt;
    std::string padded;
    for (std::size_t i = 0; i < 3; ++i) {
        if (i > 0)
            padded += '.';
        padded += i < parts.size() ? std::string(parts[i]) : "0";
    }
    return parse(padded);
}

std::string SemanticVersion::description() const {
    std::string out = std::to_string(major) + "." + std::to_string(minor) + "." + std::to_string(patch);
    if (!prerelease.empty())
        out += "-" + joined(prerelease);
    if (!build.empty())
        out += "+" + joined(build);
    return out;
}

bool SemanticVersion::operator==(const SemanticVersion& other) const {
    return major == other.major && minor == other.minor && patch == other.patch &&
           prerelease == other.prerelease;
}

std::strong_ordering SemanticVersion::operator<=>(const SemanticVersion& other) const {
    if (const auto c = std::tie(major, minor, patch) <=> std::tie(other.major, other.minor, other.patch);
        c != 0)
        return c;
    if (prerelease.empty() || other.prerelease.empty()) {
        // A release outranks its pre-releases.
        return prerelease.empty() <=> other.prerelease.empty();
    }
    const std::size_t common = std::min(prerelease.size(), other.prerelease.size());
    for (std::size_t i = 0; i < common; ++i) {
        if (const auto c = compareIdentifiers(prerelease[i], other.prerelease[i]); c != 0)
            return c;
    }
    return prerelease.size() <=> other.prerelease.size();
}

} // namespace tessellar
