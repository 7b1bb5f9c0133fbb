#include "kit/detect/LinkScanner.h"

namespace tessellar {

// PLACEHOLDER: the recogniser lands with its own change.
std::vector<DataDetector::Match> LinkScanner::scan(std::string_view) {
    return {};
}

} // namespace tessellar
