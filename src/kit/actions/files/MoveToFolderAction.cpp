#include "kit/actions/files/MoveToFolderAction.h"

#include "kit/actions/files/SafeFileMove.h"
#include "kit/actions/files/SecurityScope.h"
#include "kit/base/Log.h"
#include "kit/suggest/FolderSuggester.h"

#include <algorithm>
#include <cstdlib>
#include <system_error>

namespace tessellar {
namespace {

std::vector<FolderDestination> destinationsOf(const ActionContext& context) {
    return context.destinations ? context.destinations() : std::vector<FolderDestination>{};
}

std::string homeFolder() {
    const char* home = std::getenv("HOME");
    return home ? std::string(home) : std::string();
}

std::string folderName(const std::filesystem::path& folder) {
    const std::filesystem::path trimmed = folder.has_filename() ? folder : folder.parent_path();
    return trimmed.filename().string();
}

} // namespace

ActionID MoveToFolderAction::id() const {
    return ActionID::moveToFolder;
}
std::string MoveToFolderAction::title() const {
    return "Move to Folder";
}
std::string MoveToFolderAction::icon() const {
    return "folder.badge.plus";
}

std::string MoveToFolderAction::abbreviatingHome(const std::string& path, const std::string& home) {
    if (!home.empty() && path.starts_with(home))
        return "~" + path.substr(home.size());
    return path;
}

ActionAvailability MoveToFolderAction::availability(const InboxItem& item,
                                                    const ActionContext& context) const {
    if (!item.fileURL || !item.isFileStillPresent())
        return ActionAvailability::unavailable();
    const auto destinations = destinationsOf(context);
    if (destinations.empty())
        return ActionAvailability::unavailable();
    return ActionAvailability::available(FolderSuggester::rank(item, destinations).empty() ? 30 : 80);
}

std::optional<ActionPreview> MoveToFolderAction::preview(const InboxItem& item,
                                                         const ActionContext& context) const {
    if (!item.fileURL)
        return std::nullopt;
    const auto destinations = destinationsOf(context);
    std::vector<FolderDestination> ordered = FolderSuggester::rank(item, destinations);
    const bool ranked = !ordered.empty();
    for (const auto& destination : destinations) {
        const bool listed = std::ranges::any_of(
            ordered, [&](const FolderDestination& other) { return other.id == destination.id; });
        if (!listed)
            ordered.push_back(destination);
    }
    if (ordered.empty())
        throw TessellarError("No destination folders are set up yet.",
                             {TessellarError::Recovery::openSettings});

    ActionPreview preview;
    preview.title = "Move " + item.fileURL->lastPathComponent();
    preview.detail = ordered.front().name;
    preview.style = ActionPreview::Style::choice;
    if (ranked)
        preview.rationale = "Suggested from the document\u2019s contents";
    preview.confirmLabel = "Move";
    const std::string home = homeFolder();
    for (const auto& destination : ordered)
        preview.options.push_back({destination.id.string(), destination.name, destination.path,
                                   abbreviatingHome(destination.path, home)});
    return preview;
}

ActionOutcome MoveToFolderAction::perform(const ActionInvocation& invocation,
                                          const ActionContext& context) const {
    const InboxItem& item = invocation.item;
    if (!item.fileURL)
        throw TessellarError("This item isn\u2019t a file.");
    const auto& confirmed = invocation.confirmedValue;
    if (!confirmed || confirmed->empty())
        return ActionOutcome::cancelled;

    std::optional<FolderDestination> destination;
    for (const auto& candidate : destinationsOf(context))
        if (candidate.path == *confirmed) {
            destination = candidate;
            break;
        }
    if (!destination || !destination->bookmark) {
        const std::string name =
            destination ? destination->name : std::filesystem::path(*confirmed).filename().string();
        destination = context.requireHost().chooseFolder(name);
        if (!destination)
            return ActionOutcome::cancelled;
    }

    // Access through the grant when it still resolves; otherwise the plain path is tried.
    std::filesystem::path folder = destination->path;
    if (destination->bookmark)
        if (auto resolved = SecurityScope::resolve(*destination->bookmark))
            folder = *resolved;

    const std::string fileName = item.fileURL->lastPathComponent();
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error || !std::filesystem::is_directory(folder)) {
        Log::error(Log::Category::actions, "Couldn't create " + folder.string() + ": " + error.message());
        throw TessellarError("Couldn\u2019t open " + folderName(folder) +
                                 ". Choose the folder again so Tessellar can write to it.",
                             {TessellarError::Recovery::openSettings});
    }

    std::filesystem::path moved;
    try {
        moved = SafeFileMove::moveInto(item.fileURL->filePath(), folder, fileName);
    } catch (const std::system_error& failure) {
        Log::error(Log::Category::actions,
                   "Move failed: " + fileName + " to " + folder.string() + ": " + failure.code().message());
        throw TessellarError(
            "Couldn\u2019t move " + fileName + " to " + folderName(folder) + ".",
            {TessellarError::Recovery::revealInFinder, TessellarError::Recovery::openSettings});
    }

    InboxItem updated = item;
    updated.fileURL = Url::fromFilePath(moved);
    updated.markCompleted(ActionID::moveToFolder);
    const std::string shownName = destination->name.empty() ? folderName(folder) : destination->name;
    return {"Moved to " + shownName, std::move(updated), false};
}

} // namespace tessellar
