#pragma once

#include "kit/base/Uuid.h"

#include <cstdint>
#include <filesystem>
#include <nlohmann/json_fwd.hpp>
#include <optional>
#include <string>
#include <vector>

namespace tessellar {

// One of the user's destination folders for "Move to Folder". The name is what the
// suggester matches against; the bookmark is the access token granted for the folder.
struct FolderDestination {
    Uuid id;
    std::string name;
    std::string path; // absolute
    std::optional<std::vector<std::uint8_t>> bookmark;

    // Finance, Receipts, Work and Screenshots under `home`, each with a new id.
    static std::vector<FolderDestination> defaults(const std::filesystem::path& home);

    bool operator==(const FolderDestination&) const = default;
};

// JSON form: {"id": "<UUID>", "name", "path", "bookmark": "<base64>"}; the bookmark is
// omitted when absent. Reading throws DecodingError for a missing or mistyped key.
void to_json(nlohmann::json& json, const FolderDestination& destination);
void from_json(const nlohmann::json& json, FolderDestination& destination);

} // namespace tessellar

template <> struct std::hash<tessellar::FolderDestination> {
    std::size_t operator()(const tessellar::FolderDestination& destination) const noexcept;
};
