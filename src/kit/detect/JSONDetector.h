#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessellar {

// Recognises a JSON object or array in text and produces what the rest of the system shows about
// it: a pretty form with sorted keys, a minified form, a summary, the top-level keys and a short
// identity. Also writes Swift Codable declarations for a JSON sample. Stateless.
//
// Both written forms escape "/" as "\/" and keep every number exactly as the text wrote it.
class JSONDetector {
public:
    struct Document {
        std::string pretty;   // keys sorted, one member per line, nesting shown by indentation
        std::string minified; // no insignificant whitespace, keys in the text's order
        std::string summary;  // "1 key", "3 keys", "1 element", "0 elements"
        bool isArray = false;
        std::vector<std::string> topLevelKeys; // sorted by code point; empty for an array
        std::optional<std::string> identity;   // a short name or id found in the (first) object

        bool operator==(const Document&) const = default;
    };

    // What a classification shows of a document: everything but the two written forms.
    struct Outline {
        std::string summary;
        bool isArray = false;
        std::vector<std::string> topLevelKeys;
        std::optional<std::string> identity;

        bool operator==(const Outline&) const = default;
    };

    // Absent unless the trimmed text is 2 to 5,000,000 characters, starts with "{" or "[" and is
    // strict JSON. A leading byte-order mark is not part of the text.
    static std::optional<Document> document(std::string_view text);

    // The same acceptance as document(), without writing the two forms: what a classifier needs.
    // `readableAfter`: how many bytes the caller's buffer holds past the end of `text`; enough of
    // them spare a large paste a copy (see JSONTree::parse).
    static std::optional<Outline> outline(std::string_view text, std::size_t readableAfter = 0);

    // Swift declarations for the sample, root type first; absent when the text does not parse or
    // holds no object at all.
    static std::optional<std::string> swiftModel(std::string_view text, std::string_view rootName);
    static std::optional<std::string> swiftModel(const Document& document, std::string_view rootName);
};

} // namespace tessellar
