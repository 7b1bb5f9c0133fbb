#include "kit/text/Unicode.h"

#include <memory>
#include <unicode/brkiter.h>
#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/utf8.h>

namespace tessellar::unicode {
namespace {

// Creating a break iterator loads rule data; one per thread is kept and reused.
icu::BreakIterator* graphemeIterator() {
    thread_local std::unique_ptr<icu::BreakIterator> iterator = [] {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::BreakIterator> it(
            icu::BreakIterator::createCharacterInstance(icu::Locale::getRoot(), status));
        if (U_FAILURE(status))
            it.reset();
        return it;
    }();
    return iterator.get();
}

bool isASCII(std::string_view s) {
    for (unsigned char c : s)
        if (c >= 0x80)
            return false;
    return true;
}

} // namespace

icu::UnicodeString toICU(std::string_view utf8) {
    return icu::UnicodeString::fromUTF8(icu::StringPiece(utf8.data(), static_cast<int32_t>(utf8.size())));
}

std::string toUTF8(const icu::UnicodeString& text) {
    std::string out;
    text.toUTF8String(out);
    return out;
}

std::vector<int32_t> characterBoundaries(const icu::UnicodeString& text) {
    std::vector<int32_t> bounds;
    icu::BreakIterator* it = graphemeIterator();
    if (!it) { // no ICU data: fall back to code points
        for (int32_t i = 0; i < text.length(); i = text.moveIndex32(i, 1))
            bounds.push_back(i);
        bounds.push_back(text.length());
        return bounds;
    }
    it->setText(text);
    for (int32_t b = it->first(); b != icu::BreakIterator::DONE; b = it->next())
        bounds.push_back(b);
    if (bounds.empty())
        bounds.push_back(0);
    return bounds;
}

std::vector<std::size_t> characterBoundaries(std::string_view utf8) {
    std::vector<std::size_t> bounds;
    if (isASCII(utf8)) {
        // Fast path: ASCII graphemes are single bytes, except CR LF which is one character.
        bounds.reserve(utf8.size() + 1);
        for (std::size_t i = 0; i < utf8.size(); ++i) {
            bounds.push_back(i);
            if (utf8[i] == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n')
                ++i;
        }
        bounds.push_back(utf8.size());
        return bounds;
    }
    // Map UTF-16 boundaries back to UTF-8 offsets by walking both encodings together.
    const icu::UnicodeString text = toICU(utf8);
    const std::vector<int32_t> b16 = characterBoundaries(text);
    bounds.reserve(b16.size());
    std::size_t byte = 0;
    int32_t unit = 0;
    std::size_t next = 0;
    while (next < b16.size()) {
        if (b16[next] == unit) {
            bounds.push_back(byte);
            ++next;
            continue;
        }
        if (byte >= utf8.size())
            break;
        // An invalid sequence became one U+FFFD (one UTF-16 unit) in toICU.
        unit += nextScalar(utf8, byte) >= 0x10000 ? 2 : 1;
    }
    if (bounds.empty() || bounds.back() != utf8.size())
        bounds.push_back(utf8.size());
    return bounds;
}

std::size_t characterCount(std::string_view utf8) {
    return characterBoundaries(utf8).size() - 1;
}

std::string_view characterPrefix(std::string_view utf8, std::size_t count) {
    if (count >= utf8.size())
        return utf8; // no string has more characters than bytes
    const auto bounds = characterBoundaries(utf8);
    if (count + 1 >= bounds.size())
        return utf8;
    return utf8.substr(0, bounds[count]);
}

std::string lowercased(std::string_view utf8) {
    icu::UnicodeString text = toICU(utf8);
    text.toLower(icu::Locale::getRoot());
    return toUTF8(text);
}

std::string folded(std::string_view utf8) {
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2* nfd = icu::Normalizer2::getNFDInstance(status);
    const icu::Normalizer2* nfc = icu::Normalizer2::getNFCInstance(status);
    if (U_FAILURE(status))
        return lowercased(utf8);
    icu::UnicodeString text = nfd->normalize(toICU(utf8), status);
    icu::UnicodeString stripped;
    for (int32_t i = 0; i < text.length();) {
        const UChar32 c = text.char32At(i);
        if (u_charType(c) != U_NON_SPACING_MARK)
            stripped.append(c);
        i += U16_LENGTH(c);
    }
    stripped.foldCase();
    icu::UnicodeString composed = nfc->normalize(stripped, status);
    return toUTF8(U_FAILURE(status) ? stripped : composed);
}

bool isWhitespace(char32_t scalar) {
    return u_isUWhiteSpace(static_cast<UChar32>(scalar));
}

int32_t utf16Length(std::string_view utf8) {
    int32_t units = 0;
    for (std::size_t i = 0; i < utf8.size();)
        units += nextScalar(utf8, i) >= 0x10000 ? 2 : 1;
    return units;
}

char32_t nextScalar(std::string_view utf8, std::size_t& index) {
    auto i = static_cast<int32_t>(index);
    UChar32 c;
    U8_NEXT(reinterpret_cast<const uint8_t*>(utf8.data()), i, static_cast<int32_t>(utf8.size()), c);
    index = static_cast<std::size_t>(i);
    return c < 0 ? U'\uFFFD' : static_cast<char32_t>(c);
}

char32_t previousScalar(std::string_view utf8, std::size_t& index) {
    auto i = static_cast<int32_t>(index);
    UChar32 c;
    U8_PREV(reinterpret_cast<const uint8_t*>(utf8.data()), 0, i, c);
    index = static_cast<std::size_t>(i);
    return c < 0 ? U'\uFFFD' : static_cast<char32_t>(c);
}

char32_t scalarAt(std::string_view utf8, std::size_t index) {
    return index < utf8.size() ? nextScalar(utf8, index) : U'\uFFFD';
}

std::u32string scalars(std::string_view utf8) {
    std::u32string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();)
        out.push_back(nextScalar(utf8, i));
    return out;
}

bool isValidUTF8(std::string_view bytes) {
    if (bytes.size() > static_cast<std::size_t>(INT32_MAX))
        return false;
    const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
    const auto length = static_cast<int32_t>(bytes.size());
    for (int32_t i = 0; i < length;) {
        UChar32 c;
        U8_NEXT(data, i, length, c);
        if (c < 0)
            return false;
    }
    return true;
}

} // namespace tessellar::unicode
