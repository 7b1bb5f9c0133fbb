#include "kit/detect/Base64URL.h"

#include <array>
#include <cstdint>

namespace tessellar {
namespace {

constexpr std::string_view alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";
constexpr int8_t invalid = -1;

// "-" and "_" carry the values of standard base64's "+" and "/", which are not accepted here.
constexpr std::array<int8_t, 256> values = [] {
    std::array<int8_t, 256> table{};
    table.fill(invalid);
    for (std::size_t i = 0; i < alphabet.size(); ++i)
        table[static_cast<unsigned char>(alphabet[i])] = static_cast<int8_t>(i);
    return table;
}();

} // namespace

std::optional<std::string> Base64URL::decode(std::string_view text) {
    std::string padded(text);
    while (padded.size() % 4 != 0)
        padded += '=';

    std::string bytes;
    bytes.reserve(padded.size() / 4 * 3);
    for (std::size_t at = 0; at < padded.size(); at += 4) {
        const bool last = at + 4 == padded.size();
        int padding = 0;
        uint32_t group = 0;
        for (std::size_t i = 0; i < 4; ++i) {
            const char c = padded[at + i];
            if (c == '=') {
                // Only the last one or two characters of the last group may be padding.
                if (!last || i < 2)
                    return std::nullopt;
                ++padding;
                group <<= 6;
                continue;
            }
            if (padding > 0)
                return std::nullopt;
            const int8_t value = values[static_cast<unsigned char>(c)];
            if (value == invalid)
                return std::nullopt;
            group = (group << 6) | static_cast<uint32_t>(value);
        }
        bytes += static_cast<char>((group >> 16) & 0xFF);
        if (padding < 2)
            bytes += static_cast<char>((group >> 8) & 0xFF);
        if (padding < 1)
            bytes += static_cast<char>(group & 0xFF);
    }
    return bytes;
}

std::string Base64URL::encode(std::string_view bytes) {
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    std::size_t at = 0;
    for (; at + 3 <= bytes.size(); at += 3) {
        const uint32_t group = static_cast<uint32_t>(static_cast<unsigned char>(bytes[at])) << 16 |
                               static_cast<uint32_t>(static_cast<unsigned char>(bytes[at + 1])) << 8 |
                               static_cast<unsigned char>(bytes[at + 2]);
        out += alphabet[group >> 18];
        out += alphabet[(group >> 12) & 63];
        out += alphabet[(group >> 6) & 63];
        out += alphabet[group & 63];
    }
    const std::size_t rest = bytes.size() - at;
    if (rest > 0) {
        uint32_t group = static_cast<uint32_t>(static_cast<unsigned char>(bytes[at])) << 16;
        if (rest == 2)
            group |= static_cast<uint32_t>(static_cast<unsigned char>(bytes[at + 1])) << 8;
        out += alphabet[group >> 18];
        out += alphabet[(group >> 12) & 63];
        if (rest == 2)
            out += alphabet[(group >> 6) & 63];
    }
    return out;
}

} // namespace tessellar
