#pragma once

#include "kit/model/CapturedContent.h"
#include "kit/platform/Pasteboard.h"

#include <optional>
#include <string>
#include <string_view>

namespace tessellar {

// Writes to and reads from the general clipboard. Holds no state of its own.
class ClipboardService {
public:
    explicit ClipboardService(Pasteboard& pasteboard) : pasteboard_(pasteboard) {}

    // Clears the clipboard, then writes one plain string.
    void copy(std::string_view text) const;
    // Clears the clipboard, then writes the file URL so a file manager pastes the file.
    void copy(const Url& fileURL) const;

    // What the clipboard holds; throws "The clipboard is empty." [retry] when nothing usable.
    CapturedContent currentContent() const;

    // A short description of the clipboard for the Use Clipboard command: the first file's
    // name, "Image", "Link", or the text's first words (at most 32 characters and "…").
    std::optional<std::string> clipboardHint() const;

private:
    Pasteboard& pasteboard_;
};

} // namespace tessellar
