#include "kit/json/JSONWriter.h"

#include <array>
#include <cstdint>
#include <vector>

namespace tessellar {
namespace {

using Kind = JSONTree::Kind;

// The escape letter for each byte, 'u' for a \u00XX escape, 0 for none.
constexpr std::array<char, 256> escapes = [] {
    std::array<char, 256> table{};
    for (std::size_t c = 0; c < 0x20; ++c)
        table[c] = 'u';
    table['\b'] = 'b';
    table['\t'] = 't';
    table['\n'] = 'n';
    table['\f'] = 'f';
    table['\r'] = 'r';
    table['"'] = '"';
    table['\\'] = '\\';
    table['/'] = '/';
    return table;
}();

constexpr std::size_t indentWidth = 2;

void appendScalar(std::string& out, const JSONTree::Node& node) {
    switch (node.kind) {
    case Kind::string:
        JSONWriter::appendString(out, node.text);
        break;
    case Kind::number:
        out += node.text;
        break;
    case Kind::trueValue:
        out += "true";
        break;
    case Kind::falseValue:
        out += "false";
        break;
    default:
        out += "null";
        break;
    }
}

char closing(const JSONTree::Node& node) {
    return node.kind == Kind::object ? '}' : ']';
}

} // namespace

void JSONWriter::appendString(std::string& out, std::string_view text) {
    out += '"';
    std::size_t run = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char escape = escapes[static_cast<unsigned char>(text[i])];
        if (escape == 0)
            continue;
        out.append(text, run, i - run);
        out += '\\';
        if (escape == 'u') {
            constexpr std::string_view hex = "0123456789abcdef";
            const auto byte = static_cast<unsigned char>(text[i]);
            out += "u00";
            out += hex[byte >> 4];
            out += hex[byte & 0xF];
        } else {
            out += escape;
        }
        run = i + 1;
    }
    out.append(text, run, text.size() - run);
    out += '"';
}

std::string JSONWriter::pretty(const JSONTree& tree) {
    struct Frame {
        uint32_t node;
        uint32_t written; // members or elements written so far
        uint32_t next;    // array: the next element's node
    };
    std::vector<Frame> open;
    std::string out;
    out.reserve(tree.root().end * 8);

    // Writes a scalar or an empty container whole; opens any other container.
    auto begin = [&](uint32_t index) {
        const JSONTree::Node& node = tree.node(index);
        if (!node.isContainer()) {
            appendScalar(out, node);
        } else if (node.count == 0) {
            out += node.kind == Kind::object ? "{}" : "[]";
        } else {
            out += node.kind == Kind::object ? '{' : '[';
            open.push_back(Frame{index, 0, index + 1});
        }
    };

    begin(JSONTree::rootIndex);
    while (!open.empty()) {
        Frame& frame = open.back();
        const JSONTree::Node& node = tree.node(frame.node);
        const std::size_t depth = open.size();
        if (frame.written == node.count) {
            out += '\n';
            out.append(indentWidth * (depth - 1), ' ');
            out += closing(node);
            open.pop_back();
            continue;
        }
        out += frame.written == 0 ? "\n" : ",\n";
        out.append(indentWidth * depth, ' ');
        uint32_t value = 0;
        if (node.kind == Kind::object) {
            const uint32_t key = tree.sortedKeys(frame.node)[frame.written];
            appendString(out, tree.node(key).text);
            out += " : ";
            value = key + 1;
        } else {
            value = frame.next;
            frame.next = tree.node(value).end;
        }
        ++frame.written;
        begin(value); // may grow `open`; `frame` is not used again
    }
    return out;
}

std::string JSONWriter::minified(const JSONTree& tree) {
    struct Frame {
        uint32_t node;
        uint32_t next; // the next member's key or the next element
        bool first;
    };
    std::vector<Frame> open;
    std::string out;
    out.reserve(tree.root().end * 6);

    auto begin = [&](uint32_t index) {
        const JSONTree::Node& node = tree.node(index);
        if (!node.isContainer()) {
            appendScalar(out, node);
            return;
        }
        out += node.kind == Kind::object ? '{' : '[';
        open.push_back(Frame{index, index + 1, true});
    };

    begin(JSONTree::rootIndex);
    while (!open.empty()) {
        Frame& frame = open.back();
        const JSONTree::Node& node = tree.node(frame.node);
        if (node.kind == Kind::object) {
            while (frame.next < node.end && tree.node(frame.next).shadowed)
                frame.next = tree.node(frame.next + 1).end;
        }
        if (frame.next >= node.end) {
            out += closing(node);
            open.pop_back();
            continue;
        }
        if (!frame.first)
            out += ',';
        frame.first = false;
        uint32_t value = frame.next;
        if (node.kind == Kind::object) {
            appendString(out, tree.node(frame.next).text);
            out += ':';
            value = frame.next + 1;
        }
        frame.next = tree.node(value).end;
        begin(value);
    }
    return out;
}

} // namespace tessellar
