#pragma once

#include "kit/actions/ActionHost.h"
#include "kit/actions/ActionPreview.h"
#include "support/Guard.h"

#include <deque>
#include <string>
#include <vector>

namespace tessellar {

// An action host with preset answers that records every call as one line, such as
// "confirm Add reminder" or "quickLook file:///tmp/a.pdf". Unanswered questions cancel.
class RecordingActionHost final : public ActionHost {
public:
    std::optional<std::string> confirm(const ActionPreview& preview) override {
        return record("confirm " + preview.title, true);
    }
    void presentQuickLook(const Url& fileURL) override { record("quickLook " + fileURL.absoluteString()); }
    void presentResult(const std::string& title, const std::string& body, const InboxItem&) override {
        record("result " + title + "\n" + body);
    }
    std::optional<std::string> askForText(const std::string& prompt, const std::string&) override {
        return record("ask " + prompt, true);
    }
    std::optional<FolderDestination> chooseFolder(const std::string& named) override {
        record("chooseFolder " + named);
        return guard_.read(folder_);
    }
    std::optional<std::vector<std::uint8_t>> accessBookmark(const Url& folderURL,
                                                            const std::string&) override {
        record("accessBookmark " + folderURL.absoluteString());
        return guard_.read(bookmark_);
    }
    void openSettings() override { record("openSettings"); }
    void reportProgress(const std::optional<std::string>& text) override {
        record("progress " + text.value_or("(cleared)"));
    }
    bool confirmSendingOffDevice(const std::string& summary, const std::string& providerName) override {
        record("consent " + summary + " to " + providerName);
        return guard_.read(consent_);
    }

    // Answers given in order to confirm and askForText (absent = the user cancelled).
    void answer(std::optional<std::string> reply) {
        guard_.with([&] { answers_.push_back(std::move(reply)); });
    }
    void setFolderChoice(std::optional<FolderDestination> folder) {
        guard_.with([&] { folder_ = std::move(folder); });
    }
    void setBookmark(std::optional<std::vector<std::uint8_t>> bookmark) {
        guard_.with([&] { bookmark_ = std::move(bookmark); });
    }
    void setConsent(bool consent) {
        guard_.with([&] { consent_ = consent; });
    }

    std::vector<std::string> calls() const { return guard_.read(calls_); }

private:
    // Records the call and, for a question, takes the next answer.
    std::optional<std::string> record(std::string call, bool question = false) {
        return guard_.with([&]() -> std::optional<std::string> {
            calls_.push_back(std::move(call));
            if (!question || answers_.empty())
                return std::nullopt;
            auto reply = std::move(answers_.front());
            answers_.pop_front();
            return reply;
        });
    }

    testing::Guard guard_;
    std::vector<std::string> calls_;
    std::deque<std::optional<std::string>> answers_;
    std::optional<FolderDestination> folder_;
    std::optional<std::vector<std::uint8_t>> bookmark_;
    bool consent_ = false;
};

} // namespace tessellar
