#pragma once

#include "kit/base/Url.h"
#include "kit/model/SourceType.h"

#include <optional>
#include <string>

namespace tessellar {

// What a classifier is given: the best text available and what is known of the file.
struct ClassificationInput {
    std::optional<std::string> text;
    std::optional<Url> fileURL;
    std::optional<std::string> filename;
    std::optional<std::string> typeIdentifier; // a MIME type
    std::optional<Url> sourceURL;
    bool hasImage = false;
    SourceType source = SourceType::typed;

    bool operator==(const ClassificationInput&) const = default;
};

} // namespace tessellar
