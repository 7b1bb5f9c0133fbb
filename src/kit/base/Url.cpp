#include "kit/base/Url.h"

#include <cctype>
#include <curl/curl.h>
#include <memory>

namespace tessellar {
namespace {

struct UrlDeleter {
    void operator()(CURLU* handle) const { curl_url_cleanup(handle); }
};
using UrlHandle = std::unique_ptr<CURLU, UrlDeleter>;

struct CurlString {
    char* value = nullptr;
    ~CurlString() { curl_free(value); }
};

std::optional<std::string> part(CURLU* handle, CURLUPart which, unsigned flags = 0) {
    CurlString s;
    if (curl_url_get(handle, which, &s.value, flags) != CURLUE_OK || !s.value)
        return std::nullopt;
    return std::string(s.value);
}

std::string lowerASCII(std::string s) {
    for (auto& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// RFC 3986 scheme: ALPHA *( ALPHA / DIGIT / "+" / "-" / "." ) followed by ":".
std::optional<std::size_t> schemeLength(std::string_view text) {
    if (text.empty() || !std::isalpha(static_cast<unsigned char>(text[0])))
        return std::nullopt;
    for (std::size_t i = 1; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == ':')
            return i;
        if (!std::isalnum(c) && c != '+' && c != '-' && c != '.')
            return std::nullopt;
    }
    return std::nullopt;
}

std::string percentDecoded(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '%' && i + 2 < s.size() && std::isxdigit(static_cast<unsigned char>(s[i + 1])) &&
            std::isxdigit(static_cast<unsigned char>(s[i + 2]))) {
            out += static_cast<char>(std::stoi(std::string(s.substr(i + 1, 2)), nullptr, 16));
            i += 2;
        } else {
            out += s[i];
        }
    }
    return out;
}

} // namespace

std::optional<Url> Url::parse(std::string_view text) {
    const auto schemeEnd = schemeLength(text);
    if (!schemeEnd)
        return std::nullopt;
    for (unsigned char c : text)
        if (c <= 0x20 || c == 0x7F)
            return std::nullopt;

    Url url;
    url.text_ = std::string(text);
    url.scheme_ = lowerASCII(std::string(text.substr(0, *schemeEnd)));
    const std::string_view rest = text.substr(*schemeEnd + 1);

    if (rest.starts_with("//")) {
        UrlHandle handle(curl_url());
        if (!handle)
            return std::nullopt;
        const unsigned flags = CURLU_NON_SUPPORT_SCHEME | CURLU_ALLOW_SPACE;
        if (curl_url_set(handle.get(), CURLUPART_URL, url.text_.c_str(), flags) != CURLUE_OK)
            return std::nullopt;
        url.host_ = part(handle.get(), CURLUPART_HOST).value_or("");
        url.path_ = part(handle.get(), CURLUPART_PATH, CURLU_URLDECODE).value_or("");
        url.query_ = part(handle.get(), CURLUPART_QUERY);
        if (auto port = part(handle.get(), CURLUPART_PORT))
            url.port_ = std::stoi(*port);
        return url;
    }
    if (rest.empty())
        return std::nullopt;
    // Opaque form (mailto:, tel:, urn:): no authority; the rest up to '?' is the path.
    const auto q = rest.find('?');
    url.path_ = percentDecoded(rest.substr(0, q));
    if (q != std::string_view::npos)
        url.query_ = std::string(rest.substr(q + 1));
    return url;
}

Url Url::fromFilePath(const std::filesystem::path& path) {
    const std::string raw = std::filesystem::absolute(path).lexically_normal().string();
    std::string encoded = "file://";
    static constexpr char hex[] = "0123456789ABCDEF";
    for (unsigned char c : raw) {
        if (std::isalnum(c) || c == '/' || c == '-' || c == '.' || c == '_' || c == '~' || c == '!' ||
            c == '$' || c == '&' || c == '\'' || c == '(' || c == ')' || c == '*' || c == '+' || c == ',' ||
            c == ';' || c == '=' || c == ':' || c == '@') {
            encoded += static_cast<char>(c);
        } else {
            encoded += '%';
            encoded += hex[c >> 4];
            encoded += hex[c & 0xF];
        }
    }
    Url url;
    url.text_ = encoded;
    url.scheme_ = "file";
    url.path_ = raw;
    return url;
}

std::string Url::lastPathComponent() const {
    std::string_view p = path_;
    while (p.size() > 1 && p.back() == '/')
        p.remove_suffix(1);
    const auto slash = p.rfind('/');
    if (slash == std::string_view::npos)
        return std::string(p);
    if (p.size() == 1)
        return "/";
    return std::string(p.substr(slash + 1));
}

} // namespace tessellar
