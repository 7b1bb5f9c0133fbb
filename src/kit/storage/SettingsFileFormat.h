#pragma once

#include <map>
#include <string>
#include <string_view>

namespace tessellar {

// The settings file's text: "key=value" lines, values escaped (\\ \n \r \t, \s for a space at
// either end) so every value is
// one line; "#" and ";" start comments; blank lines, "[section]" lines and lines without "="
// are skipped. A later line for a key wins. Linear in the input; inputs larger than
// maximumBytes are read up to that size only.
namespace settings_file {

inline constexpr std::size_t maximumBytes = 1024 * 1024;

std::map<std::string, std::string> parse(std::string_view text);
std::string serialize(const std::map<std::string, std::string>& values);
// Whether a key can be written: non-empty, no "=", no control characters, no leading "#", ";" or "[".
bool isValidKey(std::string_view key);

} // namespace settings_file
} // namespace tessellar
