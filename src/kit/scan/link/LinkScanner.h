#pragma once

#include "kit/scan/DataDetector.h"

#include <string_view>
#include <vector>

namespace tessellar {

class LinkScanner {
public:
    static std::vector<DataDetector::Match> scan(std::string_view text);
};

} // namespace tessellar
