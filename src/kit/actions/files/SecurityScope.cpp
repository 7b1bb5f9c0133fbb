#include "kit/actions/files/SecurityScope.h"

#include <string>
#include <system_error>

namespace tessellar::SecurityScope {

std::vector<std::uint8_t> bookmark(const std::filesystem::path& folder) {
    const std::string text = std::filesystem::absolute(folder).lexically_normal().string();
    return {text.begin(), text.end()};
}

std::optional<std::filesystem::path> resolve(const std::vector<std::uint8_t>& bookmark) {
    const std::string text(bookmark.begin(), bookmark.end());
    if (text.empty() || text.front() != '/' || text.find('\0') != std::string::npos)
        return std::nullopt;
    std::error_code error;
    if (!std::filesystem::is_directory(text, error))
        return std::nullopt;
    return std::filesystem::path(text);
}

} // namespace tessellar::SecurityScope
