#pragma once

#include <string>
#include <string_view>

namespace tessellar {

// Percent-encodes every byte outside the characters a URL query may hold unescaped
// (letters, digits and -._~!$&'()*+,;=:@/?), so UTF-8 text becomes %XX sequences.
std::string percentEncodedForQuery(std::string_view text);

} // namespace tessellar
