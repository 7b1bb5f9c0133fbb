#pragma once

#include "kit/base/Url.h"
#include "kit/updates/SemanticVersion.h"
#include "kit/updates/UpdateManifest.h"

#include <chrono>
#include <optional>
#include <string>
#include <variant>

namespace tessellar {

struct UpdateCheckResult {
    struct UpToDate {
        SemanticVersion current;
        bool operator==(const UpToDate&) const = default;
    };
    struct UpdateAvailable {
        UpdateManifest manifest;
        bool operator==(const UpdateAvailable&) const = default;
    };
    struct Failed {
        std::string message;
        bool operator==(const Failed&) const = default;
    };
    std::variant<UpToDate, UpdateAvailable, Failed> value;
    bool operator==(const UpdateCheckResult&) const = default;
};

// Fetches the release listing over HTTPS, on request only, and compares versions.
class UpdateChecker {
public:
    struct Configuration {
        std::string manifestURL;
        std::string currentVersion;
        std::optional<SemanticVersion> systemVersion;
        std::chrono::milliseconds timeout{15'000};
        // Extra certificate authorities (PEM), for a feed signed by a private CA.
        std::string certificateAuthorities;
    };

    explicit UpdateChecker(Configuration configuration) : configuration_(std::move(configuration)) {}

    // Blocking; never throws: every problem is a Failed result.
    UpdateCheckResult check() const;

    // The running system's version: VERSION_ID of os-release (for example "12" -> 12.0.0).
    static std::optional<SemanticVersion>
    currentSystemVersion(const std::string& osReleasePath = "/etc/os-release");

    static constexpr std::size_t maximumBodyBytes = 65'536;

private:
    Configuration configuration_;
};

} // namespace tessellar
