#include "kit/text/Base64.h"

#include <array>
#include <cstdint>

namespace tessellar {
namespace {

constexpr std::string_view standardAlphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr std::string_view urlAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";
constexpr int8_t invalid = -1;

constexpr std::array<int8_t, 256> valueTable(std::string_view alphabet) {
    std::array<int8_t, 256> table{};
    table.fill(invalid);
    for (std::size_t i = 0; i < alphabet.size(); ++i)
        table[static_cast<unsigned char>(alphabet[i])] = static_cast<int8_t>(i);
    return table;
}

constexpr std::array<int8_t, 256> standardValues = valueTable(standardAlphabet);
constexpr std::array<int8_t, 256> urlValues = valueTable(urlAlphabet);

uint32_t byteAt(std::string_view bytes, std::size_t i) {
    return static_cast<unsigned char>(bytes[i]);
}

} // namespace

std::string Base64::encode(std::string_view bytes, Alphabet alphabet, bool padded) {
    const std::string_view symbols = alphabet == Alphabet::url ? urlAlphabet : standardAlphabet;
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    std::size_t at = 0;
    for (; at + 3 <= bytes.size(); at += 3) {
        const uint32_t group = byteAt(bytes, at) << 16 | byteAt(bytes, at + 1) << 8 | byteAt(bytes, at + 2);
        out += symbols[group >> 18];
        out += symbols[(group >> 12) & 63];
        out += symbols[(group >> 6) & 63];
        out += symbols[group & 63];
    }
    const std::size_t rest = bytes.size() - at;
    if (rest == 0)
        return out;
    uint32_t group = byteAt(bytes, at) << 16;
    if (rest == 2)
        group |= byteAt(bytes, at + 1) << 8;
    out += symbols[group >> 18];
    out += symbols[(group >> 12) & 63];
    if (rest == 2)
        out += symbols[(group >> 6) & 63];
    if (padded)
        out.append(3 - rest, '=');
    return out;
}

std::optional<std::string> Base64::decode(std::string_view text, DecodeOptions options) {
    if (options.requirePadding && text.size() % 4 != 0)
        return std::nullopt;
    const auto& values = options.alphabet == Alphabet::url ? urlValues : standardValues;
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
        const uint32_t unusedBits = padding == 2 ? (group & 0xFFFF) : padding == 1 ? (group & 0xFF) : 0;
        if (options.requireZeroTrailingBits && unusedBits != 0)
            return std::nullopt;
        bytes += static_cast<char>((group >> 16) & 0xFF);
        if (padding < 2)
            bytes += static_cast<char>((group >> 8) & 0xFF);
        if (padding < 1)
            bytes += static_cast<char>(group & 0xFF);
    }
    return bytes;
}

} // namespace tessellar
