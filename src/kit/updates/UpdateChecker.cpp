#include "kit/updates/UpdateChecker.h"

#include "kit/base/HttpClient.h"
#include "kit/base/Log.h"

#include <fstream>

namespace tessellar {
namespace {

UpdateCheckResult failed(std::string message) {
    return {UpdateCheckResult::Failed{std::move(message)}};
}

} // namespace

UpdateCheckResult UpdateChecker::check() const {
    const auto current = SemanticVersion::parse(configuration_.currentVersion);
    if (!current)
        return failed("Tessellar couldn\u2019t read its own version number, so it can\u2019t compare it to "
                      "the latest one.");
    const auto address = Url::parse(configuration_.manifestURL);
    if (!address || address->scheme() != "https" || address->host().empty())
        return failed("The update address isn\u2019t an HTTPS address, so Tessellar didn\u2019t contact it.");

    HttpRequest request;
    request.url = address->absoluteString();
    request.headers = {{"Accept", "application/json"}, {"Cache-Control", "no-cache"}};
    request.timeout = configuration_.timeout;
    request.maximumResponseBytes = maximumBodyBytes;
    request.certificateAuthorities = configuration_.certificateAuthorities;

    HttpResponse response;
    try {
        response = HttpClient::perform(request);
    } catch (const HttpError& error) {
        Log::notice(Log::Category::ui, std::string("update check: ") + error.what());
        switch (error.kind()) {
        case HttpError::Kind::timedOut:
            return failed("The update check didn\u2019t get an answer in time.");
        case HttpError::Kind::tooLarge:
            return failed(std::string(UpdateManifest::formatMessage));
        default:
            return failed("Tessellar couldn\u2019t reach the update address.");
        }
    }
    if (response.status < 200 || response.status > 299)
        return failed("The update address answered with an error (" + std::to_string(response.status) + ").");

    UpdateManifest manifest;
    try {
        manifest = UpdateManifest::decode(response.body);
    } catch (const UpdateError& error) {
        return failed(error.message());
    } catch (const std::exception&) {
        return failed(std::string(UpdateManifest::formatMessage));
    }
    if (*current < manifest.version) {
        // A newer version this system cannot run is not offered.
        if (manifest.minimumSystemVersion && configuration_.systemVersion &&
            *configuration_.systemVersion < *manifest.minimumSystemVersion)
            return {UpdateCheckResult::UpToDate{*current}};
        return {UpdateCheckResult::UpdateAvailable{std::move(manifest)}};
    }
    return {UpdateCheckResult::UpToDate{*current}};
}

std::optional<SemanticVersion> UpdateChecker::currentSystemVersion(const std::string& osReleasePath) {
    std::ifstream file(osReleasePath);
    std::string line;
    while (std::getline(file, line)) {
        if (!line.starts_with("VERSION_ID="))
            continue;
        std::string value = line.substr(11);
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
            value.back() == value.front())
            value = value.substr(1, value.size() - 2);
        return SemanticVersion::systemVersion(value);
    }
    return std::nullopt;
}

} // namespace tessellar
