#include "kit/updates/UpdateManifest.h"

#include "kit/text/StringHelpers.h"

#include <nlohmann/json.hpp>

namespace tessellar {
namespace {

constexpr std::size_t versionEchoLimit = 40;
constexpr std::size_t releaseNotesLimit = 2000;

// Every known member is an optional string: absent or null is no value, any other type
// makes the listing unreadable.
std::optional<std::string> stringMember(const nlohmann::json& object, const char* key) {
    const auto found = object.find(key);
    if (found == object.end() || found->is_null())
        return std::nullopt;
    if (!found->is_string())
        throw UpdateError(std::string(UpdateManifest::formatMessage));
    return found->get<std::string>();
}

} // namespace

UpdateManifest UpdateManifest::decode(std::string_view data) {
    const nlohmann::json json = nlohmann::json::parse(data, nullptr, false);
    if (json.is_discarded() || !json.is_object())
        throw UpdateError(std::string(formatMessage));

    const auto notes = stringMember(json, "releaseNotes");
    const auto minimum = stringMember(json, "minimumSystemVersion");
    const std::string versionText = trimmed(stringMember(json, "version").value_or(""));
    if (versionText.empty())
        throw UpdateError(std::string(formatMessage));
    const auto version = SemanticVersion::parse(versionText);
    if (!version)
        throw UpdateError("The update listing names a version Tessellar can\u2019t read (\u201C" +
                          truncated(versionText, versionEchoLimit) + "\u201D).");

    const std::string downloadText = trimmed(stringMember(json, "downloadURL").value_or(""));
    const auto downloadURL = downloadText.empty() ? std::nullopt : Url::parse(downloadText);
    if (!downloadURL)
        throw UpdateError(std::string(formatMessage));
    if (downloadURL->scheme() != "https" || downloadURL->host().empty())
        throw UpdateError("The update listing points at a download that isn\u2019t over HTTPS.");

    UpdateManifest manifest{*version, *downloadURL, std::nullopt, std::nullopt};
    if (minimum)
        manifest.minimumSystemVersion = SemanticVersion::systemVersion(*minimum);
    if (notes) {
        const std::string text = trimmed(*notes);
        if (!text.empty())
            manifest.releaseNotes = truncated(text, releaseNotesLimit);
    }
    return manifest;
}

} // namespace tessellar
