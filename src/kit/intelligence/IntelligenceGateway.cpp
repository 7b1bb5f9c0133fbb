#include "kit/intelligence/IntelligenceGateway.h"

#include "kit/intelligence/MockIntelligenceProvider.h"
#include "kit/intelligence/OpenAICompatibleProvider.h"
#include "kit/model/TessellarError.h"
#include "kit/text/StringHelpers.h"

#include <array>

namespace tessellar {

using ProviderKind = IntelligenceGateway::ProviderKind;

bool IntelligenceGateway::hasUsableKey(const Settings& settings) {
    // A server on this machine needs no key; anything else without one falls back silently.
    return !isBlank(settings.apiKey) || (OpenAICompatibleProvider::isAllowedBase(settings.baseURL) &&
                                         OpenAICompatibleProvider::isLoopbackHost(settings.baseURL.host()));
}

std::shared_ptr<const IntelligenceProvider> IntelligenceGateway::providerFor(const Settings& settings) {
    if (settings.providerKind == ProviderKind::onDevice || !hasUsableKey(settings))
        return std::make_shared<MockIntelligenceProvider>();
    return std::make_shared<OpenAICompatibleProvider>(OpenAICompatibleProvider::Configuration{
        settings.baseURL, settings.model, settings.apiKey, requestTimeout});
}

void IntelligenceGateway::update(Settings settings) {
    std::lock_guard lock(mutex_);
    if (!settings.hasGrantedConsent)
        sessionConsentGranted_ = false;
    settings_ = std::move(settings);
}

IntelligenceGateway::Settings IntelligenceGateway::currentSettings() const {
    std::lock_guard lock(mutex_);
    return settings_;
}

void IntelligenceGateway::setConsentPersistence(std::function<void()> onConsentGranted) {
    std::lock_guard lock(mutex_);
    onConsentGranted_ = std::move(onConsentGranted);
}

std::shared_ptr<const IntelligenceProvider> IntelligenceGateway::provider() const {
    return providerFor(currentSettings());
}

bool IntelligenceGateway::isExternalAIReady() const {
    const Settings settings = currentSettings();
    return settings.providerKind == ProviderKind::openAICompatible && hasUsableKey(settings) &&
           settings.hasGrantedConsent;
}

std::shared_ptr<const IntelligenceProvider>
IntelligenceGateway::secureConsent(std::string_view summary, const ConsentPrompt& askConsent) {
    std::shared_ptr<const IntelligenceProvider> active;
    bool mustAsk = false;
    {
        std::lock_guard lock(mutex_);
        active = providerFor(settings_);
        mustAsk = active->sendsDataOffDevice() && !settings_.hasGrantedConsent && !sessionConsentGranted_;
    }
    if (!mustAsk)
        return active;

    // Asked without the lock: other gateway calls go on while the user decides.
    if (!askConsent || !askConsent(std::string(summary), active->displayName()))
        throw Cancelled();

    std::function<void()> callback;
    {
        std::lock_guard lock(mutex_);
        sessionConsentGranted_ = true;
        settings_.hasGrantedConsent = true;
        callback = onConsentGranted_;
    }
    if (callback)
        callback();
    return active;
}

void IntelligenceGateway::testConnection(std::stop_token stop) const {
    provider()->testConnection(stop);
}

namespace provider_kind {

std::span<const ProviderKind> allCases() {
    static constexpr std::array cases{ProviderKind::onDevice, ProviderKind::openAICompatible};
    return cases;
}

std::string_view rawValue(ProviderKind kind) {
    return kind == ProviderKind::onDevice ? "onDevice" : "openAICompatible";
}

std::string_view displayName(ProviderKind kind) {
    return kind == ProviderKind::onDevice ? "On this Mac only" : "OpenAI-compatible API";
}

std::optional<ProviderKind> fromRaw(std::string_view raw) {
    for (const ProviderKind kind : allCases())
        if (rawValue(kind) == raw)
            return kind;
    return std::nullopt;
}

} // namespace provider_kind
} // namespace tessellar
