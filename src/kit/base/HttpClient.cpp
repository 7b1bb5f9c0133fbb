#include "kit/base/HttpClient.h"

#include "kit/base/CurlApi.h"
#include "kit/base/Url.h"

#include <algorithm>
#include <cctype>
#include <memory>

namespace tessellar {
namespace {

// Called only once `CurlApi::get` has succeeded.
const CurlApi& curl() {
    return *CurlApi::get();
}

struct EasyDeleter {
    void operator()(CURL* handle) const { curl().easy_cleanup(handle); }
};
struct ListDeleter {
    void operator()(curl_slist* list) const { curl().slist_free_all(list); }
};
using Easy = std::unique_ptr<CURL, EasyDeleter>;
using HeaderList = std::unique_ptr<curl_slist, ListDeleter>;

struct Transfer {
    HttpResponse response;
    std::size_t limit = 0;
    bool overLimit = false;
    std::stop_token stop;
};

std::size_t onBody(char* data, std::size_t size, std::size_t count, void* user) {
    auto& transfer = *static_cast<Transfer*>(user);
    const std::size_t bytes = size * count;
    if (transfer.response.body.size() + bytes > transfer.limit) {
        transfer.overLimit = true;
        return 0; // aborts the transfer
    }
    transfer.response.body.append(data, bytes);
    return bytes;
}

std::size_t onHeader(char* data, std::size_t size, std::size_t count, void* user) {
    auto& transfer = *static_cast<Transfer*>(user);
    const std::size_t bytes = size * count;
    const std::string_view line(data, bytes);
    if (line.starts_with("HTTP/")) {
        transfer.response.headers.clear(); // a new response (after a redirect or 100-continue)
        return bytes;
    }
    const auto colon = line.find(':');
    if (colon == std::string_view::npos || transfer.response.headers.size() >= 200)
        return bytes;
    std::string name(line.substr(0, colon));
    std::ranges::transform(name, name.begin(),
                           [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    std::string_view value = line.substr(colon + 1);
    while (!value.empty() && (value.front() == ' ' || value.front() == '\t'))
        value.remove_prefix(1);
    while (!value.empty() && (value.back() == '\r' || value.back() == '\n' || value.back() == ' '))
        value.remove_suffix(1);
    transfer.response.headers.emplace_back(std::move(name), std::string(value));
    return bytes;
}

int onProgress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    return static_cast<Transfer*>(user)->stop.stop_requested() ? 1 : 0;
}

HttpError::Kind kindOf(CURLcode code) {
    switch (code) {
    case CURLE_OPERATION_TIMEDOUT:
        return HttpError::Kind::timedOut;
    case CURLE_ABORTED_BY_CALLBACK:
        return HttpError::Kind::cancelled;
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
        return HttpError::Kind::cannotResolveHost;
    case CURLE_COULDNT_CONNECT:
        return HttpError::Kind::cannotConnect;
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CIPHER:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_ISSUER_ERROR:
    case CURLE_USE_SSL_FAILED:
        return HttpError::Kind::insecure;
    default:
        return HttpError::Kind::transport;
    }
}

bool isHttpsWithHost(const std::string& text) {
    const auto url = Url::parse(text);
    return url && url->scheme() == "https" && !url->host().empty();
}

} // namespace

std::string HttpResponse::header(std::string_view name) const {
    for (const auto& [key, value] : headers) {
        if (std::ranges::equal(
                key, name, [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); }))
            return value;
    }
    return {};
}

HttpResponse HttpClient::perform(const HttpRequest& request, std::stop_token stop) {
    if (!CurlApi::get())
        throw HttpError(HttpError::Kind::transport, "libcurl couldn\u2019t be loaded");
    std::string url = request.url;
    for (int hop = 0;; ++hop) {
        if (stop.stop_requested())
            throw HttpError(HttpError::Kind::cancelled, "cancelled");
        Easy easy(curl().easy_init());
        if (!easy)
            throw HttpError(HttpError::Kind::transport, "curl_easy_init failed");
        HeaderList headers;
        for (const auto& [name, value] : request.headers) {
            const std::string line = name + ": " + value;
            curl_slist* grown = curl().slist_append(headers.get(), line.c_str());
            if (!grown)
                throw HttpError(HttpError::Kind::transport, "out of memory");
            static_cast<void>(headers.release());
            headers.reset(grown);
        }
        Transfer transfer;
        transfer.limit = request.maximumResponseBytes;
        transfer.stop = stop;

        CURL* h = easy.get();
        curl().easy_setopt(h, CURLOPT_URL, url.c_str());
        curl().easy_setopt(h, CURLOPT_NOSIGNAL, 1L);
        curl().easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https");
        curl().easy_setopt(h, CURLOPT_FOLLOWLOCATION, 0L);
        curl().easy_setopt(h, CURLOPT_TIMEOUT_MS, static_cast<long>(request.timeout.count()));
        curl().easy_setopt(h, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(request.timeout.count()));
        curl().easy_setopt(h, CURLOPT_HTTPHEADER, headers.get());
        curl().easy_setopt(h, CURLOPT_WRITEFUNCTION, onBody);
        curl().easy_setopt(h, CURLOPT_WRITEDATA, &transfer);
        curl().easy_setopt(h, CURLOPT_HEADERFUNCTION, onHeader);
        curl().easy_setopt(h, CURLOPT_HEADERDATA, &transfer);
        curl().easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
        curl().easy_setopt(h, CURLOPT_XFERINFOFUNCTION, onProgress);
        curl().easy_setopt(h, CURLOPT_XFERINFODATA, &transfer);
        if (!request.certificateAuthorities.empty())
            curl().easy_setopt(h, CURLOPT_CAINFO, request.certificateAuthorities.c_str());
        if (request.method == "POST") {
            curl().easy_setopt(h, CURLOPT_POST, 1L);
            curl().easy_setopt(h, CURLOPT_POSTFIELDS, request.body.data());
            curl().easy_setopt(h, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(request.body.size()));
        } else if (request.method != "GET") {
            curl().easy_setopt(h, CURLOPT_CUSTOMREQUEST, request.method.c_str());
        }

        const CURLcode code = curl().easy_perform(h);
        if (transfer.overLimit)
            throw HttpError(HttpError::Kind::tooLarge,
                            "response body over " + std::to_string(request.maximumResponseBytes) + " bytes");
        if (code != CURLE_OK)
            throw HttpError(kindOf(code), curl().easy_strerror(code));
        curl().easy_getinfo(h, CURLINFO_RESPONSE_CODE, &transfer.response.status);

        char* location = nullptr;
        const long status = transfer.response.status;
        // A redirect that would turn another method into GET is not followed.
        const bool keepsMethod = status == 307 || status == 308;
        const bool redirect =
            keepsMethod || ((status == 301 || status == 302 || status == 303) && request.method == "GET");
        if (redirect && hop < request.maximumRedirects &&
            curl().easy_getinfo(h, CURLINFO_REDIRECT_URL, &location) == CURLE_OK && location &&
            isHttpsWithHost(location)) {
            url = location;
            continue;
        }
        return std::move(transfer.response);
    }
}

} // namespace tessellar
