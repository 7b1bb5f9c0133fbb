#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tessellar {

// Base64 in its two alphabets: standard ("+", "/"), as JSON encoders write byte buffers, and
// base64url ("-", "_"), as JSON Web Tokens use it. Decoding is strict: a character outside the
// alphabet, or "=" anywhere but as the last one or two characters, gives absent.
class Base64 {
public:
    enum class Alphabet { standard, url };

    struct DecodeOptions {
        Alphabet alphabet = Alphabet::standard;
        // Whole four-character groups only; otherwise missing padding is supplied first.
        bool requirePadding = true;
        // The unused bits of the last group must be zero, as an encoder writes them.
        bool requireZeroTrailingBits = true;
    };

    static std::string encode(std::string_view bytes, Alphabet alphabet = Alphabet::standard,
                              bool padded = true);
    static std::optional<std::string> decode(std::string_view text, DecodeOptions options);
    static std::optional<std::string> decode(std::string_view text) { return decode(text, DecodeOptions{}); }
};

} // namespace tessellar
