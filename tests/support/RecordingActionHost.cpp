#include "support/RecordingActionHost.h"

namespace tessellar {

std::optional<std::string> RecordingActionHost::nextAnswer() {
    if (answers_.empty())
        return std::nullopt;
    auto reply = std::move(answers_.front());
    answers_.pop_front();
    return reply;
}

std::optional<std::string> RecordingActionHost::confirm(const ActionPreview& preview) {
    const std::lock_guard lock(mutex_);
    calls_.push_back("confirm " + preview.title);
    previews_.push_back(preview);
    return nextAnswer();
}

void RecordingActionHost::presentQuickLook(const Url& fileURL) {
    const std::lock_guard lock(mutex_);
    calls_.push_back("quickLook " + fileURL.absoluteString());
}

void RecordingActionHost::presentResult(const std::string& title, const std::string& body, const InboxItem&) {
    const std::lock_guard lock(mutex_);
    calls_.push_back("result " + title + "\n" + body);
}

std::optional<std::string> RecordingActionHost::askForText(const std::string& prompt, const std::string&) {
    const std::lock_guard lock(mutex_);
    calls_.push_back("ask " + prompt);
    return nextAnswer();
}

std::optional<FolderDestination> RecordingActionHost::chooseFolder(const std::string& named) {
    const std::lock_guard lock(mutex_);
    calls_.push_back("chooseFolder " + named);
    return folder_;
}

std::optional<std::vector<std::uint8_t>> RecordingActionHost::accessBookmark(const Url& folderURL,
                                                                             const std::string&) {
    const std::lock_guard lock(mutex_);
    calls_.push_back("accessBookmark " + folderURL.absoluteString());
    return bookmark_;
}

void RecordingActionHost::openSettings() {
    const std::lock_guard lock(mutex_);
    calls_.push_back("openSettings");
}

void RecordingActionHost::reportProgress(const std::optional<std::string>& text) {
    const std::lock_guard lock(mutex_);
    calls_.push_back("progress " + text.value_or("(cleared)"));
}

bool RecordingActionHost::confirmSendingOffDevice(const std::string& summary,
                                                  const std::string& providerName) {
    const std::lock_guard lock(mutex_);
    calls_.push_back("consent " + summary + " to " + providerName);
    return consent_;
}

void RecordingActionHost::answer(std::optional<std::string> reply) {
    const std::lock_guard lock(mutex_);
    answers_.push_back(std::move(reply));
}

void RecordingActionHost::setFolderChoice(std::optional<FolderDestination> folder) {
    const std::lock_guard lock(mutex_);
    folder_ = std::move(folder);
}

void RecordingActionHost::setBookmark(std::optional<std::vector<std::uint8_t>> bookmark) {
    const std::lock_guard lock(mutex_);
    bookmark_ = std::move(bookmark);
}

void RecordingActionHost::setConsent(bool consent) {
    const std::lock_guard lock(mutex_);
    consent_ = consent;
}

std::vector<std::string> RecordingActionHost::calls() const {
    const std::lock_guard lock(mutex_);
    return calls_;
}

std::vector<ActionPreview> RecordingActionHost::previews() const {
    const std::lock_guard lock(mutex_);
    return previews_;
}

} // namespace tessellar
