#include "kit/actions/ai/OpenInAgentAction.h"

#include <ctime>
#include <filesystem>
#include <system_error>

namespace tessellar {
namespace {

bool exists(const Url& url) {
    std::error_code error;
    return std::filesystem::exists(url.filePath(), error);
}

std::string localStamp(Timestamp date) {
    const auto seconds =
        static_cast<std::time_t>(date.unixSeconds >= 0 ? date.unixSeconds : date.unixSeconds - 1);
    std::tm local{};
    ::localtime_r(&seconds, &local);
    char text[40];
    std::strftime(text, sizeof text, "%Y-%m-%d at %H.%M.%S", &local);
    return text;
}

} // namespace

ActionID OpenInAgentAction::id() const {
    return ActionID::openInAgent;
}

std::string OpenInAgentAction::title() const {
    std::vector<AgentApp> agents;
    if (agents_) {
        agents = agents_();
    } else {
        const std::lock_guard lock(mutex_);
        agents = lastSeen_;
    }
    return agents.size() == 1 ? "Open in " + agents.front().name : "Send to Agent";
}

std::string OpenInAgentAction::icon() const {
    return "paperplane";
}

std::vector<AgentApp> OpenInAgentAction::agents(const ActionContext* context) const {
    if (agents_)
        return agents_();
    std::vector<AgentApp> found =
        context && context->workspace ? AgentApps::installed(*context->workspace) : std::vector<AgentApp>{};
    const std::lock_guard lock(mutex_);
    lastSeen_ = found;
    return found;
}

std::optional<Url> OpenInAgentAction::payload(const InboxItem& item) {
    if (item.fileURL && exists(*item.fileURL))
        return item.fileURL;
    if (item.imagePath && exists(*item.imagePath))
        return item.imagePath;
    return std::nullopt;
}

std::string OpenInAgentAction::stagedName(const InboxItem& item, const Url& payload) {
    if (item.fileURL)
        return payload.lastPathComponent();
    std::string extension = payload.filePath().extension().string();
    if (extension.size() > 1)
        extension.erase(0, 1);
    else
        extension = "png";
    return "Screenshot " + localStamp(item.createdAt) + "." + extension;
}

Url OpenInAgentAction::staged(const Url& url, const std::string& name) {
    if (name == url.lastPathComponent())
        return url;
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "Outgoing";
    std::filesystem::create_directories(folder);
    const std::filesystem::path copy = folder / name;
    std::error_code ignored;
    std::filesystem::remove_all(copy, ignored);
    std::filesystem::copy_file(url.filePath(), copy);
    return Url::fromFilePath(copy);
}

ActionAvailability OpenInAgentAction::availability(const InboxItem& item,
                                                   const ActionContext& context) const {
    if (agents(&context).empty() || !payload(item))
        return ActionAvailability::unavailable();
    switch (item.contentType) {
    case ContentType::image:
    case ContentType::screenshot:
        return ActionAvailability::available(86);
    case ContentType::code:
        return ActionAvailability::available(item.imagePath ? 89 : 70);
    default:
        return ActionAvailability::available(45);
    }
}

std::optional<ActionPreview> OpenInAgentAction::preview(const InboxItem& item,
                                                        const ActionContext& context) const {
    const auto offered = agents(&context);
    if (offered.size() < 2)
        return std::nullopt;
    ActionPreview preview{"Send to agent",
                          item.title,
                          ActionPreview::Style::choice,
                          "Opens a new conversation with this attached",
                          "Send",
                          {},
                          false};
    for (const auto& agent : offered)
        preview.options.push_back({agent.bundleIdentifier, agent.name, agent.bundleIdentifier, std::nullopt});
    return preview;
}

ActionOutcome OpenInAgentAction::perform(const ActionInvocation& invocation,
                                         const ActionContext& context) const {
    const InboxItem& item = invocation.item;
    const auto offered = agents(&context);
    const auto file = payload(item);
    if (!file)
        throw TessellarError("There\u2019s no file here to send.");
    Url sent = *file;
    try {
        sent = staged(*file, stagedName(item, *file));
    } catch (const std::filesystem::filesystem_error&) {
        // The unstaged file still works, only under a less readable name.
    }

    const AgentApp* agent = nullptr;
    for (const auto& candidate : offered)
        if (!invocation.confirmedValue || candidate.bundleIdentifier == *invocation.confirmedValue) {
            agent = &candidate;
            break;
        }
    if (!agent)
        throw TessellarError("No coding agent is installed that can take a file.");
    if (!context.requireWorkspace().open(sent, agent->url))
        throw TessellarError("Couldn\u2019t open " + agent->name + ".",
                             {TessellarError::Recovery::revealInFinder});

    InboxItem updated = item;
    updated.markCompleted(ActionID::openInAgent);
    return {"Sent to " + agent->name, std::move(updated), false};
}

} // namespace tessellar
