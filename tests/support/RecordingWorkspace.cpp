#include "support/RecordingWorkspace.h"

namespace tessellar {

bool RecordingWorkspace::open(const Url& url) {
    const std::lock_guard lock(mutex_);
    calls_.push_back({"open", url.absoluteString(), ""});
    return succeeds_;
}

bool RecordingWorkspace::activateFileViewerSelecting(const Url& fileURL) {
    const std::lock_guard lock(mutex_);
    calls_.push_back({"reveal", fileURL.absoluteString(), ""});
    return succeeds_;
}

std::optional<Url> RecordingWorkspace::urlForApplication(std::string_view identifier) {
    const std::lock_guard lock(mutex_);
    if (const auto found = applications_.find(identifier); found != applications_.end())
        return found->second;
    return std::nullopt;
}

bool RecordingWorkspace::open(const Url& fileURL, const Url& applicationURL) {
    const std::lock_guard lock(mutex_);
    calls_.push_back({"openWith", fileURL.absoluteString(), applicationURL.absoluteString()});
    return succeeds_;
}

std::vector<RecordingWorkspace::Call> RecordingWorkspace::calls() const {
    const std::lock_guard lock(mutex_);
    return calls_;
}

void RecordingWorkspace::setSucceeds(bool succeeds) {
    const std::lock_guard lock(mutex_);
    succeeds_ = succeeds;
}

void RecordingWorkspace::install(const std::string& identifier, const Url& location) {
    const std::lock_guard lock(mutex_);
    applications_.insert_or_assign(identifier, location);
}

} // namespace tessellar
