#pragma once

#include "kit/scan/dates/DateLexicon.h"

#include <cstdint>
#include <unicode/unistr.h>
#include <vector>

namespace tessellar::dates {

enum class TokenKind : unsigned char { word, number, space, lineBreak, symbol };

// One token of a text: a run of letters, a run of ASCII digits, a run of blanks (or of
// whitespace holding a line break), or a single other character. Tokens cover the text
// without gaps, so two tokens next to each other in the list touch in the text.
struct DateToken {
    TokenKind kind = TokenKind::symbol;
    std::int32_t start = 0; // UTF-16 offsets
    std::int32_t end = 0;
    const WordEntry* entry = nullptr; // word: its meaning, when the grammar knows it
    bool capitalized = false;         // word: starts with an upper-case letter
    int letters = 0;                  // word: length in UTF-16 units
    int digits = 0;                   // number: how many digits
    int value = -1;                   // number: its value, or -1 for more than nine digits
    char32_t symbol = 0;              // symbol: the character
};

class DateTokenizer {
public:
    // The tokens of text[from, to), offsets counted from the start of `text`.
    static std::vector<DateToken> tokenize(const icu::UnicodeString& text, std::int32_t from,
                                           std::int32_t to);
};

} // namespace tessellar::dates
