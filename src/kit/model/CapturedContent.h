#pragma once

#include "kit/base/Url.h"
#include "kit/model/SourceType.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tessellar {

// One raw capture, as the panel, the clipboard or the CLI hands it to analysis.
struct CapturedContent {
    SourceType source = SourceType::typed;
    std::optional<std::string> text;
    std::optional<Url> webURL;
    std::optional<Url> fileURL;
    std::optional<std::vector<std::uint8_t>> imageData;
    std::optional<std::string> typeIdentifier; // a MIME type ("image/png", "application/pdf")
    std::optional<std::string> suggestedName;

    // Nothing usable: blank or no text, and no link, file or image.
    bool isEmpty() const;

    bool operator==(const CapturedContent&) const = default;
};

} // namespace tessellar
