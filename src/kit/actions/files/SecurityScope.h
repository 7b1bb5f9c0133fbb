#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

namespace tessellar {

// Folder access grants. On this desktop a grant is an opaque token that holds the folder's
// absolute path; it resolves while that folder exists, and starting or stopping access to it
// always succeeds. Callers keep the order resolve, start, work, stop all the same, so a
// platform with real sandbox grants can slot in here.
namespace SecurityScope {

std::vector<std::uint8_t> bookmark(const std::filesystem::path& folder);

// The folder the token stands for; absent when the token is malformed or the folder is gone.
std::optional<std::filesystem::path> resolve(const std::vector<std::uint8_t>& bookmark);

// Runs `body` with the resolved folder while access is held; absent (and `body` not run)
// when the token does not resolve.
template <class Body>
auto withAccess(const std::vector<std::uint8_t>& bookmark, Body&& body)
    -> std::optional<decltype(body(std::filesystem::path()))> {
    const auto folder = resolve(bookmark);
    if (!folder)
        return std::nullopt;
    return std::forward<Body>(body)(*folder);
}

} // namespace SecurityScope

} // namespace tessellar
