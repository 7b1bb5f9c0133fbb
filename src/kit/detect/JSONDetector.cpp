#include "kit/detect/JSONDetector.h"

#include "kit/detect/SwiftModelGenerator.h"
#include "kit/json/JSONTree.h"
#include "kit/json/JSONWriter.h"
#include "kit/text/StringHelpers.h"
#include "kit/text/Unicode.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace tessellar {
namespace {

using namespace std::string_view_literals;
using Kind = JSONTree::Kind;

constexpr std::size_t minimumLength = 2;
constexpr std::size_t maximumLength = 5'000'000;
constexpr std::size_t maximumIdentityLength = 60;

// In priority order, matched against keys in any letter case.
constexpr std::array identityKeys = {
    "name"sv,        "title"sv,        "label"sv, "slug"sv, "username"sv, "user_name"sv,
    "displayName"sv, "display_name"sv, "id"sv,    "key"sv,  "type"sv,     "kind"sv,
};

// Bytes bound characters from above and code points bound them tighter; the grapheme count is
// needed only for a text that neither bound settles.
bool withinLength(std::string_view text) {
    if (text.size() <= maximumLength)
        return true;
    if (unicode::codePointCount(text) <= maximumLength)
        return true;
    return unicode::characterCount(text) <= maximumLength;
}

// "{" or "[" as a character of its own, not the base of a combined character.
bool opensContainer(std::string_view text) {
    if (text.empty() || (text.front() != '{' && text.front() != '['))
        return false;
    return unicode::characterPrefix(text.substr(0, std::min<std::size_t>(text.size(), 16)), 1).size() == 1;
}

std::string lowercasedKey(std::string_view key) {
    const bool ascii =
        std::all_of(key.begin(), key.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (!ascii)
        return unicode::lowercased(key);
    std::string lower(key);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

bool atMostCharacters(std::string_view text, std::size_t limit) {
    return text.size() <= limit || unicode::codePointCount(text) <= limit ||
           unicode::characterCount(text) <= limit;
}

std::optional<std::string> identity(const JSONTree& tree, uint32_t object) {
    static const std::array<std::string, identityKeys.size()> lowerIdentityKeys = [] {
        std::array<std::string, identityKeys.size()> lower;
        std::transform(identityKeys.begin(), identityKeys.end(), lower.begin(), lowercasedKey);
        return lower;
    }();
    // The value of each identity key found in any letter case; of keys differing only in case,
    // the last in key order is kept.
    std::array<std::optional<uint32_t>, identityKeys.size()> values;
    for (const uint32_t key : tree.sortedKeys(object)) {
        const std::string_view text = tree.node(key).text;
        if (text.size() > 4 * std::string_view("display_name").size())
            continue; // lower-casing shrinks a key to a third at most, so this long it matches none
        const std::string lower = lowercasedKey(text);
        for (std::size_t i = 0; i < lowerIdentityKeys.size(); ++i)
            if (lower == lowerIdentityKeys[i])
                values[i] = key + 1;
    }
    for (const std::optional<uint32_t> index : values) {
        if (!index)
            continue;
        const JSONTree::Node& value = tree.node(*index);
        if (value.kind == Kind::string && !value.text.empty() &&
            atMostCharacters(value.text, maximumIdentityLength))
            return std::string(value.text);
        if (value.kind == Kind::number)
            return JSONTree::decimalText(value.text);
    }
    return std::nullopt;
}

} // namespace

namespace {

// Trimmed, and without a leading byte-order mark: some editors write one before JSON.
std::string_view withoutMark(std::string_view text) {
    text = trimmedView(text);
    return text.starts_with("\xEF\xBB\xBF") ? trimmedView(text.substr(3)) : text;
}

// The trimmed text, when it may be a JSON container at all.
std::optional<std::string_view> candidate(std::string_view text) {
    text = withoutMark(text);
    // A lone "{" is one character; anything longer that opens with one has at least two.
    if (text.size() < minimumLength || !opensContainer(text) || !withinLength(text))
        return std::nullopt;
    return text;
}

JSONDetector::Outline outlineOf(const JSONTree& tree) {
    JSONDetector::Outline outline;
    const JSONTree::Node& root = tree.root();
    if (root.kind == Kind::object) {
        for (const uint32_t key : tree.sortedKeys(JSONTree::rootIndex))
            outline.topLevelKeys.emplace_back(tree.node(key).text);
        outline.summary = counted(static_cast<long long>(root.count), "key", "keys");
        outline.identity = identity(tree, JSONTree::rootIndex);
    } else {
        outline.isArray = true;
        outline.summary = counted(static_cast<long long>(root.count), "element", "elements");
        const uint32_t first = JSONTree::rootIndex + 1;
        if (root.count > 0 && tree.node(first).kind == Kind::object)
            outline.identity = identity(tree, first);
    }
    return outline;
}

} // namespace

std::optional<JSONDetector::Document> JSONDetector::document(std::string_view text) {
    const auto json = candidate(text);
    if (!json)
        return std::nullopt;
    const auto tree = JSONTree::parse(*json);
    if (!tree)
        return std::nullopt;
    Outline outline = outlineOf(*tree);
    Document document;
    document.pretty = JSONWriter::pretty(*tree);
    document.minified = JSONWriter::minified(*tree);
    document.summary = std::move(outline.summary);
    document.isArray = outline.isArray;
    document.topLevelKeys = std::move(outline.topLevelKeys);
    document.identity = std::move(outline.identity);
    return document;
}

std::optional<JSONDetector::Outline> JSONDetector::outline(std::string_view text, std::size_t readableAfter) {
    const auto json = candidate(text);
    if (!json)
        return std::nullopt;
    // Trimming leaves the blanks after the document readable too.
    readableAfter += static_cast<std::size_t>((text.data() + text.size()) - (json->data() + json->size()));
    const auto tree = JSONTree::parse(*json, JSONTree::Detail::outline, readableAfter);
    if (!tree)
        return std::nullopt;
    return outlineOf(*tree);
}

std::optional<std::string> JSONDetector::swiftModel(std::string_view text, std::string_view rootName) {
    const auto tree = JSONTree::parse(withoutMark(text));
    if (!tree)
        return std::nullopt;
    return SwiftModelGenerator::declarations(*tree, rootName);
}

std::optional<std::string> JSONDetector::swiftModel(const Document& document, std::string_view rootName) {
    return swiftModel(document.minified, rootName);
}

} // namespace tessellar
