#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unicode/unistr.h>
#include <vector>

namespace tessellar::unicode {

// UTF-8 <-> ICU. Invalid UTF-8 sequences become U+FFFD, so any byte string is safe to pass.
icu::UnicodeString toICU(std::string_view utf8);
std::string toUTF8(const icu::UnicodeString& text);

// Byte offsets in `utf8` at which each user-perceived character (grapheme cluster) starts,
// followed by utf8.size(). A string of n characters gives n + 1 offsets.
std::vector<std::size_t> characterBoundaries(std::string_view utf8);

// Walks the user-perceived characters of a text one at a time, in place: ASCII needs no ICU,
// and other text is read by ICU directly from the UTF-8 bytes, so walking a text of any size
// costs no memory beyond the iterator.
class CharacterWalker {
public:
    explicit CharacterWalker(std::string_view utf8);
    ~CharacterWalker();
    CharacterWalker(const CharacterWalker&) = delete;
    CharacterWalker& operator=(const CharacterWalker&) = delete;

    // The byte offset where the next character ends; absent at the end of the text.
    std::optional<std::size_t> next();

private:
    struct ICU;
    std::string_view text_;
    std::size_t at_ = 0;
    std::unique_ptr<ICU> icu_; // only for text that isn't ASCII
};

// Number of user-perceived characters.
std::size_t characterCount(std::string_view utf8);

// The first `count` user-perceived characters (the whole string if it has fewer).
std::string_view characterPrefix(std::string_view utf8, std::size_t count);

// Same boundaries on a UTF-16 string (indices into the UnicodeString).
std::vector<int32_t> characterBoundaries(const icu::UnicodeString& text);

// Full Unicode lower-case mapping (root locale).
std::string lowercased(std::string_view utf8);

// Case- and diacritic-insensitive folding: canonical decomposition, combining marks
// removed, full case folding, recomposed.
std::string folded(std::string_view utf8);

// Whitespace and newlines, as the trimming helpers understand them.
bool isWhitespace(char32_t scalar);

// The scalar at byte `index`, advancing past it. Invalid or truncated sequences read as
// U+FFFD, so any byte string is safe to walk.
char32_t nextScalar(std::string_view utf8, std::size_t& index);

// The scalar that ends at byte `index`, moving `index` back to its start (U+FFFD when invalid).
char32_t previousScalar(std::string_view utf8, std::size_t& index);

// The scalar that starts at byte `index` (U+FFFD when invalid or past the end).
char32_t scalarAt(std::string_view utf8, std::size_t index);

// Every scalar of the text, invalid sequences as U+FFFD.
std::u32string scalars(std::string_view utf8);

// True when the bytes are well-formed UTF-8.
bool isValidUTF8(std::string_view bytes);

// The number of code points (bytes that are not continuation bytes; for valid UTF-8 only).
std::size_t codePointCount(std::string_view utf8);

// The UTF-16 length of a UTF-8 string (ranges of the detectors are UTF-16 offsets).
int32_t utf16Length(std::string_view utf8);

} // namespace tessellar::unicode
