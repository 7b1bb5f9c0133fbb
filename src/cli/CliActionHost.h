#pragma once

#include "kit/actions/ActionContext.h"
#include "kit/actions/ActionHost.h"
#include "kit/actions/ActionPreview.h"
#include "kit/platform/Pasteboard.h"

#include <exception>
#include <mutex>
#include <optional>
#include <string>

namespace tessellar::cli {

// Thrown when an action asks for a confirmation that the command line was not given.
class ConfirmationNeeded : public std::exception {
public:
    explicit ConfirmationNeeded(ActionPreview preview) : preview(std::move(preview)) {}
    const char* what() const noexcept override { return "the action needs a confirmation"; }
    ActionPreview preview;
};

// The host of a command-line run: nobody to ask, so answers come from the options. --value
// answers a confirmation or a prompt; --yes accepts a preview's proposal and consents.
class CliActionHost final : public ActionHost {
public:
    CliActionHost(std::optional<std::string> value, bool acceptsProposals)
        : value_(std::move(value)), acceptsProposals_(acceptsProposals) {}

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

    struct Result {
        std::string title;
        std::string body;
    };
    std::optional<Result> result() const;

private:
    mutable std::mutex mutex_;
    std::optional<std::string> value_;
    bool acceptsProposals_;
    std::optional<Result> result_;
};

// The pasteboard of a command-line run: it keeps what the action wrote, for the output.
class CapturingPasteboard final : public Pasteboard {
public:
    std::vector<Url> fileURLs() const override;
    std::vector<Url> urls() const override;
    bool hasImage() const override { return false; }
    std::optional<std::string> plainText() const override;
    std::optional<std::vector<std::uint8_t>> data(std::string_view mimeType) const override;
    void clear() override;
    void writeText(std::string_view text) override;
    void writeFileURL(const Url& fileURL) override;

private:
    mutable std::mutex mutex_;
    std::optional<std::string> text_;
    std::optional<Url> file_;
};

// The context a command runs actions in: the desktop's workspace, this host and pasteboard.
ActionContext actionContext(CapturingPasteboard& pasteboard, CliActionHost& host);

} // namespace tessellar::cli
