#include "kit/actions/files/SmartRenameAction.h"

#include "kit/actions/files/SafeFileMove.h"
#include "kit/actions/files/SecurityScope.h"
#include "kit/base/Log.h"
#include "kit/intelligence/IntelligenceGateway.h"
#include "kit/suggest/FilenameGenerator.h"
#include "kit/text/StringHelpers.h"
#include "kit/text/Unicode.h"

#include <system_error>

namespace tessellar {
namespace {

const std::string notEnough = "There isn\u2019t enough in this file to suggest a better name.";

// The desktop's counterpart of the missing-write-permission code 513.
bool lacksWritePermission(const std::error_code& code) {
    return code == std::errc::permission_denied || code == std::errc::operation_not_permitted;
}

std::string folderName(const std::filesystem::path& folder) {
    return folder.filename().string();
}

TessellarError renameFailure(const std::system_error& error, const std::string& fileName,
                             const std::filesystem::path& folder) {
    const std::string description = error.code().message();
    Log::error(Log::Category::actions,
               "Rename failed: " + fileName + " in " + folderName(folder) + ": " + description);
    if (lacksWritePermission(error.code()))
        return TessellarError("Tessellar still isn\u2019t allowed to rename files in " + folderName(folder) +
                                  ". Move it to a folder you picked instead.",
                              {TessellarError::Recovery::revealInFinder});
    return TessellarError("Couldn\u2019t rename " + fileName + " \u2014 " + description,
                          {TessellarError::Recovery::revealInFinder});
}

FilenameRequest requestFor(const InboxItem& item) {
    return {item.fileURL->lastPathComponent(), item.bestText().value_or(""), item.contentType, item.metadata};
}

// Clears the progress line however the AI step ended.
struct ProgressLine {
    ActionHost& host;
    explicit ProgressLine(ActionHost& target, const std::string& text) : host(target) {
        host.reportProgress(text);
    }
    ~ProgressLine() { host.reportProgress(std::nullopt); }
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;
};

} // namespace

ActionID SmartRenameAction::id() const {
    return ActionID::smartRename;
}
std::string SmartRenameAction::title() const {
    return "Smart Rename";
}
std::string SmartRenameAction::icon() const {
    return "text.cursor";
}

ActionAvailability SmartRenameAction::availability(const InboxItem& item, const ActionContext&) const {
    if (!item.fileURL || !item.isFileStillPresent())
        return ActionAvailability::unavailable();
    switch (item.contentType) {
    case ContentType::invoice:
    case ContentType::receipt:
        return ActionAvailability::available(85);
    case ContentType::code:
    case ContentType::image:
    case ContentType::screenshot:
    case ContentType::pdf:
    case ContentType::document:
        return ActionAvailability::available(70);
    default:
        return ActionAvailability::available(40);
    }
}

std::optional<ActionPreview> SmartRenameAction::preview(const InboxItem& item,
                                                        const ActionContext& context) const {
    if (!item.fileURL)
        return std::nullopt;
    const FilenameRequest request = requestFor(item);
    const auto local = FilenameGenerator::suggestion(request);
    ActionPreview preview{"Rename file", "", ActionPreview::Style::editableValue, std::nullopt, "Rename", {},
                          false};
    if (local.isImprovement) {
        preview.detail = local.filename;
        preview.rationale = local.rationale;
        return preview;
    }
    const auto& gateway = context.intelligence;
    if (!gateway || !gateway->isExternalAIReady())
        throw TessellarError(notEnough, {TessellarError::Recovery::revealInFinder});

    ActionHost& host = context.requireHost();
    std::optional<std::string> proposal;
    std::string providerName;
    {
        const ProgressLine progress(host, "Suggesting a name\u2026");
        try {
            const ConsentPrompt ask = [&host](const std::string& summary, const std::string& provider) {
                return host.confirmSendingOffDevice(summary, provider);
            };
            proposal = gateway->run("the text of " + request.currentName, ask,
                                    [&](const IntelligenceProvider& provider) {
                                        providerName = provider.displayName();
                                        return provider.smartFilename(request, context.stop);
                                    });
        } catch (const TessellarError& error) {
            Log::notice(Log::Category::actions, "No name from the provider: " + error.message());
        } catch (const Cancelled&) {
            // A declined consent leaves only the local answer, which had nothing.
        }
    }
    if (!proposal || isBlank(*proposal) ||
        unicode::lowercased(*proposal) == unicode::lowercased(request.currentName))
        throw TessellarError(notEnough, {TessellarError::Recovery::revealInFinder});
    preview.detail = *proposal;
    preview.rationale = "Suggested by " + providerName;
    return preview;
}

ActionOutcome SmartRenameAction::renamed(const InboxItem& item, const std::filesystem::path& moved) {
    InboxItem updated = item;
    const std::string oldName = item.fileURL->lastPathComponent();
    const std::string newName = moved.filename().string();
    updated.fileURL = Url::fromFilePath(moved);
    if (updated.title == oldName)
        updated.title = newName;
    updated.markCompleted(ActionID::smartRename);
    return {"Renamed to " + newName, std::move(updated), false};
}

ActionOutcome SmartRenameAction::perform(const ActionInvocation& invocation,
                                         const ActionContext& context) const {
    const InboxItem& item = invocation.item;
    if (!item.fileURL)
        throw TessellarError("This item isn\u2019t a file.");
    const std::string fileName = item.fileURL->lastPathComponent();
    if (!item.isFileStillPresent())
        throw TessellarError::fileMissing(fileName);
    const auto& confirmed = invocation.confirmedValue;
    if (!confirmed || isBlank(*confirmed))
        return ActionOutcome::cancelled;
    const std::string newName = FilenameGenerator::sanitize(*confirmed, fileName);
    if (newName.empty() || newName == fileName)
        return ActionOutcome::cancelled;

    const std::filesystem::path file = item.fileURL->filePath();
    const std::filesystem::path folder = file.parent_path();
    try {
        return renamed(item, SafeFileMove::moveInto(file, folder, newName));
    } catch (const std::system_error& error) {
        if (!lacksWritePermission(error.code()))
            throw renameFailure(error, fileName, folder);
    }

    const auto bookmark = context.requireHost().accessBookmark(
        Url::fromFilePath(folder), "To rename files in \u201c" + folderName(folder) +
                                       "\u201d, Tessellar needs your permission for that folder.");
    if (!bookmark)
        return ActionOutcome::cancelled;
    std::optional<std::system_error> retryFailure;
    const auto moved = SecurityScope::withAccess(*bookmark, [&](const std::filesystem::path&) {
        try {
            return std::optional(SafeFileMove::moveInto(file, folder, newName));
        } catch (const std::system_error& error) {
            retryFailure = error;
            return std::optional<std::filesystem::path>();
        }
    });
    if (!moved)
        throw TessellarError("Tessellar couldn\u2019t use its permission for " + folderName(folder) +
                                 ". Try granting it again.",
                             {TessellarError::Recovery::revealInFinder});
    if (!*moved)
        throw renameFailure(*retryFailure, fileName, folder);
    return renamed(item, **moved);
}

} // namespace tessellar
