#include "kit/detect/AddressScanner.h"

namespace tessellar {

// PLACEHOLDER: the recogniser lands with its own change.
std::vector<DataDetector::Match> AddressScanner::scan(std::string_view) { return {}; }

} // namespace tessellar
