#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tessellar {

// The base64url form of JSON Web Tokens: "-" and "_" in place of "+" and "/", padding optional.
class Base64URL {
public:
    // Pads with "=" to a multiple of four and decodes strictly: a character outside the base64url
    // alphabet (the "+" and "/" of standard base64 included), padding anywhere but at the end or
    // a text of 4n+1 characters gives absent.
    static std::optional<std::string> decode(std::string_view text);

    // Without padding.
    static std::string encode(std::string_view bytes);
};

} // namespace tessellar
