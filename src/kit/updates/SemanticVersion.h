#pragma once

#include <compare>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessellar {

// A Semantic Versioning 2.0.0 version, with two extra limits: at most 128 characters,
// and core numbers of at most 9 digits. Build identifiers never take part in ordering
// or equality.
struct SemanticVersion {
    long long major = 0;
    long long minor = 0;
    long long patch = 0;
    std::vector<std::string> prerelease;
    std::vector<std::string> build;

    static std::optional<SemanticVersion> parse(std::string_view text);
    // An operating-system version of one to three numeric parts ("12" -> 12.0.0).
    static std::optional<SemanticVersion> systemVersion(std::string_view text);

    std::string description() const;

    bool operator==(const SemanticVersion& other) const;
    std::strong_ordering operator<=>(const SemanticVersion& other) const;
};

} // namespace tessellar
