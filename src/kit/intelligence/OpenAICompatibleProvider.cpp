#include "kit/intelligence/OpenAICompatibleProvider.h"

#include "kit/base/CurlApi.h"
#include "kit/base/Log.h"
#include "kit/intelligence/Prompts.h"
#include "kit/model/TessellarError.h"
#include "kit/suggest/FilenameGenerator.h"
#include "kit/text/StringHelpers.h"

#include <arpa/inet.h>
#include <cerrno>
#include <charconv>
#include <memory>
#include <nlohmann/json.hpp>

namespace tessellar {
namespace {

using Recovery = TessellarError::Recovery;
using nlohmann::json;

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
using EasyHandle = std::unique_ptr<CURL, EasyDeleter>;
using HeaderList = std::unique_ptr<curl_slist, ListDeleter>;

// What one transfer gathers while it runs.
struct Transfer {
    std::string body;
    bool tooLarge = false;
    std::string retryAfter;
    bool hasRetryAfter = false;
    std::stop_token stop;
};

std::size_t onBody(char* data, std::size_t size, std::size_t count, void* context) {
    auto* transfer = static_cast<Transfer*>(context);
    const std::size_t bytes = size * count;
    if (transfer->body.size() + bytes > OpenAICompatibleProvider::maximumResponseBytes) {
        transfer->tooLarge = true;
        return 0; // aborts the transfer with CURLE_WRITE_ERROR
    }
    transfer->body.append(data, bytes);
    return bytes;
}

std::size_t onHeader(char* data, std::size_t size, std::size_t count, void* context) {
    auto* transfer = static_cast<Transfer*>(context);
    const std::string_view line(data, size * count);
    if (line.starts_with("HTTP/")) { // a new response (after a redirect): forget the last one's headers
        transfer->hasRetryAfter = false;
        transfer->retryAfter.clear();
        return size * count;
    }
    constexpr std::string_view name = "retry-after:";
    if (line.size() >= name.size()) {
        bool matches = true;
        for (std::size_t i = 0; i < name.size() && matches; ++i)
            matches = static_cast<char>(std::tolower(static_cast<unsigned char>(line[i]))) == name[i];
        if (matches) {
            transfer->hasRetryAfter = true;
            transfer->retryAfter = std::string(line.substr(name.size()));
        }
    }
    return size * count;
}

int onProgress(void* context, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    return static_cast<Transfer*>(context)->stop.stop_requested() ? 1 : 0;
}

TessellarError unreadable() {
    return TessellarError::aiUnreadableResponse();
}

TessellarError statusError(long status, const Transfer& transfer) {
    switch (status) {
    case 401:
        return TessellarError::aiKeyRejected();
    case 403:
        return TessellarError::aiKeyLacksAccess();
    case 404:
        return TessellarError::aiModelNotFound();
    case 429:
        return TessellarError::aiRateLimited(OpenAICompatibleProvider::retryAfterSeconds(
            transfer.hasRetryAfter ? std::optional<std::string_view>(transfer.retryAfter) : std::nullopt));
    default:
        break;
    }
    if (status >= 500 && status <= 599)
        return TessellarError::aiUnavailable(static_cast<int>(status));
    return TessellarError::aiUnexpectedStatus(static_cast<int>(status));
}

[[noreturn]] void throwTransportError(CURLcode code, CURL* handle, const Transfer& transfer, double timeout) {
    long status = 0;
    curl().easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &status);
    long osError = 0;
    curl().easy_getinfo(handle, CURLINFO_OS_ERRNO, &osError);
    Log::error(Log::Category::intelligence, std::string("AI request failed: ") + curl().easy_strerror(code) +
                                                " (curl " + std::to_string(static_cast<int>(code)) + ")");
    switch (code) {
    case CURLE_ABORTED_BY_CALLBACK:
        throw Cancelled();
    case CURLE_OPERATION_TIMEDOUT:
        throw TessellarError::aiTimedOut(timeout);
    case CURLE_WRITE_ERROR:
        if (transfer.tooLarge)
            throw unreadable();
        throw TessellarError::aiConnectionFailed();
    case CURLE_UNSUPPORTED_PROTOCOL:
        // A redirect to a scheme other than https: refused, as the transport security would.
        if (status >= 300 && status <= 399)
            throw TessellarError::aiInsecureConnection();
        throw TessellarError::aiHostUnreachable();
    case CURLE_COULDNT_CONNECT:
        if (osError == ENETUNREACH || osError == ENETDOWN)
            throw TessellarError::aiOffline();
        throw TessellarError::aiHostUnreachable();
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
    case CURLE_URL_MALFORMAT:
    case CURLE_GOT_NOTHING:
    case CURLE_WEIRD_SERVER_REPLY:
    case CURLE_TOO_MANY_REDIRECTS:
        throw TessellarError::aiHostUnreachable();
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CERTPROBLEM:
    case CURLE_SSL_CIPHER:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_ISSUER_ERROR:
    case CURLE_SSL_PINNEDPUBKEYNOTMATCH:
    case CURLE_SSL_INVALIDCERTSTATUS:
    case CURLE_USE_SSL_FAILED:
        throw TessellarError::aiInsecureConnection();
    default:
        throw TessellarError::aiConnectionFailed();
    }
}

} // namespace

const Url& OpenAICompatibleProvider::Configuration::defaultBaseURL() {
    static const Url url = *Url::parse("https://api.openai.com/v1");
    return url;
}

bool OpenAICompatibleProvider::isLoopbackHost(std::string_view host) {
    std::string name(host);
    if (name.size() >= 2 && name.front() == '[' && name.back() == ']')
        name = name.substr(1, name.size() - 2);
    for (char& c : name)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (name == "localhost" || name == "::1")
        return true;
    in_addr v4{};
    if (inet_pton(AF_INET, name.c_str(), &v4) == 1)
        return (ntohl(v4.s_addr) >> 24) == 127;
    in6_addr v6{};
    if (inet_pton(AF_INET6, name.c_str(), &v6) == 1)
        return IN6_IS_ADDR_LOOPBACK(&v6);
    return false;
}

bool OpenAICompatibleProvider::isAllowedBase(const Url& baseURL) {
    if (baseURL.scheme() == "https")
        return !baseURL.host().empty();
    return baseURL.scheme() == "http" && isLoopbackHost(baseURL.host());
}

bool OpenAICompatibleProvider::isConfigured() const {
    if (!isBlank(configuration_.apiKey))
        return true;
    // A model server on this machine usually wants no key.
    return isAllowedBase(configuration_.baseURL) && isLoopbackHost(configuration_.baseURL.host());
}

std::string OpenAICompatibleProvider::endpoint(const Url& baseURL) {
    std::string text = baseURL.absoluteString();
    // The path component goes before any query or fragment of the base.
    const std::size_t schemeEnd = text.find("://");
    const std::size_t tailStart =
        text.find_first_of("?#", schemeEnd == std::string::npos ? 0 : schemeEnd + 3);
    const std::string tail = tailStart == std::string::npos ? "" : text.substr(tailStart);
    if (tailStart != std::string::npos)
        text.resize(tailStart);
    if (!text.ends_with("/"))
        text += "/";
    return text + "chat/completions" + tail;
}

std::string OpenAICompatibleProvider::requestBody(std::string_view model, std::string_view system,
                                                  std::string_view user, bool jsonMode) {
    json body = json::object();
    body["model"] = model;
    body["temperature"] = 0.1;
    body["messages"] = json::array(
        {json{{"role", "system"}, {"content", system}}, json{{"role", "user"}, {"content", user}}});
    if (jsonMode)
        body["response_format"] = json{{"type", "json_object"}};
    // Text cut by the prompt limits may end inside a malformed sequence only if the caller
    // passed one; replace rather than fail, since the text is the user's own.
    return body.dump(-1, ' ', false, json::error_handler_t::replace);
}

std::optional<long long> OpenAICompatibleProvider::retryAfterSeconds(std::optional<std::string_view> header) {
    if (!header)
        return std::nullopt;
    std::string value = trimmed(*header);
    if (value.empty())
        return std::nullopt;
    std::string_view digits = value;
    bool negative = false;
    if (digits.front() == '+' || digits.front() == '-') {
        negative = digits.front() == '-';
        digits.remove_prefix(1);
    }
    if (digits.empty())
        return std::nullopt;
    long long parsed = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), parsed);
    if (error != std::errc() || end != digits.data() + digits.size())
        return std::nullopt;
    if (negative || parsed <= 0)
        return std::nullopt;
    return parsed;
}

std::string OpenAICompatibleProvider::replyContent(std::string_view body) {
    json envelope;
    try {
        envelope = json::parse(body);
    } catch (const json::exception&) {
        throw unreadable();
    }
    if (!envelope.is_object())
        throw unreadable();
    const auto choices = envelope.find("choices");
    if (choices == envelope.end() || choices->is_null())
        throw TessellarError::aiEmptyResponse();
    if (!choices->is_array())
        throw unreadable();
    if (choices->empty())
        throw TessellarError::aiEmptyResponse();
    for (const auto& choice : *choices) { // every choice must have the envelope's shape
        if (choice.is_null())
            continue;
        if (!choice.is_object())
            throw unreadable();
        const auto message = choice.find("message");
        if (message == choice.end() || message->is_null())
            continue;
        if (!message->is_object())
            throw unreadable();
        const auto content = message->find("content");
        if (content != message->end() && !content->is_null() && !content->is_string())
            throw unreadable();
    }
    const json& first = choices->front();
    if (first.is_null())
        throw TessellarError::aiEmptyResponse();
    const auto message = first.find("message");
    if (message == first.end() || message->is_null())
        throw TessellarError::aiEmptyResponse();
    const auto content = message->find("content");
    if (content == message->end() || content->is_null())
        throw TessellarError::aiEmptyResponse();
    std::string text = trimmed(content->get<std::string>());
    if (text.empty())
        throw TessellarError::aiEmptyResponse();
    return text;
}

std::string OpenAICompatibleProvider::complete(std::string_view system, std::string_view user, bool jsonMode,
                                               std::stop_token stop) const {
    if (!isConfigured())
        throw TessellarError::aiNotConfigured();
    if (!isAllowedBase(configuration_.baseURL))
        throw TessellarError(std::string(insecureBaseMessage), {Recovery::openSettings});
    if (stop.stop_requested())
        throw Cancelled();

    if (!CurlApi::get())
        throw TessellarError::aiConnectionFailed();
    EasyHandle handle(curl().easy_init());
    if (!handle)
        throw TessellarError::aiConnectionFailed();
    CURL* easy = handle.get();

    const std::string url = endpoint(configuration_.baseURL);
    const std::string body = requestBody(configuration_.model, system, user, jsonMode);
    HeaderList headers(curl().slist_append(nullptr, "Content-Type: application/json"));
    if (!isBlank(configuration_.apiKey)) {
        const std::string authorization = "Authorization: Bearer " + configuration_.apiKey;
        headers.reset(curl().slist_append(headers.release(), authorization.c_str()));
    }
    headers.reset(curl().slist_append(headers.release(), "Expect:")); // no 100-continue round trip
    if (!headers)
        throw TessellarError::aiConnectionFailed();

    Transfer transfer;
    transfer.stop = stop;
    const bool plainLoopback = configuration_.baseURL.scheme() == "http";
    const auto timeoutMs = static_cast<long>(configuration_.timeout * 1000);

    curl().easy_setopt(easy, CURLOPT_URL, url.c_str());
    curl().easy_setopt(easy, CURLOPT_PROTOCOLS_STR, plainLoopback ? "http,https" : "https");
    curl().easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L);
    curl().easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "https");
    curl().easy_setopt(easy, CURLOPT_MAXREDIRS, 5L);
    curl().easy_setopt(easy, CURLOPT_POSTREDIR, CURL_REDIR_POST_ALL);
    curl().easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl().easy_setopt(easy, CURLOPT_TIMEOUT_MS, timeoutMs);
    curl().easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, timeoutMs);
    curl().easy_setopt(easy, CURLOPT_HTTPHEADER, headers.get());
    curl().easy_setopt(easy, CURLOPT_POSTFIELDS, body.c_str());
    curl().easy_setopt(easy, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
    curl().easy_setopt(easy, CURLOPT_WRITEFUNCTION, onBody);
    curl().easy_setopt(easy, CURLOPT_WRITEDATA, &transfer);
    curl().easy_setopt(easy, CURLOPT_HEADERFUNCTION, onHeader);
    curl().easy_setopt(easy, CURLOPT_HEADERDATA, &transfer);
    curl().easy_setopt(easy, CURLOPT_NOPROGRESS, 0L);
    curl().easy_setopt(easy, CURLOPT_XFERINFOFUNCTION, onProgress);
    curl().easy_setopt(easy, CURLOPT_XFERINFODATA, &transfer);
    curl().easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, 1L);
    curl().easy_setopt(easy, CURLOPT_SSL_VERIFYHOST, 2L);

    const CURLcode code = curl().easy_perform(easy);
    if (code != CURLE_OK)
        throwTransportError(code, easy, transfer, configuration_.timeout);

    long status = 0;
    curl().easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &status);
    if (status == 0)
        throw unreadable();
    if (status < 200 || status > 299)
        throw statusError(status, transfer);
    return replyContent(transfer.body);
}

AIClassification OpenAICompatibleProvider::classify(const ClassificationRequest& request,
                                                    std::stop_token stop) const {
    const Prompt prompt = prompts::classify(request);
    return readClassificationReply(complete(prompt.system, prompt.user, true, stop));
}

std::string OpenAICompatibleProvider::summarize(std::string_view text, SummaryStyle style,
                                                std::stop_token stop) const {
    const Prompt prompt = prompts::summarize(text, style);
    return complete(prompt.system, prompt.user, false, stop);
}

std::string OpenAICompatibleProvider::answer(std::string_view question, std::string_view content,
                                             std::stop_token stop) const {
    const Prompt prompt = prompts::answer(question, content);
    return complete(prompt.system, prompt.user, false, stop);
}

std::string OpenAICompatibleProvider::cleanedFilename(std::string_view reply,
                                                      const FilenameRequest& request) {
    const std::string whole = trimmed(reply);
    std::string line = firstMeaningfulLine(whole).value_or(whole);
    if (const std::size_t slash = line.rfind('/'); slash != std::string::npos)
        line = line.substr(slash + 1);
    std::string name = FilenameGenerator::sanitize(line, request.currentName);
    if (name.empty())
        return FilenameGenerator::suggestion(request).filename;
    return name;
}

std::string OpenAICompatibleProvider::smartFilename(const FilenameRequest& request,
                                                    std::stop_token stop) const {
    const Prompt prompt = prompts::smartFilename(request);
    return cleanedFilename(complete(prompt.system, prompt.user, false, stop), request);
}

void OpenAICompatibleProvider::testConnection(std::stop_token stop) const {
    const Prompt prompt = prompts::testConnection();
    complete(prompt.system, prompt.user, false, stop);
}

} // namespace tessellar
