#pragma once

#include "kit/base/Url.h"

#include <cstddef>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

namespace tessellar {

// Reads the text layer of documents: PDF (poppler), plain text, JSON and source (UTF-8,
// else Windows-1252), HTML (libxml2), DOCX and ODT (libzip + libxml2) and RTF. Reads only
// what the caps need. Calls run one at a time; safe from any thread.
class TextExtractor {
public:
    struct Result {
        std::string text;
        std::optional<int> pageCount; // PDFs only: the document's full page count
        bool needsOCR = false;        // too little text layer: recognise the pages instead
        bool operator==(const Result&) const = default;
    };

    static constexpr std::size_t maxCharacters = 40'000;
    static constexpr int maxPages = 8;
    // A PDF whose trimmed text is shorter than this is treated as scanned.
    static constexpr std::size_t minimumCharacters = 16;
    // The most bytes a text file can need for maxCharacters (a character is at most four
    // UTF-8 bytes unless combining marks pile up; those few files come back shorter).
    static constexpr std::size_t maxTextFileBytes = maxCharacters * 4;
    // Markup (HTML, RTF) and inflated office XML are read up to this many bytes.
    static constexpr std::size_t maxMarkupBytes = 8 * 1024 * 1024;

    // Throws TessellarError ("Couldn’t extract text from NAME.") when the file cannot be read.
    Result extract(const std::filesystem::path& file);
    Result extract(const Url& fileURL) { return extract(fileURL.filePath()); }

    // Text file bytes as UTF-8: a leading byte-order mark is dropped; bytes that are not
    // UTF-8 are read as Windows-1252. With `complete` false the bytes are a prefix, and a
    // character cut off at its end is dropped rather than making the whole text non-UTF-8.
    static std::string decodeText(std::string_view bytes, bool complete = true);
    // The first maxCharacters user-perceived characters.
    static std::string capped(std::string_view text);

private:
    std::mutex mutex_;
};

} // namespace tessellar
