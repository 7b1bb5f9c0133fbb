#pragma once

#include "kit/model/Classification.h"
#include "kit/model/ClassificationInput.h"

#include <optional>

namespace tessellar {

// A classifier: decides what a capture is. Blocking and safe to call from any thread;
// absent means the classifier has no opinion.
class ContentClassifier {
public:
    virtual ~ContentClassifier() = default;
    virtual std::optional<Classification> classify(const ClassificationInput& input) const = 0;
};

} // namespace tessellar
