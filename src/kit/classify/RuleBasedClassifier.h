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

    // Text alone, as typed or pasted: what classify() answers for an input holding only `text`,
    // for a caller that keeps the text in a buffer of its own. `readableAfter`: how many bytes
    // that buffer holds past the end of `text`; enough of them spare a large paste a copy.
    static std::optional<Classification> classifyText(std::string_view text, std::size_t readableAfter = 0);

    // Whether a file name looks like a screenshot's ("Screenshot …", "CleanShot …", "Screen Shot …").
    static bool looksLikeScreenshot(std::string_view name);

private:
    static std::optional<Classification> classifyText(std::string_view text,
                                                      const std::optional<std::string>& filename,
                                                      std::size_t readableAfter);
    static Classification classifyContainer(const ClassificationInput& input);
};

} // namespace tessellar
