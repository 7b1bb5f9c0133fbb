#include "kit/model/CapturedContent.h"

#include "kit/text/StringHelpers.h"

namespace tessellar {

bool CapturedContent::isEmpty() const {
    return (!text || isBlank(*text)) && !webURL && !fileURL && !imageData;
}

} // namespace tessellar
