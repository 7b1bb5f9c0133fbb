#include "kit/text/StringHelpers.h"

#include "kit/text/Splitting.h"
#include "kit/text/Unicode.h"

#include <unicode/uchar.h>

namespace tessellar {
namespace {

using unicode::nextScalar;

bool isLetterOrNumber(char32_t c) {
    const auto mask = U_GET_GC_MASK(static_cast<UChar32>(c));
    return (mask & (U_GC_L_MASK | U_GC_M_MASK | U_GC_N_MASK)) != 0;
}

} // namespace

std::string_view trimmedView(std::string_view text) {
    std::size_t begin = 0;
    while (begin < text.size()) {
        std::size_t next = begin;
        if (!unicode::isWhitespace(nextScalar(text, next)))
            break;
        begin = next;
    }
    std::size_t end = text.size();
    while (end > begin) {
        // Step back to the start of the last scalar.
        std::size_t start = end - 1;
        while (start > begin && (static_cast<unsigned char>(text[start]) & 0xC0) == 0x80)
            --start;
        std::size_t probe = start;
        const char32_t c = nextScalar(text, probe);
        if (probe != end || !unicode::isWhitespace(c))
            break;
        end = start;
    }
    return text.substr(begin, end - begin);
}

std::string trimmed(std::string_view text) {
    return std::string(trimmedView(text));
}

bool isBlank(std::string_view text) {
    return trimmedView(text).empty();
}

std::string normalizedWhitespace(std::string_view text) {
    std::string out;
    std::size_t i = 0;
    std::size_t pieceStart = 0;
    bool inPiece = false;
    while (i < text.size()) {
        const std::size_t at = i;
        const bool space = unicode::isWhitespace(nextScalar(text, i));
        if (space && inPiece) {
            if (!out.empty())
                out += ' ';
            out.append(text.substr(pieceStart, at - pieceStart));
            inPiece = false;
        } else if (!space && !inPiece) {
            pieceStart = at;
            inPiece = true;
        }
    }
    if (inPiece) {
        if (!out.empty())
            out += ' ';
        out.append(text.substr(pieceStart));
    }
    return out;
}

std::string truncated(std::string_view text, std::size_t limit, std::string_view ellipsis) {
    // Only the first limit + 1 characters matter: walking them in place keeps a long text's
    // cost to its first few hundred bytes.
    std::vector<std::size_t> bounds{0};
    unicode::CharacterWalker walker(text);
    while (bounds.size() <= limit + 1) {
        const auto end = walker.next();
        if (!end)
            break;
        bounds.push_back(*end);
    }
    if (bounds.size() <= limit + 1)
        return std::string(text);
    const std::string_view prefix = text.substr(0, bounds[limit]);
    // The last character that is exactly one U+0020, searching backwards.
    for (std::size_t k = limit; k-- > 0;) {
        if (bounds[k + 1] - bounds[k] == 1 && text[bounds[k]] == ' ') {
            if (k == 0)
                break;
            return std::string(prefix.substr(0, bounds[k])) + std::string(ellipsis);
        }
    }
    return std::string(prefix) + std::string(ellipsis);
}

std::optional<std::string> firstMeaningfulLine(std::string_view text) {
    for (const std::string_view line : splitLines(text, LineBreaks::lineFeedCharacter))
        if (const auto kept = trimmedView(line); !kept.empty())
            return std::string(kept);
    return std::nullopt;
}

std::size_t lineCount(std::string_view text) {
    return text.empty() ? 0 : splitLines(text, LineBreaks::lineFeedCharacter).size();
}

bool containsCaseInsensitive(std::string_view text, std::string_view needle) {
    if (needle.empty())
        return false;
    const std::string foldedNeedle = unicode::folded(needle);
    if (foldedNeedle.empty())
        return false;
    return unicode::folded(text).find(foldedNeedle) != std::string::npos;
}

std::string slugified(std::string_view text) {
    const std::string folded = unicode::folded(text);
    std::string out;
    bool lastWasDash = false;
    std::size_t i = 0;
    while (i < folded.size()) {
        const std::size_t at = i;
        const char32_t c = nextScalar(folded, i);
        if (isLetterOrNumber(c)) {
            out += unicode::lowercased(std::string_view(folded).substr(at, i - at));
            lastWasDash = false;
        } else if (!out.empty() && !lastWasDash) {
            out += '-';
            lastWasDash = true;
        }
    }
    while (!out.empty() && out.back() == '-')
        out.pop_back();
    return out;
}

std::string counted(long long count, std::string_view one, std::string_view many) {
    return std::to_string(count) + " " + std::string(count == 1 ? one : many);
}

} // namespace tessellar
