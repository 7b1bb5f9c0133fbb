#pragma once

#include "kit/base/Url.h"
#include "kit/intelligence/IntelligenceProvider.h"

#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <stop_token>
#include <string>
#include <string_view>

namespace tessellar {

// Asks the user whether content may leave the machine: (what is sent, the provider's
// display name) -> the answer. The app shows its consent sheet; the CLI asks on the terminal.
using ConsentPrompt = std::function<bool(const std::string& summary, const std::string& providerName)>;

// The one place that knows which provider is active and whether the user agreed to content
// leaving the machine. The lock guards the settings and the session consent only; it is
// never held while asking the user or while a provider works.
class IntelligenceGateway {
public:
    enum class ProviderKind { onDevice, openAICompatible };

    struct Settings {
        ProviderKind providerKind = ProviderKind::onDevice;
        Url baseURL;
        std::string model;
        std::string apiKey;
        bool hasGrantedConsent = false;

        bool operator==(const Settings&) const = default;
    };

    static constexpr double requestTimeout = 20; // seconds

    explicit IntelligenceGateway(Settings settings) : settings_(std::move(settings)) {}

    // Replaces the settings; turning consent off also revokes a consent given this session.
    void update(Settings settings);
    Settings currentSettings() const;
    // Called (on the calling worker thread) each time the user grants consent.
    void setConsentPersistence(std::function<void()> onConsentGranted);

    // The active provider, built anew on every call.
    std::shared_ptr<const IntelligenceProvider> provider() const;
    std::string providerDisplayName() const { return provider()->displayName(); }
    // Whether AI may run without asking: an external provider that can be used, with
    // consent stored in the settings (a consent given only this session does not count).
    bool isExternalAIReady() const;

    // Runs `body(provider)` after securing consent for an off-device provider. A declined
    // consent throws Cancelled and `body` is not called; failures of `body` pass through.
    template <class Body> auto run(std::string_view summary, const ConsentPrompt& askConsent, Body&& body) {
        const auto active = secureConsent(summary, askConsent);
        return std::forward<Body>(body)(*active);
    }

    // Tests the active provider without asking for consent.
    void testConnection(std::stop_token stop = {}) const;

    // Whether the external provider can be used: it has a key, or its base is a server on this
    // machine, which needs none.
    static bool hasUsableKey(const Settings& settings);

private:
    std::shared_ptr<const IntelligenceProvider> secureConsent(std::string_view summary,
                                                              const ConsentPrompt& askConsent);
    static std::shared_ptr<const IntelligenceProvider> providerFor(const Settings& settings);

    mutable std::mutex mutex_;
    Settings settings_;
    bool sessionConsentGranted_ = false;
    std::function<void()> onConsentGranted_;
};

namespace provider_kind {
std::span<const IntelligenceGateway::ProviderKind> allCases();
std::string_view rawValue(IntelligenceGateway::ProviderKind kind);
std::string_view displayName(IntelligenceGateway::ProviderKind kind);
std::optional<IntelligenceGateway::ProviderKind> fromRaw(std::string_view raw);
} // namespace provider_kind

} // namespace tessellar
