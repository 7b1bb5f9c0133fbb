#pragma once

#include "kit/detect/DataDetector.h"

#include <string_view>
#include <vector>

namespace tessellar {

class DateRecognizer {
public:
    static std::vector<DataDetector::Match> scan(std::string_view text, Timestamp now);
};

} // namespace tessellar
