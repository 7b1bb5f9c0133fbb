#include "kit/capture/TextExtractor.h"

#include "kit/base/Log.h"
#include "kit/base/MimeTypes.h"
#include "kit/capture/FileBytes.h"
#include "kit/capture/HtmlTextReader.h"
#include "kit/capture/OfficeTextReader.h"
#include "kit/capture/PdfBackend.h"
#include "kit/capture/RtfTextReader.h"
#include "kit/model/TessellarError.h"
#include "kit/text/StringHelpers.h"
#include "kit/text/Unicode.h"

#include <array>
#include <memory>
#include <unicode/utf8.h>

namespace tessellar {
namespace {

constexpr std::string_view docxType =
    "application/vnd.openxmlformats-officedocument.wordprocessingml.document";
constexpr std::string_view odtType = "application/vnd.oasis.opendocument.text";

// Windows-1252 for 0x80–0x9F, where ISO Latin-1 has only control characters nobody types;
// the five undefined bytes keep their Latin-1 meaning.
constexpr std::array<char16_t, 32> windows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void appendUTF8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

// The length of the valid UTF-8 prefix: all of it when valid.
std::size_t validUTF8Length(std::string_view text) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    const auto length = static_cast<int32_t>(std::min<std::size_t>(text.size(), INT32_MAX));
    int32_t i = 0;
    while (i < length) {
        const int32_t start = i;
        UChar32 c;
        U8_NEXT(bytes, i, length, c);
        if (c < 0)
            return static_cast<std::size_t>(start);
    }
    return static_cast<std::size_t>(i);
}

// Whether `tail` is the start of a multi-byte character that a prefix cut short.
bool isCutCharacter(std::string_view tail) {
    if (tail.empty() || tail.size() > 3)
        return false;
    const auto lead = static_cast<unsigned char>(tail[0]);
    const std::size_t needed = lead >= 0xF0 && lead <= 0xF4 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
    if (needed == 0 || lead > 0xF4 || tail.size() >= needed)
        return false;
    for (std::size_t i = 1; i < tail.size(); ++i)
        if ((static_cast<unsigned char>(tail[i]) & 0xC0) != 0x80)
            return false;
    return true;
}

std::string fileName(const std::filesystem::path& file) {
    return file.filename().string();
}

TextExtractor::Result pdfText(const std::filesystem::path& file) {
    const PdfBackend* pdf = PdfBackend::get();
    const auto document = pdf ? pdf->open(file.string()) : nullptr;
    if (!document) {
        Log::debug(Log::Category::pipeline, "PDF could not be opened, or needs a password");
        throw TessellarError::noTextInDocument(fileName(file));
    }
    const int pageCount = document->pageCount();
    std::string collected;
    for (int index = 0; index < std::min(pageCount, TextExtractor::maxPages); ++index) {
        collected += document->pageText(index);
        collected.push_back('\n');
        // Characters are at least one byte, so the byte count is the cheap test.
        if (collected.size() > TextExtractor::maxCharacters &&
            unicode::characterCount(collected) > TextExtractor::maxCharacters)
            break;
    }
    // Poppler ends each page with a form feed; trimming and the page joins take care of it.
    for (char& c : collected)
        if (c == '\f')
            c = '\n';
    TextExtractor::Result result;
    result.text = trimmed(TextExtractor::capped(collected));
    result.pageCount = pageCount;
    result.needsOCR = unicode::characterCount(result.text) < TextExtractor::minimumCharacters;
    return result;
}

FileBytes::Prefix readOrFail(const std::filesystem::path& file, std::size_t limit) {
    auto prefix = FileBytes::read(file, limit);
    if (!prefix)
        throw TessellarError::noTextInDocument(fileName(file));
    return std::move(*prefix);
}

TextExtractor::Result textResult(std::string text) {
    TextExtractor::Result result;
    result.text = TextExtractor::capped(text);
    return result;
}

TextExtractor::Result documentText(const std::filesystem::path& file, std::string_view type) {
    const std::string name = fileName(file);
    if (MimeTypes::conformsTo(type, MimeTypes::rtf)) {
        const auto prefix = readOrFail(file, TextExtractor::maxMarkupBytes);
        const auto text = RtfTextReader::plainText(prefix.bytes);
        if (!text)
            throw TessellarError::noTextInDocument(name);
        return textResult(*text);
    }
    if (MimeTypes::conformsTo(type, "text/html") || MimeTypes::conformsTo(type, "application/xhtml+xml")) {
        const auto prefix = readOrFail(file, TextExtractor::maxMarkupBytes);
        const auto text = HtmlTextReader::plainText(TextExtractor::decodeText(prefix.bytes, prefix.complete),
                                                    TextExtractor::maxTextFileBytes);
        if (!text)
            throw TessellarError::noTextInDocument(name);
        return textResult(trimmed(*text));
    }
    if (MimeTypes::conformsTo(type, docxType) || MimeTypes::conformsTo(type, odtType)) {
        if (!FileBytes::isRegularFile(file))
            throw TessellarError::noTextInDocument(name);
        const auto format = MimeTypes::conformsTo(type, docxType) ? OfficeTextReader::Format::docx
                                                                  : OfficeTextReader::Format::odt;
        const auto text = OfficeTextReader::plainText(file, format, TextExtractor::maxMarkupBytes,
                                                      TextExtractor::maxTextFileBytes);
        if (!text)
            throw TessellarError::noTextInDocument(name);
        return textResult(trimmed(*text));
    }
    const auto prefix = readOrFail(file, TextExtractor::maxTextFileBytes);
    // Other types get read as text when they hold no NUL byte; binary formats we have no
    // reader for cannot be passed off as text.
    if (!MimeTypes::conformsTo(type, MimeTypes::plainText) && prefix.bytes.find('\0') != std::string::npos)
        throw TessellarError::noTextInDocument(name);
    return textResult(TextExtractor::decodeText(prefix.bytes, prefix.complete));
}

} // namespace

std::string TextExtractor::decodeText(std::string_view bytes, bool complete) {
    if (bytes.starts_with("\xEF\xBB\xBF"))
        bytes.remove_prefix(3);
    const std::size_t valid = validUTF8Length(bytes);
    if (valid == bytes.size() || (!complete && isCutCharacter(bytes.substr(valid))))
        return std::string(bytes.substr(0, valid));
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 2);
    for (const char byte : bytes) {
        const auto b = static_cast<unsigned char>(byte);
        appendUTF8(out, b >= 0x80 && b < 0xA0 ? windows1252High[b - 0x80] : b);
    }
    return out;
}

std::string TextExtractor::capped(std::string_view text) {
    if (text.size() <= maxCharacters)
        return std::string(text);
    return std::string(unicode::characterPrefix(text, maxCharacters));
}

TextExtractor::Result TextExtractor::extract(const std::filesystem::path& file) {
    const std::lock_guard lock(mutex_);
    const std::string name = fileName(file);
    const std::string type = MimeTypes::forFileName(name).value_or(std::string(MimeTypes::data));
    std::string extension = file.extension().string();
    for (char& c : extension)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (MimeTypes::isPDF(type) || extension == ".pdf") {
        if (!FileBytes::isRegularFile(file))
            throw TessellarError::noTextInDocument(name);
        return pdfText(file);
    }
    return documentText(file, type);
}

} // namespace tessellar
