#pragma once

#include "kit/actions/DropAction.h"
#include "kit/actions/ai/AgentApp.h"

#include <functional>
#include <mutex>

namespace tessellar {

// Hands the item's file (or the stored image of a screenshot) to an installed desktop
// assistant, which opens a new conversation with it attached.
class OpenInAgentAction final : public DropAction {
public:
    using Agents = std::function<std::vector<AgentApp>()>;

    // Looks the assistants up through the context's workspace on every call.
    OpenInAgentAction() = default;
    // Offers what `agents` returns; it must be thread-safe.
    explicit OpenInAgentAction(Agents agents) : agents_(std::move(agents)) {}

    ActionID id() const override;
    // "Open in <name>" with exactly one assistant, else "Send to Agent".
    std::string title() const override;
    std::string icon() const override;
    ActionAvailability availability(const InboxItem& item, const ActionContext& context) const override;
    std::optional<ActionPreview> preview(const InboxItem& item, const ActionContext& context) const override;
    ActionOutcome perform(const ActionInvocation& invocation, const ActionContext& context) const override;

    // The file to hand over: the item's file if it exists, else its stored image if that exists.
    static std::optional<Url> payload(const InboxItem& item);
    // The file's own name, or "Screenshot <date> at <time>.<ext>" for a stored screenshot.
    static std::string stagedName(const InboxItem& item, const Url& payload);
    // `url` itself when it already has `name`; otherwise a copy named `name` in the
    // "Outgoing" folder of the temporary directory (replacing an older copy). Throws
    // std::filesystem::filesystem_error when the copy cannot be made.
    static Url staged(const Url& url, const std::string& name);

private:
    std::vector<AgentApp> agents(const ActionContext* context) const;

    Agents agents_;
    // Without a lookup function the title follows the assistants seen by the last lookup.
    mutable std::mutex mutex_;
    mutable std::vector<AgentApp> lastSeen_;
};

} // namespace tessellar
