#pragma once

#include "kit/model/FolderDestination.h"
#include "kit/model/InboxItem.h"

#include <optional>
#include <vector>

namespace tessellar {

// Ranks the user's destination folders for a captured file by matching folder names
// against the item's content type and against keywords in its text. Stateless.
class FolderSuggester {
public:
    // The destinations that scored at least one point, best first; equal scores keep
    // the order of `destinations`. Empty for an item that is not a file.
    static std::vector<FolderDestination> rank(const InboxItem& item,
                                               const std::vector<FolderDestination>& destinations);
    static std::optional<FolderDestination> best(const InboxItem& item,
                                                 const std::vector<FolderDestination>& destinations);
};

} // namespace tessellar
