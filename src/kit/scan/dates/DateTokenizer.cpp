#include "kit/scan/dates/DateTokenizer.h"

#include <algorithm>
#include <string_view>
#include <unicode/uchar.h>
#include <unicode/utf16.h>

namespace tessellar::dates {
namespace {

bool isDigit(UChar32 c) {
    return c >= '0' && c <= '9';
}

bool isWordCharacter(UChar32 c) {
    // Letters with their combining marks, so "Marché" stays one word and never reads as "Mar".
    return !isDigit(c) && (u_isalpha(c) || (U_GET_GC_MASK(c) & U_GC_M_MASK) != 0);
}

bool isLineBreak(UChar32 c) {
    return c == '\n' || c == '\r' || c == 0x0B || c == 0x0C || c == 0x85 || c == 0x2028 || c == 0x2029;
}

constexpr int longestWord = 12; // longer words are never in the lexicon

} // namespace

std::vector<DateToken> DateTokenizer::tokenize(const icu::UnicodeString& text, std::int32_t from,
                                               std::int32_t to) {
    std::vector<DateToken> tokens;
    const char16_t* units = text.getBuffer();
    const int32_t length = std::min(to, text.length());
    if (!units || from < 0 || from >= length)
        return tokens;

    int32_t i = from;
    while (i < length) {
        DateToken token;
        token.start = i;
        UChar32 c;
        int32_t next = i;
        U16_NEXT(units, next, length, c);

        if (isDigit(c)) {
            token.kind = TokenKind::number;
            long long value = 0;
            while (i < length && isDigit(units[i])) {
                if (token.digits < 9)
                    value = value * 10 + (units[i] - '0');
                ++token.digits;
                ++i;
            }
            token.value = token.digits <= 9 ? static_cast<int>(value) : -1;
        } else if (isWordCharacter(c)) {
            token.kind = TokenKind::word;
            token.capitalized = u_isUUppercase(c);
            char lower[longestWord];
            bool ascii = true;
            while (i < length) {
                int32_t after = i;
                UChar32 d;
                U16_NEXT(units, after, length, d);
                if (!isWordCharacter(d))
                    break;
                if (d < 0x80 && token.letters < longestWord)
                    lower[token.letters] = static_cast<char>(d | 0x20);
                ascii = ascii && d < 0x80;
                token.letters += after - i;
                i = after;
            }
            if (ascii && token.letters <= longestWord)
                token.entry = lookupWord(std::string_view(lower, static_cast<std::size_t>(token.letters)));
        } else if (u_isUWhiteSpace(c)) {
            token.kind = TokenKind::space;
            while (i < length) {
                int32_t after = i;
                UChar32 d;
                U16_NEXT(units, after, length, d);
                if (!u_isUWhiteSpace(d))
                    break;
                if (isLineBreak(d))
                    token.kind = TokenKind::lineBreak;
                i = after;
            }
        } else {
            token.kind = TokenKind::symbol;
            token.symbol = static_cast<char32_t>(c);
            i = next;
        }
        token.end = i;
        tokens.push_back(token);
    }
    return tokens;
}

} // namespace tessellar::dates
