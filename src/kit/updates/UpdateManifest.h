#pragma once

#include "kit/base/Url.h"
#include "kit/updates/SemanticVersion.h"

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tessellar {

// A failed update check, in words for the user. Updates sit below the item model, so the
// app turns this into the error it shows (none of these offers a retry).
class UpdateError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
    std::string message() const { return what(); }
};

// The release listing: the latest version and where to download it.
struct UpdateManifest {
    SemanticVersion version;
    Url downloadURL;
    std::optional<std::string> releaseNotes;
    std::optional<SemanticVersion> minimumSystemVersion;

    // Strict reading of the JSON listing; throws UpdateError with the sentence to show.
    static UpdateManifest decode(std::string_view data);

    static constexpr std::string_view formatMessage =
        "The update listing wasn\u2019t in a format Tessellar could read.";

    bool operator==(const UpdateManifest&) const = default;
};

} // namespace tessellar
