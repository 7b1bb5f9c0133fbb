#pragma once

#include "kit/actions/DropAction.h"

namespace tessellar {

// Files the item's file into one of the user's destination folders, ranked for the item by
// the folder suggester, under a name that is free there.
class MoveToFolderAction final : public DropAction {
public:
    ActionID id() const override;
    std::string title() const override;
    std::string icon() const override;
    ActionAvailability availability(const InboxItem& item, const ActionContext& context) const override;
    std::optional<ActionPreview> preview(const InboxItem& item, const ActionContext& context) const override;
    ActionOutcome perform(const ActionInvocation& invocation, const ActionContext& context) const override;

    // `path` with the home folder shown as "~" when it lies inside it.
    static std::string abbreviatingHome(const std::string& path, const std::string& home);
};

} // namespace tessellar
