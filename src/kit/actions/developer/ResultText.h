#pragma once

#include <string>
#include <string_view>

namespace tessellar {

// The longest text a result shows; what is copied stays whole.
inline constexpr std::size_t resultBodyLimit = 4000;

// `text` cut for display at the last space within resultBodyLimit characters, with "…".
std::string resultBody(std::string_view text);

} // namespace tessellar
