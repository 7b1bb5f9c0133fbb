#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tessellar {

// The string helpers every classifier, action and provider shares. Lengths are in
// user-perceived characters (grapheme clusters); whitespace is Unicode White_Space.

// Without leading and trailing whitespace and newlines.
std::string trimmed(std::string_view text);
// The same, as a view into the text (no copy of a large text).
std::string_view trimmedView(std::string_view text);

// True when the text is empty or only whitespace and newlines.
bool isBlank(std::string_view text);

// Split at every whitespace character, empty pieces dropped, joined with single spaces.
std::string normalizedWhitespace(std::string_view text);

// At most `limit` characters; a longer text is cut at the last space within the limit
// (unless that is the first character) and `ellipsis` appended.
std::string truncated(std::string_view text, std::size_t limit, std::string_view ellipsis = "\u2026");

// The first line that is not blank, trimmed. Lines are cut only at characters that are
// exactly a line feed, so CR LF (one character) does not cut.
std::optional<std::string> firstMeaningfulLine(std::string_view text);

// 0 for the empty string, otherwise the number of line-feed characters plus one.
std::size_t lineCount(std::string_view text);

// Whether `needle` occurs in `text`, ignoring case and diacritics. An empty needle never occurs.
bool containsCaseInsensitive(std::string_view text, std::string_view needle);

// "1 key", "3 keys": the count and the noun that agrees with it.
std::string counted(long long count, std::string_view one, std::string_view many);

// Lower-case letters and numbers separated by single dashes: "Café Ü" -> "cafe-u".
std::string slugified(std::string_view text);

} // namespace tessellar
