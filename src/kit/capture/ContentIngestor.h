#pragma once

#include "kit/model/CapturedContent.h"
#include "kit/platform/Pasteboard.h"

#include <string>
#include <string_view>
#include <vector>

namespace tessellar {

// Turns a drag, the clipboard or typed text into a CapturedContent. Stateless.
class ContentIngestor {
public:
    // The representations the panel accepts in drags, in priority order. File and web links
    // both travel as a URI list.
    static const std::vector<std::string>& acceptedTypes();

    // Reads the pasteboard by priority: first file, image (TIFF re-encoded as PNG), web link,
    // plain text, then RTF. Never fails: with nothing usable it holds only `source`.
    static CapturedContent capture(const Pasteboard& pasteboard, SourceType source);

    // Typed text as given, with its link when the whole text is one.
    static CapturedContent capture(std::string_view typedText);

    // "Pasted Image 2026-03-01 at 09.30.05.png": the current local time and `extension`.
    static std::string defaultImageName(std::string_view extension);
};

} // namespace tessellar
