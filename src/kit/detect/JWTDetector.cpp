#include "kit/detect/JWTDetector.h"

#include "kit/json/JSONTree.h"
#include "kit/json/JSONWriter.h"
#include "kit/text/Base64.h"
#include "kit/text/StringHelpers.h"

#include <array>

namespace tessellar {
namespace {

using Kind = JSONTree::Kind;

constexpr std::size_t maximumLength = 8192;

// The base64url alphabet plus "=" padding.
bool isTokenCharacter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '_' || c == '=';
}

// A decoded piece that is a JSON object.
std::optional<JSONTree> objectIn(std::string_view piece) {
    // Tokens usually drop the padding; trailing bits are not policed.
    const auto bytes = Base64::decode(piece, {Base64::Alphabet::url, false, false});
    if (!bytes)
        return std::nullopt;
    auto tree = JSONTree::parse(*bytes);
    if (!tree || tree->root().kind != Kind::object)
        return std::nullopt;
    return tree;
}

std::optional<std::string> stringClaim(const JSONTree& tree, std::string_view name) {
    const auto value = tree.member(JSONTree::rootIndex, name);
    if (!value || tree.node(*value).kind != Kind::string)
        return std::nullopt;
    return std::string(tree.node(*value).text);
}

// Years 1 to 9999: what both the shown date and the stored ISO 8601 form can write. A claim
// outside them is no date at all rather than one the two forms would give differently.
constexpr double earliestSeconds = -62'135'596'800.0; // 0001-01-01T00:00:00Z
constexpr double latestSeconds = 253'402'300'799.0;   // 9999-12-31T23:59:59Z

// A NumericDate: Unix seconds, integer or fractional.
std::optional<Timestamp> dateClaim(const JSONTree& tree, std::string_view name) {
    const auto value = tree.member(JSONTree::rootIndex, name);
    if (!value || tree.node(*value).kind != Kind::number)
        return std::nullopt;
    const auto seconds = JSONTree::numberValue(tree.node(*value).text);
    if (!seconds || !(*seconds >= earliestSeconds && *seconds <= latestSeconds))
        return std::nullopt;
    return Timestamp::fromUnix(*seconds);
}

} // namespace

bool JWTDetector::Token::isExpired(Timestamp now) const {
    return expiresAt && *expiresAt < now;
}

std::optional<JWTDetector::Token> JWTDetector::token(std::string_view text) {
    const std::string_view candidate = trimmedView(text);
    // Only base64url characters pass below, each a character of its own, so bytes count characters.
    if (candidate.empty() || candidate.size() > maximumLength)
        return std::nullopt;

    std::array<std::string_view, 3> pieces;
    std::size_t count = 0;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= candidate.size(); ++i) {
        if (i < candidate.size() && candidate[i] != '.') {
            if (!isTokenCharacter(candidate[i]))
                return std::nullopt; // whitespace included
            continue;
        }
        if (count == pieces.size() || i == start)
            return std::nullopt; // a fourth or an empty piece
        pieces[count++] = candidate.substr(start, i - start);
        start = i + 1;
    }
    if (count != pieces.size())
        return std::nullopt;

    const auto header = objectIn(pieces[0]);
    if (!header)
        return std::nullopt;
    const auto payload = objectIn(pieces[1]);
    if (!payload)
        return std::nullopt;
    const auto algorithm = stringClaim(*header, "alg");
    if (!algorithm)
        return std::nullopt;

    Token token;
    token.header = JSONWriter::pretty(*header);
    token.payload = JSONWriter::pretty(*payload);
    token.algorithm = algorithm;
    token.issuer = stringClaim(*payload, "iss");
    token.subject = stringClaim(*payload, "sub");
    token.audience = stringClaim(*payload, "aud");
    token.issuedAt = dateClaim(*payload, "iat");
    token.expiresAt = dateClaim(*payload, "exp");
    return token;
}

} // namespace tessellar
