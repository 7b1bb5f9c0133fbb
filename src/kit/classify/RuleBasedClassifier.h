#pragma once

#include "kit/classify/ContentClassifier.h"

#include <optional>
#include <string>
#include <string_view>

namespace tessellar {

// Decides on the machine, without any network, what a capture is: asks the detectors in a
// fixed order, takes the first that recognises the content and turns its result into a
// classification. Text goes through the text rules; a file or an image through the
// container rules, which always answer. Holds no state.
class RuleBasedClassifier : public ContentClassifier {
public:
    std::optional<Classification> classify(const ClassificationInput& input) const override;

    // Whether a file name looks like a screenshot's ("Screenshot …", "CleanShot …", "Screen Shot …").
    static bool looksLikeScreenshot(std::string_view name);

private:
    static std::optional<Classification> classifyText(const ClassificationInput& input);
    static Classification classifyContainer(const ClassificationInput& input);
};

} // namespace tessellar
