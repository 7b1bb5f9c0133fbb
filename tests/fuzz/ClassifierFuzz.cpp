// Any text and any file name through the whole rule-based classifier: text alone gives a
// classification exactly when it is not blank, a file or an image always gives one. Run with a
// per-input time limit, it is what catches a recogniser that backtracks or grows without bound.
#include "FuzzInput.h"
#include "kit/classify/RuleBasedClassifier.h"
#include "kit/text/StringHelpers.h"
#include "kit/text/Unicode.h"

#include <algorithm>
#include <string>

using namespace tessellar;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const std::string_view rest = fuzz::text(data + 1, size - 1);
    // The text that reaches the classifier has been checked to be UTF-8 on the way in.
    if (!unicode::isValidUTF8(rest))
        return 0;

    ClassificationInput input;
    const uint8_t mode = data[0] % 4;
    if (mode == 0) {
        input.text = std::string(rest);
        const auto result = RuleBasedClassifier().classify(input);
        fuzz::require(result.has_value() == !isBlank(rest));
        if (result)
            fuzz::require(result->confidence >= 0 && result->confidence <= 1);
        return 0;
    }

    // A file name up to the first line feed, the rest as the file's text.
    const std::size_t cut = std::min(rest.find('\n'), rest.size());
    const std::string name(rest.substr(0, cut));
    input.text = std::string(rest.substr(std::min(cut + 1, rest.size())));
    input.filename = name;
    if (mode == 1)
        input.hasImage = true;
    else if (mode == 2 && name.find('\0') == std::string::npos)
        input.fileURL = Url::fromFilePath("/tmp/" + name);
    else
        input.text = std::string(rest); // text typed with a file name, as a rename would give
    const auto result = RuleBasedClassifier().classify(input);
    if (input.hasImage || input.fileURL)
        fuzz::require(result.has_value());
    if (result)
        fuzz::require(result->confidence >= 0 && result->confidence <= 1);
    return 0;
}
