#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace tessellar {

// An absolute URL. The text is kept exactly as given (so payloads round-trip);
// libcurl's URL parser validates it and yields the components. Opaque URLs such as
// "mailto:a@b.org" are accepted too: scheme plus the rest as their path.
class Url {
public:
    // Absent unless `text` is an absolute URL with a scheme (no spaces or control characters).
    static std::optional<Url> parse(std::string_view text);

    // A file URL for an absolute local path, percent-encoded: "/a b.pdf" -> "file:///a%20b.pdf".
    static Url fromFilePath(const std::filesystem::path& path);

    const std::string& absoluteString() const { return text_; }
    const std::string& scheme() const { return scheme_; } // lower-cased
    const std::string& host() const { return host_; }     // empty when there is none
    const std::string& path() const { return path_; }     // percent-decoded
    const std::optional<std::string>& query() const { return query_; }
    std::optional<int> port() const { return port_; }

    bool isFileURL() const { return scheme_ == "file"; }
    // The local path of a file URL (decoded); the decoded path for any other URL.
    std::filesystem::path filePath() const { return std::filesystem::path(path_); }
    // The last non-empty component of the decoded path ("" when there is none).
    std::string lastPathComponent() const;

    bool operator==(const Url& other) const { return text_ == other.text_; }

private:
    std::string text_;
    std::string scheme_;
    std::string host_;
    std::string path_;
    std::optional<std::string> query_;
    std::optional<int> port_;
};

} // namespace tessellar
