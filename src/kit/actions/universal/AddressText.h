#pragma once

#include "kit/model/InboxItem.h"

#include <optional>
#include <string>

namespace tessellar {

// The postal address of an item: the detector's raw address, else its street and locality
// facts joined with ", ", else its text on one line.
std::optional<std::string> addressText(const InboxItem& item);

} // namespace tessellar
