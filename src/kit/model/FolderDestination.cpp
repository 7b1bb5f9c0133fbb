#include "kit/model/FolderDestination.h"

#include "kit/model/DecodingError.h"
#include "kit/text/Base64.h"

#include <array>
#include <functional>
#include <nlohmann/json.hpp>
#include <string_view>

namespace tessellar {
namespace {

const nlohmann::json& requiredString(const nlohmann::json& json, const char* key) {
    const auto it = json.find(key);
    if (it == json.end() || !it->is_string())
        throw DecodingError(std::string("\"") + key + "\" is missing or not a string");
    return *it;
}

} // namespace

std::vector<FolderDestination> FolderDestination::defaults(const std::filesystem::path& home) {
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 4> table{{
        {"Finance", "Documents/Finance"},
        {"Receipts", "Documents/Receipts"},
        {"Work", "Documents/Work"},
        {"Screenshots", "Pictures/Screenshots"},
    }};
    std::vector<FolderDestination> out;
    out.reserve(table.size());
    for (const auto& [name, relative] : table)
        out.push_back({Uuid::random(), std::string(name), (home / relative).string(), std::nullopt});
    return out;
}

void to_json(nlohmann::json& json, const FolderDestination& destination) {
    json = nlohmann::json::object();
    json["id"] = destination.id.string();
    json["name"] = destination.name;
    json["path"] = destination.path;
    if (destination.bookmark)
        json["bookmark"] = Base64::encode(std::string_view(
            reinterpret_cast<const char*>(destination.bookmark->data()), destination.bookmark->size()));
}

void from_json(const nlohmann::json& json, FolderDestination& destination) {
    if (!json.is_object())
        throw DecodingError("a folder destination is not an object");
    const auto id = Uuid::parse(requiredString(json, "id").get_ref<const std::string&>());
    if (!id)
        throw DecodingError("\"id\" is not a UUID");
    destination.id = *id;
    destination.name = requiredString(json, "name").get<std::string>();
    destination.path = requiredString(json, "path").get<std::string>();
    destination.bookmark.reset();
    const auto bookmark = json.find("bookmark");
    if (bookmark != json.end() && !bookmark->is_null()) {
        if (!bookmark->is_string())
            throw DecodingError("\"bookmark\" is not a string");
        const auto bytes = Base64::decode(bookmark->get_ref<const std::string&>());
        if (!bytes)
            throw DecodingError("\"bookmark\" is not base64");
        destination.bookmark = std::vector<std::uint8_t>(bytes->begin(), bytes->end());
    }
}

} // namespace tessellar

std::size_t
std::hash<tessellar::FolderDestination>::operator()(const tessellar::FolderDestination& d) const noexcept {
    std::size_t seed = 0;
    const auto mix = [&seed](std::size_t value) {
        seed ^= value + 0x9e3779b97f4a7c15ULL + (seed << 6) + (seed >> 2);
    };
    for (const auto byte : d.id.bytes)
        mix(byte);
    mix(std::hash<std::string>{}(d.name));
    mix(std::hash<std::string>{}(d.path));
    mix(d.bookmark.has_value());
    if (d.bookmark)
        for (const auto byte : *d.bookmark)
            mix(byte);
    return seed;
}
