#pragma once

#include "kit/model/ContentType.h"
#include "kit/model/ItemMetadata.h"

#include <string>

namespace tessellar {

// What smart rename hands to a file-name suggester, by rules or by a model.
struct FilenameRequest {
    std::string currentName; // with extension
    std::string text;        // the file's text content
    ContentType contentType = ContentType::unknown;
    ItemMetadata metadata;

    bool operator==(const FilenameRequest&) const = default;
};

} // namespace tessellar
