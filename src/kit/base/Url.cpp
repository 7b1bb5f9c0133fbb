#include "kit/base/Url.h"

#include <cctype>
#include <glib.h>
#include <memory>

namespace tessellar {
namespace {

struct UriDeleter {
    void operator()(GUri* uri) const { g_uri_unref(uri); }
};
using Uri = std::unique_ptr<GUri, UriDeleter>;

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
        // GLib's parser (RFC 3986), already loaded for the desktop: strict, so a malformed
        // authority or a stray "%" is no link.
        Uri uri(g_uri_parse(url.text_.c_str(),
                            static_cast<GUriFlags>(G_URI_FLAGS_ENCODED_QUERY | G_URI_FLAGS_ENCODED_FRAGMENT),
                            nullptr));
        if (!uri)
            return std::nullopt;
        const char* host = g_uri_get_host(uri.get());
        url.host_ = host ? host : "";
        if (url.host_.empty() && url.scheme_ != "file")
            return std::nullopt; // "http://" names no place
        if (url.host_.find(':') != std::string::npos)
            url.host_ = "[" + url.host_ + "]"; // an IPv6 literal keeps its brackets, as written
        const char* path = g_uri_get_path(uri.get());
        url.path_ = path ? path : "";
        if (const char* query = g_uri_get_query(uri.get()))
            url.query_ = query;
        if (const int port = g_uri_get_port(uri.get()); port > 0)
            url.port_ = port;
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
