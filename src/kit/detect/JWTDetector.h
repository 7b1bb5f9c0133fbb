#pragma once

#include "kit/base/Clock.h"
#include "kit/base/Timestamp.h"

#include <optional>
#include <string>
#include <string_view>

namespace tessellar {

// Recognises a JSON Web Token (three base64url pieces separated by points, a header with a
// string "alg") and lifts the registered claims users care about. The signature is never
// verified: its piece is only checked for its alphabet. Stateless.
class JWTDetector {
public:
    struct Token {
        std::string header;  // decoded header JSON, pretty with sorted keys; empty when re-writing failed
        std::string payload; // decoded payload JSON, the same way
        std::optional<std::string> algorithm; // "alg"
        std::optional<std::string> issuer;    // "iss" when a string
        std::optional<std::string> subject;   // "sub" when a string
        std::optional<std::string> audience;  // "aud" when a string (an array gives none)
        std::optional<Timestamp> issuedAt;    // "iat" when a number of Unix seconds
        std::optional<Timestamp> expiresAt;   // "exp" when a number of Unix seconds

        // True exactly when the token has an expiry earlier than `now`.
        bool isExpired(Timestamp now = Clock::now()) const;

        bool operator==(const Token&) const = default;
    };

    // Absent unless the whole trimmed text is a token.
    static std::optional<Token> token(std::string_view text);
};

} // namespace tessellar
