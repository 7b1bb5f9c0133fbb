// Any text gives a token or none. Half the inputs are taken as a payload and wrapped into a
// well-formed token, so decoding and claim reading get exercised beyond the shape checks.
#include "FuzzInput.h"
#include "kit/detect/JWTDetector.h"
#include "kit/text/Base64.h"

#include <algorithm>
#include <nlohmann/json.hpp>
#include <string>

using tessellar::Base64;
using tessellar::JWTDetector;

namespace {

std::string url(std::string_view bytes) {
    return Base64::encode(bytes, Base64::Alphabet::url, false);
}

// The deepest nesting of brackets outside strings.
std::size_t nesting(std::string_view json) {
    std::size_t depth = 0;
    std::size_t deepest = 0;
    bool inString = false;
    for (std::size_t i = 0; i < json.size(); ++i) {
        const char c = json[i];
        if (inString) {
            if (c == '\\')
                ++i;
            else if (c == '"')
                inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            deepest = std::max(deepest, ++depth);
        } else if ((c == ']' || c == '}') && depth > 0) {
            --depth;
        }
    }
    return deepest;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const std::string_view rest = fuzz::text(data + 1, size - 1);

    if (data[0] & 1) {
        const auto token = JWTDetector::token(rest);
        if (token)
            fuzz::require(token->algorithm.has_value() && !token->header.empty() && !token->payload.empty());
        return 0;
    }

    const std::string wrapped = url(R"({"alg":"HS256"})") + "." + url(rest) + ".sig";
    const auto token = JWTDetector::token(wrapped);
    fuzz::require(Base64::decode(url(rest), {Base64::Alphabet::url, false, false}) == std::string(rest));
    fuzz::require(Base64::decode(Base64::encode(rest)) == std::string(rest));
    if (token) {
        // nlohmann refuses numbers beyond the range of a double, which are valid JSON; anything
        // else it refuses must not have been accepted.
        try {
            const auto payload = nlohmann::json::parse(rest);
            fuzz::require(payload.is_object());
            fuzz::require(nlohmann::json::parse(token->payload) == payload);
            const bool numericExp = payload.contains("exp") && payload["exp"].is_number();
            fuzz::require(!token->expiresAt || numericExp);
            // Seconds in years 1 to 9999 are a date; others are no date rather than a wrong one.
            if (numericExp && payload["exp"].get<double>() >= -6.2e10 &&
                payload["exp"].get<double>() <= 2.5e11)
                fuzz::require(token->expiresAt.has_value());
            fuzz::require(token->issuer.has_value() ==
                          (payload.contains("iss") && payload["iss"].is_string()));
        } catch (const nlohmann::json::out_of_range&) {
        } catch (const nlohmann::json::exception&) {
            fuzz::require(false);
        }
    } else if (wrapped.size() <= 8192 && rest.find('\0') == std::string_view::npos &&
               nlohmann::json::accept(rest)) {
        // (nlohmann reads a NUL byte as the end of its input, so such payloads are left out.)
        // Refused although the payload is JSON: only a non-object or nesting beyond the limit.
        fuzz::require(!nlohmann::json::parse(rest).is_object() || nesting(rest) > 1024);
    }
    return 0;
}
