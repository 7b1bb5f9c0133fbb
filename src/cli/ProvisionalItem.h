#pragma once

#include "kit/model/ClassificationInput.h"
#include "kit/model/InboxItem.h"

namespace tessellar::cli {

// The item for an input as the rules alone see it: classified by the rule-based classifier,
// with a file's text as the extracted text and a lone link as the source. It stands in for
// the analysis pipeline until the commands use that.
InboxItem provisionalItem(const ClassificationInput& input);

} // namespace tessellar::cli
