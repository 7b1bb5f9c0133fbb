#pragma once

#include <chrono>
#include <cstddef>
#include <stdexcept>
#include <stop_token>
#include <string>
#include <utility>
#include <vector>

namespace tessellar {

// One blocking HTTP exchange over libcurl: a fresh easy handle per request, no cookies,
// no cache, no credentials kept. Safe to call from any thread.
struct HttpRequest {
    std::string method = "GET";
    std::string url;
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body;
    std::chrono::milliseconds timeout{15'000};
    // A longer body fails with HttpError::Kind::tooLarge as soon as it crosses the cap.
    std::size_t maximumResponseBytes = 1 << 20;
    // Redirects are followed only to https URLs with a host; any other redirect is not
    // followed and its own response is returned.
    int maximumRedirects = 5;
    // Extra certificate authorities (a PEM file), for servers signed by a private CA.
    std::string certificateAuthorities;
};

struct HttpResponse {
    long status = 0;
    std::string body;
    std::vector<std::pair<std::string, std::string>> headers; // names lower-cased
    std::string header(std::string_view name) const;
};

class HttpError : public std::runtime_error {
public:
    enum class Kind {
        timedOut,
        cancelled,
        tooLarge,
        insecure,
        cannotResolveHost,
        cannotConnect,
        offline,
        transport
    };
    HttpError(Kind kind, std::string detail) : std::runtime_error(std::move(detail)), kind_(kind) {}
    Kind kind() const { return kind_; }

private:
    Kind kind_;
};

class HttpClient {
public:
    // Throws HttpError for transport failures; any HTTP status is a response. A stop
    // request aborts the transfer promptly with Kind::cancelled.
    static HttpResponse perform(const HttpRequest& request, std::stop_token stop = {});
};

} // namespace tessellar
