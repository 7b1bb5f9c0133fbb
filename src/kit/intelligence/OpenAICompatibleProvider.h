#pragma once

#include "kit/base/Url.h"
#include "kit/intelligence/IntelligenceProvider.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tessellar {

// A provider over any service that speaks the chat-completions protocol. Every operation is
// one POST of a two-message conversation to "<base>/chat/completions", on its own curl
// handle: per-request time-out, no cookies, no cache, redirects followed to https only.
// The base must be https, or http on a loopback host (a local model server, which also
// needs no key). Immutable; safe to use from several threads at once.
class OpenAICompatibleProvider : public IntelligenceProvider {
public:
    struct Configuration {
        Url baseURL;
        std::string model;
        std::string apiKey;
        double timeout = 20; // seconds

        static constexpr std::string_view defaultModel = "gpt-4o-mini";
        static const Url& defaultBaseURL();

        bool operator==(const Configuration&) const = default;
    };

    // Replies larger than this are refused as unreadable: a chat reply is a few kilobytes.
    static constexpr std::size_t maximumResponseBytes = 2 * 1024 * 1024;

    explicit OpenAICompatibleProvider(Configuration configuration)
        : configuration_(std::move(configuration)) {}

    const Configuration& configuration() const { return configuration_; }

    std::string identifier() const override { return "openai-compatible"; }
    std::string displayName() const override { return "AI provider (" + configuration_.model + ")"; }
    bool sendsDataOffDevice() const override { return true; }

    bool isConfigured() const override;
    AIClassification classify(const ClassificationRequest& request, std::stop_token stop = {}) const override;
    std::string summarize(std::string_view text, SummaryStyle style,
                          std::stop_token stop = {}) const override;
    std::string answer(std::string_view question, std::string_view content,
                       std::stop_token stop = {}) const override;
    std::string smartFilename(const FilenameRequest& request, std::stop_token stop = {}) const override;
    void testConnection(std::stop_token stop = {}) const override;

    // One exchange: the reply's content, trimmed. Throws TessellarError or Cancelled.
    std::string complete(std::string_view system, std::string_view user, bool json,
                         std::stop_token stop) const;

    // Pure pieces of the exchange, exposed for the tests.
    static std::string endpoint(const Url& baseURL);
    static std::string requestBody(std::string_view model, std::string_view system, std::string_view user,
                                   bool json);
    static std::optional<long long> retryAfterSeconds(std::optional<std::string_view> header);
    static std::string cleanedFilename(std::string_view reply, const FilenameRequest& request);
    // The content of the first choice of a chat-completions reply, trimmed.
    static std::string replyContent(std::string_view body);
    // Whether the host is this machine ("localhost", 127.0.0.0/8, ::1).
    static bool isLoopbackHost(std::string_view host);
    // Whether requests may go to this base: https anywhere, http only on a loopback host.
    static bool isAllowedBase(const Url& baseURL);

    static constexpr std::string_view insecureBaseMessage =
        "The AI provider\u2019s address must start with https:// (http:// only for a server on this "
        "computer).";

private:
    Configuration configuration_;
};

} // namespace tessellar
