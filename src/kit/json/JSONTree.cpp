#include "kit/json/JSONTree.h"

#include "kit/base/PageAdvice.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <forward_list>
#include <limits>
#include <simdjson.h>
#include <string>
#include <utility>

namespace tessellar {

struct JSONTree::Storage {
    simdjson::dom::parser parser;
    simdjson::dom::document document;       // unescaped strings live in its buffer
    simdjson::padded_string source;         // numbers view their text here (empty when read in place)
    std::forward_list<std::string> spelled; // numbers re-spelled when their text could not be found
};

static_assert(JSONTree::inPlacePadding >= simdjson::SIMDJSON_PADDING);

namespace {

using simdjson::dom::element;
using simdjson::dom::element_type;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isNumberCharacter(char c) {
    return isDigit(c) || c == '.' || c == 'e' || c == 'E' || c == '+' || c == '-';
}

// Walks the JSON text and hands out its number tokens in document order, skipping strings.
// The parser has validated the text, so the n-th token found here is the n-th number value.
class NumberScanner {
public:
    explicit NumberScanner(std::string_view text) : text_(text) {}

    std::optional<std::string_view> next() {
        while (at_ < text_.size()) {
            const char c = text_[at_];
            if (c == '"') {
                skipString();
            } else if (c == '-' || isDigit(c)) {
                const std::size_t start = at_++;
                while (at_ < text_.size() && isNumberCharacter(text_[at_]))
                    ++at_;
                return text_.substr(start, at_ - start);
            } else {
                ++at_;
            }
        }
        return std::nullopt;
    }

private:
    void skipString() {
        ++at_;
        while (at_ < text_.size()) {
            const char c = text_[at_];
            if (c == '\\') {
                at_ += 2;
            } else {
                ++at_;
                if (c == '"')
                    return;
            }
        }
        at_ = text_.size();
    }

    std::string_view text_;
    std::size_t at_ = 0;
};

// -?(0|[1-9][0-9]*)(\.[0-9]+)?([eE][+-]?[0-9]+)?
bool isJSONNumber(std::string_view s) {
    std::size_t i = 0;
    auto digits = [&] {
        const std::size_t start = i;
        while (i < s.size() && isDigit(s[i]))
            ++i;
        return i > start;
    };
    if (i < s.size() && s[i] == '-')
        ++i;
    if (i < s.size() && s[i] == '0')
        ++i;
    else if (!digits())
        return false;
    if (i < s.size() && s[i] == '.') {
        ++i;
        if (!digits())
            return false;
    }
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-'))
            ++i;
        if (!digits())
            return false;
    }
    return i == s.size();
}

// simdjson refuses numbers it cannot hold (integers beyond 64 bits, 1e400), though they are
// valid JSON. The tree keeps numbers as text anyway, so a copy with every well-formed number
// replaced by "0" and blanks (same length, same structure) is what gets validated then.
std::optional<simdjson::padded_string> withNumbersZeroed(std::string_view json) {
    std::string copy(json);
    NumberScanner scanner(json);
    bool changed = false;
    while (const auto token = scanner.next()) {
        if (!isJSONNumber(*token))
            continue;
        const auto at = static_cast<std::size_t>(token->data() - json.data());
        copy[at] = '0';
        std::fill_n(copy.begin() + static_cast<std::ptrdiff_t>(at + 1), token->size() - 1, ' ');
        changed = true;
    }
    if (!changed)
        return std::nullopt;
    return simdjson::padded_string(copy);
}

std::string spelledNumber(element value) {
    char buffer[64];
    std::to_chars_result result{buffer, std::errc()};
    switch (value.type()) {
    case element_type::INT64:
        result = std::to_chars(buffer, buffer + sizeof buffer, int64_t(value));
        break;
    case element_type::UINT64:
        result = std::to_chars(buffer, buffer + sizeof buffer, uint64_t(value));
        break;
    default:
        result = std::to_chars(buffer, buffer + sizeof buffer, double(value));
        break;
    }
    return std::string(buffer, result.ptr);
}

} // namespace

JSONTree::JSONTree() : storage_(std::make_unique<Storage>()) {}
JSONTree::JSONTree(JSONTree&&) noexcept = default;
JSONTree& JSONTree::operator=(JSONTree&&) noexcept = default;
JSONTree::~JSONTree() = default;

std::optional<JSONTree> JSONTree::parse(std::string_view json, Detail detail, std::size_t readableAfter) {
    // Node indices are 32-bit; no text that large is a realistic paste.
    if (json.size() >= std::numeric_limits<uint32_t>::max() / 2)
        return std::nullopt;

    JSONTree tree;
    Storage& storage = *tree.storage_;
    const bool inPlace = detail == Detail::outline && readableAfter >= inPlacePadding;
    if (!inPlace)
        storage.source = simdjson::padded_string(json);
    const std::string_view text = inPlace ? json : std::string_view(storage.source);
    // The document's buffers are sized for the worst case, and a large paste fills megabytes of
    // them: huge pages spare a page fault per 4 KiB.
    if (storage.document.allocate(
            std::max<std::size_t>(text.size(), simdjson::dom::MINIMAL_DOCUMENT_CAPACITY)))
        return std::nullopt;
    pages::preferHuge(storage.document.string_buf.get(), 5 * text.size() / 3);
    pages::preferHuge(storage.document.tape.get(), text.size() * sizeof(uint64_t));
    element root;
    auto error =
        storage.parser.parse_into_document(storage.document, text.data(), text.size(), false).get(root);
    if (error == simdjson::NUMBER_ERROR) {
        // Zeroed numbers lose their text, which an outline would have to re-spell.
        if (detail == Detail::outline)
            return parse(json, Detail::full);
        if (const auto zeroed = withNumbersZeroed(json))
            error = storage.parser.parse_into_document(storage.document, *zeroed).get(root);
    }
    if (error || (!root.is_object() && !root.is_array()))
        return std::nullopt;

    struct Open {
        uint32_t node = 0;
        bool isObject = false;
        simdjson::dom::object::iterator member, membersEnd;
        simdjson::dom::array::iterator element, elementsEnd;
        std::size_t keysFrom = 0; // where this object's keys start in `openKeys`
        std::size_t depth = 0;
    };

    std::vector<Open> open;
    std::vector<uint32_t> openKeys;
    std::vector<std::pair<std::string_view, uint32_t>> sorting;
    NumberScanner numbers(storage.source);
    std::vector<Node>& nodes = tree.nodes_;
    const bool outline = detail == Detail::outline;
    // An outline spells numbers from their values, which is their text's decimal form except
    // for a negative zero ("-0" and "-0.0" read the same but are written differently).
    bool negativeZero = false;
    // An outline lays out the root's children, and the members of a root array's first element.
    auto expands = [&](std::size_t depth) {
        return !outline || depth == 0 || (depth == 1 && nodes.size() == 1 && nodes[0].kind == Kind::array);
    };

    auto add = [&](element value, std::size_t depth) {
        const auto index = static_cast<uint32_t>(nodes.size());
        const bool expand = expands(depth);
        Node node;
        node.end = index + 1;
        switch (value.type()) {
        case element_type::OBJECT: {
            node.kind = Kind::object;
            const simdjson::dom::object object(value);
            Open entry;
            entry.node = index;
            entry.isObject = true;
            entry.member = object.begin();
            entry.membersEnd = expand ? object.end() : object.begin();
            entry.keysFrom = openKeys.size();
            entry.depth = depth;
            open.push_back(entry);
            break;
        }
        case element_type::ARRAY: {
            node.kind = Kind::array;
            const simdjson::dom::array array(value);
            Open entry;
            entry.node = index;
            entry.element = array.begin();
            entry.elementsEnd = expand ? array.end() : array.begin();
            entry.depth = depth;
            open.push_back(entry);
            break;
        }
        case element_type::STRING:
            node.kind = Kind::string;
            node.text = std::string_view(value);
            break;
        case element_type::INT64:
        case element_type::UINT64:
        case element_type::DOUBLE:
            node.kind = Kind::number;
            if (const auto token = outline ? std::nullopt : numbers.next()) {
                node.text = *token;
            } else {
                if (value.is_double() && double(value) == 0 && std::signbit(double(value)))
                    negativeZero = true;
                storage.spelled.push_front(spelledNumber(value));
                node.text = storage.spelled.front();
            }
            break;
        case element_type::BOOL:
            node.kind = bool(value) ? Kind::trueValue : Kind::falseValue;
            break;
        case element_type::NULL_VALUE:
            node.kind = Kind::null;
            break;
        }
        nodes.push_back(node);
    };

    auto close = [&](const Open& entry) {
        Node& node = nodes[entry.node];
        node.end = static_cast<uint32_t>(nodes.size());
        if (!entry.isObject)
            return;
        sorting.clear();
        for (std::size_t i = entry.keysFrom; i < openKeys.size(); ++i)
            sorting.emplace_back(nodes[openKeys[i]].text, openKeys[i]);
        openKeys.resize(entry.keysFrom);
        // Ties keep document order, so the last of equal keys ends each run.
        std::sort(sorting.begin(), sorting.end());
        node.sortedFrom = static_cast<uint32_t>(tree.sortedKeys_.size());
        for (std::size_t i = 0; i < sorting.size(); ++i) {
            if (i + 1 < sorting.size() && sorting[i + 1].first == sorting[i].first) {
                nodes[sorting[i].second].shadowed = true;
                continue;
            }
            tree.sortedKeys_.push_back(sorting[i].second);
        }
        node.count = static_cast<uint32_t>(tree.sortedKeys_.size() - node.sortedFrom);
    };

    add(root, 0);
    while (!open.empty()) {
        Open& top = open.back();
        if (top.isObject && top.member != top.membersEnd) {
            const auto member = *top.member;
            ++top.member;
            const auto index = static_cast<uint32_t>(nodes.size());
            Node key;
            key.kind = Kind::key;
            key.text = member.key;
            key.end = index + 1;
            nodes.push_back(key);
            openKeys.push_back(index);
            add(member.value, top.depth + 1); // may grow `open`; `top` is not used again
        } else if (!top.isObject && top.element != top.elementsEnd) {
            const element value = *top.element;
            ++top.element;
            if (outline && top.depth == 0 && nodes[top.node].count > 0) {
                ++nodes[top.node].count; // later elements of a root array are only counted
                continue;
            }
            ++nodes[top.node].count;
            add(value, top.depth + 1);
        } else {
            const Open entry = top;
            open.pop_back();
            close(entry);
        }
    }
    if (outline && negativeZero)
        return parse(json, Detail::full);
    return tree;
}

std::span<const uint32_t> JSONTree::sortedKeys(uint32_t object) const {
    const Node& node = nodes_[object];
    if (node.kind != Kind::object)
        return {};
    return std::span<const uint32_t>(sortedKeys_).subspan(node.sortedFrom, node.count);
}

std::optional<uint32_t> JSONTree::member(uint32_t object, std::string_view key) const {
    const auto keys = sortedKeys(object);
    const auto found =
        std::lower_bound(keys.begin(), keys.end(), key,
                         [&](uint32_t index, std::string_view k) { return nodes_[index].text < k; });
    if (found == keys.end() || nodes_[*found].text != key)
        return std::nullopt;
    return *found + 1;
}

std::string JSONTree::decimalText(std::string_view number) {
    if (number.find_first_of(".eE") == std::string_view::npos)
        return number == "-0" ? std::string("0") : std::string(number);
    const auto value = numberValue(number);
    if (!value)
        return std::string(number); // beyond the range of a double: the text is all there is
    char buffer[64];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, *value);
    return std::string(buffer, written.ptr);
}

std::optional<double> JSONTree::numberValue(std::string_view number) {
    double value = 0;
    const char* end = number.data() + number.size();
    const auto parsed = std::from_chars(number.data(), end, value);
    if (parsed.ec == std::errc() && parsed.ptr == end)
        return value;
    if (parsed.ec != std::errc::result_out_of_range)
        return std::nullopt;

    // Out of range: the decimal exponent of the first significant digit tells which way.
    const bool negative = number.starts_with('-');
    std::string_view mantissa = number.substr(negative ? 1 : 0);
    long exponent = 0;
    if (const auto e = mantissa.find_first_of("eE"); e != std::string_view::npos) {
        std::string_view digits = mantissa.substr(e + 1);
        mantissa = mantissa.substr(0, e);
        const bool negativeExponent = digits.starts_with('-');
        if (digits.starts_with('-') || digits.starts_with('+'))
            digits.remove_prefix(1);
        for (const char c : digits)
            exponent = std::min(exponent * 10 + (c - '0'), 1'000'000L);
        if (negativeExponent)
            exponent = -exponent;
    }
    const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
    const std::size_t first = mantissa.find_first_of("123456789");
    if (first == std::string_view::npos)
        return negative ? -0.0 : 0.0;
    const long lead =
        first < point ? static_cast<long>(point - first) - 1 : -static_cast<long>(first - point);
    if (lead + exponent < 0)
        return negative ? -0.0 : 0.0;
    return std::nullopt;
}

} // namespace tessellar
