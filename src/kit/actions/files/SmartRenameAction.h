#pragma once

#include "kit/actions/DropAction.h"

#include <filesystem>

namespace tessellar {

// Proposes a better name for the item's file (by rules, else by the AI provider), lets the
// user edit it, and renames the file in its own folder without replacing anything there.
class SmartRenameAction final : public DropAction {
public:
    ActionID id() const override;
    std::string title() const override;
    std::string icon() const override;
    ActionAvailability availability(const InboxItem& item, const ActionContext& context) const override;
    std::optional<ActionPreview> preview(const InboxItem& item, const ActionContext& context) const override;
    ActionOutcome perform(const ActionInvocation& invocation, const ActionContext& context) const override;

private:
    static ActionOutcome renamed(const InboxItem& item, const std::filesystem::path& moved);
};

} // namespace tessellar
