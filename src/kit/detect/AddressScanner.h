#pragma once

#include "kit/detect/DataDetector.h"

#include <string_view>
#include <vector>

namespace tessellar {

class AddressScanner {
public:
    static std::vector<DataDetector::Match> scan(std::string_view text);
};

} // namespace tessellar
