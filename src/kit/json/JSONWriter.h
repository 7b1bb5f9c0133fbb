#pragma once

#include "kit/json/JSONTree.h"

#include <string>
#include <string_view>

namespace tessellar {

// Writes a JSONTree back as text. Both forms escape "/" as "\/", write control characters as
// escapes and everything else as UTF-8, and write numbers exactly as the source had them.
// Duplicate keys are written once, with the value of their last member.
class JSONWriter {
public:
    // Keys sorted by code point, one member or element per line, two blanks per level,
    // `"key" : value`; empty containers as {} and [].
    static std::string pretty(const JSONTree& tree);

    // No insignificant whitespace; members in the source's order.
    static std::string minified(const JSONTree& tree);

    // `text` as a quoted JSON string.
    static void appendString(std::string& out, std::string_view text);
};

} // namespace tessellar
