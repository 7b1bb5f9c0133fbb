#pragma once

#include "kit/json/JSONTree.h"

#include <optional>
#include <string>
#include <string_view>

namespace tessellar {

// Swift Codable struct declarations for a JSON sample: one struct per object met, properties in
// key order, a CodingKeys enum where a property name differs from its key. Only the first
// element of an array is examined. Works without recursion, so any depth the parser accepts is fine.
class SwiftModelGenerator {
public:
    // The declarations, root type first, separated by blank lines; absent when the sample holds
    // no object at all.
    static std::optional<std::string> declarations(const JSONTree& sample, std::string_view rootName);

    // "home_address" -> "HomeAddress"; "9lives" -> "Value9lives".
    static std::string typeName(std::string_view name);

    // "user_id" -> "userId"; "class" -> "`class`"; "2fa" -> "value2fa"; "__" -> "value".
    static std::string propertyName(std::string_view key);
};

} // namespace tessellar
