#pragma once

#include "kit/actions/ActionHost.h"
#include "kit/actions/ActionPreview.h"

#include <deque>
#include <mutex>
#include <string>
#include <vector>

namespace tessellar {

// An action host with preset answers that records every call as one line, such as
// "confirm Add reminder" or "quickLook file:///tmp/a.pdf". Unanswered questions cancel.
class RecordingActionHost final : public ActionHost {
public:
    std::optional<std::string> confirm(const ActionPreview& preview) override;
    void presentQuickLook(const Url& fileURL) override;
    void presentResult(const std::string& title, const std::string& body,
                       const InboxItem& sourceItem) override;
    std::optional<std::string> askForText(const std::string& prompt, const std::string& placeholder) override;
    std::optional<FolderDestination> chooseFolder(const std::string& named) override;
    std::optional<std::vector<std::uint8_t>> accessBookmark(const Url& folderURL,
                                                            const std::string& reason) override;
    void openSettings() override;
    void reportProgress(const std::optional<std::string>& text) override;
    bool confirmSendingOffDevice(const std::string& summary, const std::string& providerName) override;

    // Answers given in order to confirm and askForText (absent = the user cancelled).
    void answer(std::optional<std::string> reply);
    void setFolderChoice(std::optional<FolderDestination> folder);
    void setBookmark(std::optional<std::vector<std::uint8_t>> bookmark);
    void setConsent(bool consent);

    std::vector<std::string> calls() const;
    std::vector<ActionPreview> previews() const;

private:
    std::optional<std::string> nextAnswer();

    mutable std::mutex mutex_;
    std::vector<std::string> calls_;
    std::vector<ActionPreview> previews_;
    std::deque<std::optional<std::string>> answers_;
    std::optional<FolderDestination> folder_;
    std::optional<std::vector<std::uint8_t>> bookmark_;
    bool consent_ = false;
};

} // namespace tessellar
