#include "kit/text/Splitting.h"

namespace tessellar {
namespace {

// The length of the line break starting at `at`, 0 when there is none.
std::size_t breakLength(std::string_view text, std::size_t at, LineBreaks breaks) {
    const auto byte = static_cast<unsigned char>(text[at]);
    switch (breaks) {
    case LineBreaks::lineFeed:
        return byte == '\n' ? 1 : 0;
    case LineBreaks::lineFeedCharacter:
        return byte == '\n' && (at == 0 || text[at - 1] != '\r') ? 1 : 0;
    case LineBreaks::anyNewline:
        break;
    }
    if (byte >= 0x0A && byte <= 0x0D)
        return 1;
    const auto next = [&](std::size_t k) {
        return at + k < text.size() ? static_cast<unsigned char>(text[at + k]) : 0;
    };
    if (byte == 0xC2 && next(1) == 0x85)
        return 2;
    if (byte == 0xE2 && next(1) == 0x80 && (next(2) == 0xA8 || next(2) == 0xA9))
        return 3;
    return 0;
}

} // namespace

std::vector<std::string_view> splitLines(std::string_view text, LineBreaks breaks) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = breakLength(text, i, breaks);
        if (length == 0) {
            ++i;
            continue;
        }
        lines.push_back(text.substr(start, i - start));
        i += length;
        start = i;
    }
    lines.push_back(text.substr(start));
    return lines;
}

FileNameParts splitFileName(std::string_view name) {
    const std::size_t slash = name.rfind('/');
    const std::size_t componentStart = slash == std::string_view::npos ? 0 : slash + 1;
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || dot <= componentStart)
        return {name, {}};
    return {name.substr(0, dot), name.substr(dot + 1)};
}

} // namespace tessellar
