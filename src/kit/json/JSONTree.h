#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tessellar {

// A parsed JSON object or array laid out flat in document order: every container is followed by
// its children and records where its subtree ends; in an object each key node is followed by its
// value. Strings are unescaped. Numbers keep the exact text the JSON had, so writing them back
// never rounds a 64-bit id nor turns 100000000000000000000 into 1e+20.
//
// Parsing is strict JSON in UTF-8 (simdjson), the top level must be an object or an array, and
// nesting deeper than `maximumDepth` is refused. Nothing here recurses, so no input can exhaust
// the stack.
class JSONTree {
public:
    enum class Kind : uint8_t { object, array, string, number, trueValue, falseValue, null, key };

    struct Node {
        std::string_view text;   // string and key: unescaped; number: as written
        uint32_t end = 0;        // index one past this node's subtree
        uint32_t count = 0;      // object: distinct keys; array: elements
        uint32_t sortedFrom = 0; // object: where its keys start in the sorted key list
        Kind kind = Kind::null;
        bool shadowed = false; // key: a later member of the same object has the same key

        bool isContainer() const { return kind == Kind::object || kind == Kind::array; }
    };

    static constexpr std::size_t maximumDepth = 1024;

    // How much of the tree is laid out. An outline validates the whole text but keeps only the
    // top level and, when the root is an array, its first element with that element's members;
    // deeper containers are left empty (count 0) and a root array's other elements are counted
    // without nodes.
    enum class Detail : uint8_t { full, outline };

    // Absent for anything but a strict JSON object or array.
    //
    // `readableAfter` is how many bytes the caller's buffer holds past the end of `json`, whatever
    // they are. With `inPlacePadding` or more an outline reads the text where it lies instead of
    // copying it (the parser reads a little past the end); a full tree always keeps a copy, since
    // its numbers view it.
    static constexpr std::size_t inPlacePadding = 64;
    static std::optional<JSONTree> parse(std::string_view json, Detail detail = Detail::full,
                                         std::size_t readableAfter = 0);

    JSONTree(JSONTree&&) noexcept;
    JSONTree& operator=(JSONTree&&) noexcept;
    ~JSONTree();

    static constexpr uint32_t rootIndex = 0;
    const Node& node(uint32_t index) const { return nodes_[index]; }
    const Node& root() const { return nodes_[rootIndex]; }

    // The key nodes of an object sorted by code point, each key once: where members repeat a
    // key, the last one wins (as a dictionary would keep it). The value follows its key node.
    std::span<const uint32_t> sortedKeys(uint32_t object) const;

    // The value node of `key` in an object.
    std::optional<uint32_t> member(uint32_t object, std::string_view key) const;

    // A number's decimal text as a reader expects it: integers as written ("-0" as "0"), other
    // numbers in their shortest round-trip form ("3.50" -> "3.5", "1E2" -> "100", 1e20 -> "1e+20").
    static std::string decimalText(std::string_view number);

    // A number's value as a double; numbers too small for one read as zero, numbers too large
    // for one give absent.
    static std::optional<double> numberValue(std::string_view number);

private:
    struct Storage;
    JSONTree();

    std::unique_ptr<Storage> storage_; // owns the text that the nodes view
    std::vector<Node> nodes_;
    std::vector<uint32_t> sortedKeys_;
};

} // namespace tessellar
