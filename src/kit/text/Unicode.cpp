#include "kit/text/Unicode.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <simdjson.h>
#include <unicode/brkiter.h>
#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/utext.h>
#include <unicode/utf8.h>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

struct CharacterWalker::ICU {
    UText* text = nullptr;
    std::unique_ptr<icu::BreakIterator> iterator;
    ~ICU() { utext_close(text); }
};

CharacterWalker::CharacterWalker(std::string_view utf8) : text_(utf8) {
    if (isASCII(utf8))
        return;
    UErrorCode status = U_ZERO_ERROR;
    auto icu = std::make_unique<ICU>();
    icu->text = utext_openUTF8(nullptr, utf8.data(), static_cast<int64_t>(utf8.size()), &status);
    // A walker of its own, so walks may nest; cloning skips loading the rules again.
    if (icu::BreakIterator* prototype = graphemeIterator(); prototype && U_SUCCESS(status))
        icu->iterator.reset(prototype->clone());
    if (!icu->iterator)
        return; // no ICU data: code points stand in for characters, as below
    icu->iterator->setText(icu->text, status);
    if (U_FAILURE(status))
        return;
    icu_ = std::move(icu);
}

CharacterWalker::~CharacterWalker() = default;

std::optional<std::size_t> CharacterWalker::next() {
    if (at_ >= text_.size())
        return std::nullopt;
    if (icu_) {
        const int32_t end = icu_->iterator->next();
        at_ = end == icu::BreakIterator::DONE ? text_.size() : static_cast<std::size_t>(end);
    } else if (text_[at_] == '\r' && at_ + 1 < text_.size() && text_[at_ + 1] == '\n') {
        at_ += 2; // CR LF is one character
    } else if (static_cast<unsigned char>(text_[at_]) < 0x80) {
        ++at_;
    } else {
        nextScalar(text_, at_);
    }
    return at_;
}

std::vector<std::size_t> characterBoundaries(std::string_view utf8) {
    std::vector<std::size_t> bounds{0};
    CharacterWalker walker(utf8);
    while (const auto end = walker.next())
        bounds.push_back(*end);
    return bounds;
}

std::size_t characterCount(std::string_view utf8) {
    std::size_t count = 0;
    CharacterWalker walker(utf8);
    while (walker.next())
        ++count;
    return count;
}

std::string_view characterPrefix(std::string_view utf8, std::size_t count) {
    if (count >= utf8.size())
        return utf8; // no string has more characters than bytes
    CharacterWalker walker(utf8);
    std::size_t end = 0;
    for (std::size_t k = 0; k < count; ++k) {
        const auto next = walker.next();
        if (!next)
            return utf8;
        end = *next;
    }
    return utf8.substr(0, end);
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

// simdjson's validator checks 32 bytes a step; a large paste is validated before anything else.
bool isValidUTF8(std::string_view bytes) {
    return simdjson::validate_utf8(bytes.data(), bytes.size());
}

std::size_t codePointCount(std::string_view utf8) {
    // A continuation byte is 10xxxxxx; every other byte starts a code point. Sixteen bytes a
    // step where SSE2 is there (every x86-64): as signed bytes the continuations are the ones
    // below -64. Each lane counts up to 255 of them before the lanes are summed.
    std::size_t continuations = 0;
    std::size_t i = 0;
#if defined(__SSE2__)
    const __m128i below = _mm_set1_epi8(-64);
    while (i + 16 <= utf8.size()) {
        const std::size_t blockEnd = std::min(utf8.size(), i + 16 * 255);
        __m128i lanes = _mm_setzero_si128();
        for (; i + 16 <= blockEnd; i += 16) {
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(utf8.data() + i));
            lanes = _mm_sub_epi8(lanes, _mm_cmplt_epi8(bytes, below));
        }
        const __m128i sums = _mm_sad_epu8(lanes, _mm_setzero_si128());
        continuations += static_cast<std::size_t>(_mm_cvtsi128_si32(sums) + _mm_extract_epi16(sums, 4));
    }
#endif
    for (; i < utf8.size(); ++i)
        continuations += (static_cast<unsigned char>(utf8[i]) & 0xC0) == 0x80;
    return utf8.size() - continuations;
}

} // namespace tessellar::unicode
