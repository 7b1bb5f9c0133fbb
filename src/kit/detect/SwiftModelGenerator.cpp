#include "kit/detect/SwiftModelGenerator.h"

#include "kit/text/Unicode.h"

#include <algorithm>
#include <array>
#include <unicode/locid.h>
#include <unicode/uchar.h>
#include <vector>

namespace tessellar {
namespace {

using namespace std::string_view_literals;
using Kind = JSONTree::Kind;

// Words that must be escaped with backticks to serve as property names.
constexpr std::array swiftKeywords = {
    "class"sv,  "struct"sv,   "enum"sv,           "func"sv,      "let"sv,      "var"sv,
    "return"sv, "if"sv,       "else"sv,           "for"sv,       "in"sv,       "while"sv,
    "switch"sv, "case"sv,     "default"sv,        "break"sv,     "continue"sv, "self"sv,
    "super"sv,  "init"sv,     "deinit"sv,         "extension"sv, "protocol"sv, "import"sv,
    "public"sv, "private"sv,  "internal"sv,       "static"sv,    "true"sv,     "false"sv,
    "nil"sv,    "where"sv,    "guard"sv,          "defer"sv,     "repeat"sv,   "throw"sv,
    "throws"sv, "try"sv,      "catch"sv,          "as"sv,        "is"sv,       "any"sv,
    "some"sv,   "operator"sv, "associatedtype"sv, "typealias"sv,
};

char32_t firstScalar(std::string_view text) {
    return unicode::scalarAt(text, 0);
}

// A character is a letter or a number by its first scalar.
bool isLetter(std::string_view character) {
    return !character.empty() &&
           u_hasBinaryProperty(static_cast<UChar32>(firstScalar(character)), UCHAR_ALPHABETIC);
}

bool isNumber(std::string_view character) {
    return !character.empty() && u_getIntPropertyValue(static_cast<UChar32>(firstScalar(character)),
                                                       UCHAR_NUMERIC_TYPE) != U_NT_NONE;
}

std::vector<std::string_view> characters(std::string_view text) {
    const std::vector<std::size_t> bounds = unicode::characterBoundaries(text);
    std::vector<std::string_view> result;
    for (std::size_t i = 0; i + 1 < bounds.size(); ++i)
        result.push_back(text.substr(bounds[i], bounds[i + 1] - bounds[i]));
    return result;
}

// Pieces between "_", "-" and " ", empty ones dropped.
std::vector<std::string_view> pieces(std::string_view name) {
    std::vector<std::string_view> result;
    std::size_t start = 0;
    std::size_t at = 0;
    for (const std::string_view character : characters(name)) {
        if (character == "_" || character == "-" || character == " ") {
            if (at > start)
                result.push_back(name.substr(start, at - start));
            start = at + 1;
        }
        at += character.size();
    }
    if (at > start)
        result.push_back(name.substr(start, at - start));
    return result;
}

std::string capitalized(std::string_view piece) {
    const std::vector<std::string_view> all = characters(piece);
    if (all.empty())
        return {};
    icu::UnicodeString first = unicode::toICU(all.front());
    first.toUpper(icu::Locale::getRoot());
    return unicode::toUTF8(first) + std::string(piece.substr(all.front().size()));
}

std::string lettersAndDigits(std::string_view text) {
    std::string kept;
    for (const std::string_view character : characters(text))
        if (isLetter(character) || isNumber(character))
            kept += character;
    return kept;
}

bool beginsWithLetter(std::string_view text) {
    const auto all = characters(text);
    return !all.empty() && isLetter(all.front());
}

// The key as the contents of a Swift string literal.
std::string swiftLiteral(std::string_view key) {
    std::string out;
    for (const char c : key) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                constexpr std::string_view hex = "0123456789abcdef";
                out += "\\u{";
                out += hex[static_cast<unsigned char>(c) >> 4];
                out += hex[static_cast<unsigned char>(c) & 0xF];
                out += '}';
            } else {
                out += c;
            }
        }
    }
    return out;
}

// The element name of an array: "users" -> "user".
std::string singular(std::string_view name) {
    if (name.ends_with('s') && characters(name).size() >= 2 && characters(name).back() == "s")
        return std::string(name.substr(0, name.size() - 1));
    return std::string(name);
}

// The type of a value that needs no declaration of its own.
std::string scalarType(const JSONTree& tree, uint32_t index) {
    const JSONTree::Node& node = tree.node(index);
    switch (node.kind) {
    case Kind::array:
        return "[JSONValue]  // empty in the sample";
    case Kind::null:
        return "String?  // null in the sample";
    case Kind::trueValue:
    case Kind::falseValue:
        return "Bool";
    case Kind::number:
        return JSONTree::decimalText(node.text).find('.') != std::string::npos ? "Double" : "Int";
    default:
        return "String";
    }
}

bool needsFrame(const JSONTree::Node& node) {
    return node.kind == Kind::object || (node.kind == Kind::array && node.count > 0);
}

} // namespace

std::string SwiftModelGenerator::typeName(std::string_view name) {
    std::string joined;
    for (const std::string_view piece : pieces(name))
        joined += capitalized(piece);
    std::string result = lettersAndDigits(joined);
    return beginsWithLetter(result) ? result : "Value" + result;
}

std::string SwiftModelGenerator::propertyName(std::string_view key) {
    const std::vector<std::string_view> parts = pieces(key);
    if (parts.empty())
        return "value";
    std::string joined = unicode::lowercased(parts.front());
    for (std::size_t i = 1; i < parts.size(); ++i)
        joined += capitalized(parts[i]);
    const std::string result = lettersAndDigits(joined);
    if (!beginsWithLetter(result))
        return "value" + result;
    if (std::find(swiftKeywords.begin(), swiftKeywords.end(), result) != swiftKeywords.end())
        return "`" + result + "`";
    return result;
}

std::optional<std::string> SwiftModelGenerator::declarations(const JSONTree& sample,
                                                             std::string_view rootName) {
    // One frame per object or non-empty array whose type is being worked out. A frame finishes
    // with a type expression that its parent takes as the type of the member or element.
    struct Frame {
        uint32_t node = 0;
        std::string name;
        std::string typeName;                // object
        std::vector<std::string> properties; // object: "    let …" lines so far
        std::vector<std::string> codingKeys; // object: "        case …" lines so far
        bool renamed = false;                // object: some property name differs from its key
        std::size_t position = 0;            // object: next key in sorted order
    };
    std::vector<Frame> open;
    std::vector<std::string> finished;
    std::optional<std::string> returned;

    auto push = [&](uint32_t node, std::string name) {
        Frame frame;
        frame.node = node;
        if (sample.node(node).kind == Kind::object)
            frame.typeName = typeName(name);
        frame.name = std::move(name);
        open.push_back(std::move(frame));
    };

    auto addProperty = [&](Frame& frame, const std::string& type) {
        const std::string_view key = sample.node(sample.sortedKeys(frame.node)[frame.position]).text;
        const std::string property = propertyName(key);
        frame.properties.push_back("    let " + property + ": " + type);
        if (property == key) {
            frame.codingKeys.push_back("        case " + std::string(key));
        } else {
            frame.codingKeys.push_back("        case " + property + " = \"" + swiftLiteral(key) + "\"");
            frame.renamed = true;
        }
        ++frame.position;
    };

    if (!needsFrame(sample.root()))
        return std::nullopt;
    push(JSONTree::rootIndex, std::string(rootName));
    while (!open.empty()) {
        Frame& frame = open.back();
        const JSONTree::Node& node = sample.node(frame.node);

        if (node.kind == Kind::array) {
            if (!returned) {
                const uint32_t first = frame.node + 1;
                if (needsFrame(sample.node(first))) {
                    push(first, singular(frame.name)); // `frame` is not used again
                    continue;
                }
                returned = scalarType(sample, first);
            }
            returned = "[" + *returned + "]";
            open.pop_back();
            continue;
        }

        if (returned) {
            addProperty(frame, *returned);
            returned.reset();
        }
        const auto keys = sample.sortedKeys(frame.node);
        if (frame.position < keys.size()) {
            const uint32_t value = keys[frame.position] + 1;
            if (needsFrame(sample.node(value))) {
                push(value, std::string(sample.node(keys[frame.position]).text));
                continue;
            }
            addProperty(frame, scalarType(sample, value));
            continue;
        }

        std::string text = "struct " + frame.typeName + ": Codable {";
        for (const std::string& line : frame.properties)
            text += "\n" + line;
        if (frame.renamed) {
            text += "\n\n    enum CodingKeys: String, CodingKey {";
            for (const std::string& line : frame.codingKeys)
                text += "\n" + line;
            text += "\n    }";
        }
        text += "\n}";
        finished.push_back(std::move(text));
        returned = frame.typeName;
        open.pop_back();
    }

    if (finished.empty())
        return std::nullopt;
    std::string joined;
    for (auto it = finished.rbegin(); it != finished.rend(); ++it) {
        if (!joined.empty())
            joined += "\n\n";
        joined += *it;
    }
    return joined;
}

} // namespace tessellar
