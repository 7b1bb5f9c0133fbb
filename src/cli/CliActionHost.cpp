#include "cli/CliActionHost.h"

#include "desktop/GioWorkspace.h"
#include "kit/intelligence/IntelligenceGateway.h"

namespace tessellar::cli {

std::optional<std::string> CliActionHost::confirm(const ActionPreview& preview) {
    const std::lock_guard lock(mutex_);
    if (value_) {
        // A choice may be named by its option's id or label as well as by its value.
        for (const auto& option : preview.options)
            if (*value_ == option.id || *value_ == option.label)
                return option.value;
        return value_;
    }
    if (!acceptsProposals_)
        throw ConfirmationNeeded(preview);
    if (preview.style == ActionPreview::Style::choice)
        return preview.options.empty() ? std::nullopt : std::optional(preview.options.front().value);
    return preview.detail;
}

void CliActionHost::presentQuickLook(const Url&) {}

void CliActionHost::presentResult(const std::string& title, const std::string& body, const InboxItem&) {
    const std::lock_guard lock(mutex_);
    result_ = Result{title, body};
}

std::optional<std::string> CliActionHost::askForText(const std::string&, const std::string&) {
    const std::lock_guard lock(mutex_);
    return value_;
}

std::optional<FolderDestination> CliActionHost::chooseFolder(const std::string&) {
    return std::nullopt;
}

std::optional<std::vector<std::uint8_t>> CliActionHost::accessBookmark(const Url&, const std::string&) {
    return std::nullopt;
}

void CliActionHost::openSettings() {}

void CliActionHost::reportProgress(const std::optional<std::string>&) {}

bool CliActionHost::confirmSendingOffDevice(const std::string&, const std::string&) {
    const std::lock_guard lock(mutex_);
    return acceptsProposals_;
}

std::optional<CliActionHost::Result> CliActionHost::result() const {
    const std::lock_guard lock(mutex_);
    return result_;
}

std::vector<Url> CapturingPasteboard::fileURLs() const {
    const std::lock_guard lock(mutex_);
    return file_ ? std::vector<Url>{*file_} : std::vector<Url>{};
}

std::vector<Url> CapturingPasteboard::urls() const {
    return fileURLs();
}

std::optional<std::string> CapturingPasteboard::plainText() const {
    const std::lock_guard lock(mutex_);
    if (file_)
        return file_->absoluteString();
    return text_;
}

std::optional<std::vector<std::uint8_t>> CapturingPasteboard::data(std::string_view mimeType) const {
    const auto text = plainText();
    if (mimeType != "text/plain" || !text)
        return std::nullopt;
    return std::vector<std::uint8_t>(text->begin(), text->end());
}

void CapturingPasteboard::clear() {
    const std::lock_guard lock(mutex_);
    text_.reset();
    file_.reset();
}

void CapturingPasteboard::writeText(std::string_view text) {
    const std::lock_guard lock(mutex_);
    text_ = std::string(text);
}

void CapturingPasteboard::writeFileURL(const Url& fileURL) {
    const std::lock_guard lock(mutex_);
    file_ = fileURL;
}

ActionContext actionContext(CapturingPasteboard& pasteboard, CliActionHost& host,
                            const CliServices& services) {
    return ActionContext{services.textExtractor(),
                         services.ocr(),
                         ClipboardService(pasteboard),
                         services.intelligence(),
                         services.reminders(),
                         [] { return std::vector<FolderDestination>{}; },
                         &host,
                         std::make_shared<GioWorkspace>(),
                         {}};
}

} // namespace tessellar::cli
