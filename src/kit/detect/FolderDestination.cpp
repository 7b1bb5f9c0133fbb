#include "kit/detect/FolderDestination.h"

#include "kit/model/InboxItemJSON.h"

#include <array>
#include <functional>
#include <nlohmann/json.hpp>
#include <string_view>

namespace tessellar {
namespace {

constexpr std::string_view base64Alphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// Standard base64 with padding, as JSON encoders write byte buffers.
std::string base64Encode(const std::vector<std::uint8_t>& bytes) {
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    std::size_t i = 0;
    for (; i + 3 <= bytes.size(); i += 3) {
        const std::uint32_t n = (bytes[i] << 16) | (bytes[i + 1] << 8) | bytes[i + 2];
        out += base64Alphabet[(n >> 18) & 63];
        out += base64Alphabet[(n >> 12) & 63];
        out += base64Alphabet[(n >> 6) & 63];
        out += base64Alphabet[n & 63];
    }
    const std::size_t rest = bytes.size() - i;
    if (rest == 1) {
        const std::uint32_t n = bytes[i] << 16;
        out += base64Alphabet[(n >> 18) & 63];
        out += base64Alphabet[(n >> 12) & 63];
        out += "==";
    } else if (rest == 2) {
        const std::uint32_t n = (bytes[i] << 16) | (bytes[i + 1] << 8);
        out += base64Alphabet[(n >> 18) & 63];
        out += base64Alphabet[(n >> 12) & 63];
        out += base64Alphabet[(n >> 6) & 63];
        out += '=';
    }
    return out;
}

// Strict decoding: whole quads, only the alphabet, at most two "=" and only at the end.
std::optional<std::vector<std::uint8_t>> base64Decode(std::string_view text) {
    if (text.size() % 4 != 0)
        return std::nullopt;
    std::array<int, 256> value{};
    value.fill(-1);
    for (std::size_t i = 0; i < base64Alphabet.size(); ++i)
        value[static_cast<unsigned char>(base64Alphabet[i])] = static_cast<int>(i);

    std::size_t padding = 0;
    while (padding < 2 && padding < text.size() && text[text.size() - 1 - padding] == '=')
        ++padding;
    const std::string_view body = text.substr(0, text.size() - padding);

    std::vector<std::uint8_t> out;
    out.reserve(text.size() / 4 * 3);
    std::uint32_t buffer = 0;
    int bits = 0;
    for (const char c : body) {
        const int v = value[static_cast<unsigned char>(c)];
        if (v < 0)
            return std::nullopt;
        buffer = (buffer << 6) | static_cast<std::uint32_t>(v);
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            out.push_back(static_cast<std::uint8_t>((buffer >> bits) & 0xFF));
        }
    }
    // Leftover bits must be zero, as an encoder writes them.
    if (bits > 0 && (buffer & ((1u << bits) - 1)) != 0)
        return std::nullopt;
    return out;
}

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
        json["bookmark"] = base64Encode(*destination.bookmark);
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
        auto bytes = base64Decode(bookmark->get_ref<const std::string&>());
        if (!bytes)
            throw DecodingError("\"bookmark\" is not base64");
        destination.bookmark = std::move(*bytes);
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
