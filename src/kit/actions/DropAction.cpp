#include "kit/actions/DropAction.h"

namespace tessellar {

std::optional<ActionPreview> DropAction::preview(const InboxItem&, const ActionContext&) const {
    return std::nullopt;
}

} // namespace tessellar
