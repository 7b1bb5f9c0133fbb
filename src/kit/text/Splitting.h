#pragma once

#include <string_view>
#include <vector>

namespace tessellar {

// Where a text breaks into lines. Callers differ on purpose: a pasted CR LF text is one
// line per pair for the signals, while a stack trace splits at any newline character.
enum class LineBreaks {
    lineFeed,          // every LF; the CR of a CR LF pair stays at the end of its line
    lineFeedCharacter, // an LF that is a character of its own: a CR LF pair does not split
    anyNewline,        // LF, VT, FF, CR, NEL, LS and PS each end a line: CR LF leaves an empty line
};

// The pieces between the breaks, empty ones included; at least one (the empty text gives {""}).
std::vector<std::string_view> splitLines(std::string_view text, LineBreaks breaks);

struct FileNameParts {
    std::string_view stem; // everything before the extension's dot, folders included
    std::string_view extension;
};

// The extension follows the last "." of the last path component; a component without a dot
// or whose only dot comes first (".profile") has none.
FileNameParts splitFileName(std::string_view name);

} // namespace tessellar
