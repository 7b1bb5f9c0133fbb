#pragma once

#include <cstddef>
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

// The UTF-16 length of a UTF-8 string (ranges of the detectors are UTF-16 offsets).
int32_t utf16Length(std::string_view utf8);

} // namespace tessellar::unicode
