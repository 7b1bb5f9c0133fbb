#include "kit/scan/address/AddressToken.h"

#include <unicode/uchar.h>
#include <unicode/utf16.h>

namespace tessellar::address {
namespace {

constexpr int32_t maxKeyLength = 32;

bool isLineBreak(UChar32 c) {
    return c == u'\n' || c == u'\r' || c == 0x0B || c == 0x0C || c == 0x85 || c == 0x2028 || c == 0x2029;
}

bool isAlnum(UChar32 c) {
    if (c < 0x80)
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    return (U_GET_GC_MASK(c) & (U_GC_L_MASK | U_GC_M_MASK | U_GC_N_MASK)) != 0;
}

bool isJoiner(UChar32 c) {
    return c == u'-' || c == u'\'' || c == 0x2019 || c == u'.' || c == u'/';
}

bool isSpace(UChar32 c) {
    return u_isUWhiteSpace(c) || u_iscntrl(c) || c == 0xFEFF;
}

UChar32 at(const icu::UnicodeString& text, int32_t i) {
    return text.char32At(i);
}

void finishWord(const icu::UnicodeString& text, AddressToken& token) {
    const UChar32 first = at(text, token.start);
    token.kind = first >= '0' && first <= '9' ? AddressToken::Kind::number : AddressToken::Kind::word;
    token.upperInitial = u_isupper(first) || u_istitle(first);
    // "d'Alene", "l'Anse": an elided article before a capitalised name.
    if ((first == 'd' || first == 'l') && token.end - token.start > 2 &&
        (text.charAt(token.start + 1) == u'\'' || text.charAt(token.start + 1) == 0x2019))
        token.upperInitial = u_isupper(text.charAt(token.start + 2));
    bool letters = false;
    bool caps = true;
    bool ascii = token.end - token.start <= maxKeyLength;
    std::string key;
    for (int32_t i = token.start; i < token.end; ++i) {
        const char16_t c = text.charAt(i);
        if (c >= '0' && c <= '9')
            token.hasDigit = true;
        if (c == u'.') {
            token.innerDot = true;
            continue;
        }
        if (c >= 'A' && c <= 'Z') {
            letters = true;
            token.hasUpper = true;
        } else if (c >= 'a' && c <= 'z') {
            letters = true;
            caps = false;
        } else if (c >= 0x80) {
            ascii = false;
            if (u_isupper(c) || u_istitle(c))
                token.hasUpper = true;
            else if (u_isalpha(c))
                caps = false;
        }
        if (ascii)
            key.push_back(static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c));
    }
    token.allCaps = letters && caps;
    if (ascii)
        token.key = std::move(key);
}

} // namespace

std::vector<std::pair<int32_t, int32_t>> AddressTokenizer::lines(const icu::UnicodeString& text) {
    std::vector<std::pair<int32_t, int32_t>> out;
    const int32_t length = text.length();
    int32_t start = 0;
    for (int32_t i = 0; i < length; ++i) {
        const char16_t c = text.charAt(i);
        if (!isLineBreak(c))
            continue;
        out.emplace_back(start, i);
        if (c == u'\r' && i + 1 < length && text.charAt(i + 1) == u'\n')
            ++i;
        start = i + 1;
    }
    out.emplace_back(start, length);
    return out;
}

void AddressTokenizer::tokenize(const icu::UnicodeString& text, int32_t start, int32_t end,
                                std::vector<AddressToken>& out) {
    out.clear();
    bool space = true;
    int32_t i = start;
    while (i < end) {
        const UChar32 c = at(text, i);
        const int32_t width = U16_LENGTH(c);
        if (isSpace(c)) {
            space = true;
            i += width;
            continue;
        }
        AddressToken token;
        token.start = i;
        token.spaceBefore = space;
        space = false;
        if (!isAlnum(c)) {
            token.mark = width == 1 ? static_cast<char16_t>(c) : u'\uFFFD';
            token.end = i + width;
            i = token.end;
            out.push_back(std::move(token));
            continue;
        }
        i += width;
        while (i < end) {
            const UChar32 d = at(text, i);
            if (isAlnum(d)) {
                i += U16_LENGTH(d);
            } else if (isJoiner(d) && i + 1 < end && isAlnum(at(text, i + 1))) {
                i += 1;
            } else {
                break;
            }
        }
        token.end = i;
        if (i < end && text.charAt(i) == u'.') {
            token.dotAfter = true;
            ++i;
        }
        finishWord(text, token);
        out.push_back(std::move(token));
    }
}

} // namespace tessellar::address
