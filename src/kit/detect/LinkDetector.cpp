#include "kit/detect/LinkDetector.h"

#include "kit/scan/DataDetector.h"
#include "kit/text/StringHelpers.h"
#include "kit/text/Unicode.h"

#include <algorithm>

namespace tessellar {
namespace {

constexpr std::size_t maximumLinkCharacters = 2048;
constexpr std::size_t minimumPhoneCharacters = 7;
constexpr std::size_t maximumPhoneCharacters = 24;
// Characters are counted only in texts of at most this many bytes per allowed character: no
// real link or phone number comes near it, and a long paste is turned away without counting.
constexpr std::size_t maximumBytesPerCharacter = 64;

bool containsWhitespace(std::string_view text) {
    for (std::size_t i = 0; i < text.size();) {
        if (unicode::isWhitespace(unicode::nextScalar(text, i)))
            return true;
    }
    return false;
}

bool isWebScheme(std::string_view scheme) {
    // Url keeps its scheme lower-cased already.
    return std::ranges::find(LinkDetector::webSchemes, scheme) != LinkDetector::webSchemes.end();
}

// The whole text is the only match of its kind.
bool coversWhole(const std::vector<DataDetector::Match>& matches, std::string_view text) {
    return matches.size() == 1 && matches.front().range.length == unicode::utf16Length(text);
}

} // namespace

std::optional<Url> LinkDetector::standaloneURL(std::string_view text) {
    const std::string link = trimmed(text);
    if (link.empty() || link.size() > maximumLinkCharacters * maximumBytesPerCharacter ||
        containsWhitespace(link) || unicode::characterCount(link) > maximumLinkCharacters)
        return std::nullopt;
    if (auto url = Url::parse(link); url && isWebScheme(url->scheme()) && !url->host().empty())
        return url;
    const auto matches = DataDetector::matches(DataDetector::Type::link, link);
    if (!coversWhole(matches, link) || !matches.front().url || !isWebScheme(matches.front().url->scheme()))
        return std::nullopt;
    return matches.front().url;
}

std::string LinkDetector::displayString(const Url& url) {
    std::string shown = url.host().empty() ? url.absoluteString() : url.host();
    if (shown.starts_with("www."))
        shown.erase(0, 4);
    std::string path = url.path();
    if (!path.empty() && path != "/") {
        if (path.back() == '/')
            path.pop_back();
        shown += path;
    }
    return shown;
}

std::optional<std::string> LinkDetector::standaloneEmailAddress(std::string_view text) {
    std::string address = trimmed(text);
    if (containsWhitespace(address) || address.find('@') == std::string::npos)
        return std::nullopt;
    const std::string link = "mailto:" + address;
    const auto matches = DataDetector::matches(DataDetector::Type::link, link);
    if (matches.empty())
        return std::nullopt;
    const auto& first = matches.front();
    if (!first.url || first.url->scheme() != "mailto" || first.range.length != unicode::utf16Length(link))
        return std::nullopt;
    return address;
}

std::optional<std::string> LinkDetector::standalonePhoneNumber(std::string_view text) {
    const std::string number = trimmed(text);
    if (number.size() > maximumPhoneCharacters * maximumBytesPerCharacter)
        return std::nullopt;
    const std::size_t length = unicode::characterCount(number);
    if (length < minimumPhoneCharacters || length > maximumPhoneCharacters)
        return std::nullopt;
    const auto matches = DataDetector::matches(DataDetector::Type::phoneNumber, number);
    if (!coversWhole(matches, number))
        return std::nullopt;
    return matches.front().phoneNumber;
}

} // namespace tessellar
