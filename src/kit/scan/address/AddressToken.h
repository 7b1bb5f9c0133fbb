#pragma once

#include <cstdint>
#include <string>
#include <unicode/unistr.h>
#include <vector>

namespace tessellar::address {

// One word, number or punctuation mark of a line of text, with its UTF-16 offsets.
struct AddressToken {
    enum class Kind { word, number, punct };

    Kind kind = Kind::punct;
    int32_t start = 0;         // UTF-16 offset in the whole text
    int32_t end = 0;           // exclusive; a trailing '.' is not part of the token
    char16_t mark = 0;         // the character of a punctuation token
    bool dotAfter = false;     // a '.' follows at once ("St.")
    bool spaceBefore = false;  // whitespace or the start of the line comes before
    bool upperInitial = false; // starts with an upper-case or title-case letter
    bool allCaps = false;      // has ASCII letters and all of them are capitals ("IL", "D.C")
    bool innerDot = false;     // "P.O", "U.S.A"
    bool hasDigit = false;
    bool hasUpper = false; // has an upper-case or title-case letter anywhere
    std::string key;       // ASCII lower case, dots dropped; empty when long or not ASCII

    bool isMark(char16_t c) const { return kind == Kind::punct && mark == c; }
    bool isWord() const { return kind == Kind::word; }
    bool isNumber() const { return kind == Kind::number; }
    // The end including a following dot, for abbreviations that own it.
    int32_t endWithDot() const { return end + (dotAfter ? 1 : 0); }
};

// Splits text into lines and lines into tokens. Words and numbers are runs of letters,
// marks and digits, joined across an inner hyphen, apostrophe, dot or slash ("Winston-Salem",
// "O'Fallon", "P.O", "62701-1234", "1/2"); anything else is a one-character punctuation token.
class AddressTokenizer {
public:
    // [start, end) of each line of `text`; CR LF counts as one break.
    static std::vector<std::pair<int32_t, int32_t>> lines(const icu::UnicodeString& text);

    // The tokens of text[start, end), appended to `out` (which is cleared first).
    static void tokenize(const icu::UnicodeString& text, int32_t start, int32_t end,
                         std::vector<AddressToken>& out);
};

} // namespace tessellar::address
