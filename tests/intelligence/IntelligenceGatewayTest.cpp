#include "kit/intelligence/IntelligenceGateway.h"

#include "kit/model/TessellarError.h"
#include "support/ActionCases.h"
#include "support/ScriptedHttpServer.h"

#include <gtest/gtest.h>

namespace tessellar {
namespace {

using Kind = IntelligenceGateway::ProviderKind;
using nlohmann::json;
using testing::ScriptedHttpServer;

const std::string okReply = testing::chatReply("A summary.");

IntelligenceGateway::Settings external(const std::string& base, std::string key, bool consent) {
    return {Kind::openAICompatible, *Url::parse(base), "tiny-model", std::move(key), consent};
}

// Counts the consent questions and answers them as told.
struct ScriptedConsent {
    bool answer = true;
    int asked = 0;
    std::string lastQuestion; // the summary, then the provider
    ConsentPrompt prompt() {
        return [this](const std::string& summary, const std::string& provider) {
            ++asked;
            lastQuestion = summary + " / " + provider;
            return answer;
        };
    }
};

std::string summarizeThrough(IntelligenceGateway& gateway, ScriptedConsent& consent) {
    return gateway.run("Summarize this text", consent.prompt(), [](const IntelligenceProvider& provider) {
        return provider.summarize("Some text to send.", SummaryStyle::oneLine);
    });
}

TEST(IntelligenceGateway, ChoosesTheProviderFromTheSettings) {
    IntelligenceGateway gateway(external("https://api.example.com/v1", "   ", true));
    EXPECT_EQ(gateway.provider()->identifier(), "local");
    EXPECT_FALSE(gateway.isExternalAIReady());
    ScriptedConsent consent;
    EXPECT_NO_THROW(summarizeThrough(gateway, consent));
    EXPECT_EQ(consent.asked, 0);

    gateway.update(external("https://api.example.com/v1", "sk-1", true));
    EXPECT_EQ(gateway.provider()->identifier(), "openai-compatible");
    EXPECT_EQ(gateway.providerDisplayName(), "AI provider (tiny-model)");
    EXPECT_TRUE(gateway.isExternalAIReady());

    // A model server on this machine needs no key.
    gateway.update(external("http://localhost:8080/v1", "", true));
    EXPECT_EQ(gateway.provider()->identifier(), "openai-compatible");
    EXPECT_TRUE(gateway.isExternalAIReady());

    auto onDevice = external("https://api.example.com/v1", "sk-1", true);
    onDevice.providerKind = Kind::onDevice;
    gateway.update(onDevice);
    EXPECT_EQ(gateway.providerDisplayName(), "On-device (no key)");
    EXPECT_FALSE(gateway.isExternalAIReady());
    EXPECT_NO_THROW(gateway.testConnection());
    EXPECT_EQ(gateway.currentSettings(), onDevice);
}

TEST(IntelligenceGateway, NoByteLeavesBeforeConsentAndANoCancels) {
    ScriptedHttpServer server;
    server.respond(200, okReply);
    IntelligenceGateway gateway(external(server.url("/v1"), "sk-1", false));
    int stored = 0;
    gateway.setConsentPersistence([&] { ++stored; });
    EXPECT_FALSE(gateway.isExternalAIReady());

    ScriptedConsent consent;
    consent.answer = false;
    bool bodyRan = false;
    EXPECT_THROW(gateway.run("Summarize this text", consent.prompt(),
                             [&](const IntelligenceProvider&) {
                                 bodyRan = true;
                                 return 0;
                             }),
                 Cancelled);
    EXPECT_FALSE(bodyRan);
    EXPECT_EQ(stored, 0);
    EXPECT_THROW(gateway.run("x", ConsentPrompt{}, [](const IntelligenceProvider&) { return 0; }), Cancelled);
    EXPECT_TRUE(server.requests().empty());

    // The next run asks again; a yes is remembered for the session and reported once.
    consent.answer = true;
    EXPECT_EQ(summarizeThrough(gateway, consent), "A summary.");
    EXPECT_EQ(consent.asked, 2);
    EXPECT_EQ(consent.lastQuestion, "Summarize this text / AI provider (tiny-model)");
    EXPECT_EQ(stored, 1);
    EXPECT_TRUE(gateway.isExternalAIReady());
    EXPECT_TRUE(gateway.currentSettings().hasGrantedConsent);
    summarizeThrough(gateway, consent);
    EXPECT_EQ(consent.asked, 2);
    EXPECT_EQ(server.requests().size(), 2u);

    // Turning consent off in the settings revokes the session's consent too.
    gateway.update(external(server.url("/v1"), "sk-1", false));
    consent.answer = false;
    EXPECT_THROW(summarizeThrough(gateway, consent), Cancelled);
    EXPECT_EQ(consent.asked, 3);
    EXPECT_EQ(server.requests().size(), 2u);
}

TEST(IntelligenceGateway, StoredConsentAsksNothingAndProviderFailuresPassThrough) {
    ScriptedHttpServer server;
    server.respond(401, "{}");
    IntelligenceGateway gateway(external(server.url("/v1"), "sk-1", true));
    ScriptedConsent consent;
    EXPECT_EQ(testing::thrownError([&] { summarizeThrough(gateway, consent); }).message(),
              "The AI provider rejected the API key.");
    EXPECT_EQ(consent.asked, 0);
    EXPECT_THROW(gateway.testConnection(), TessellarError);
}

TEST(IntelligenceGateway, ProviderKindsRoundTrip) {
    ASSERT_EQ(provider_kind::allCases().size(), 2u);
    EXPECT_EQ(provider_kind::rawValue(Kind::onDevice), "onDevice");
    EXPECT_EQ(provider_kind::displayName(Kind::onDevice), "On this Mac only");
    EXPECT_EQ(provider_kind::displayName(Kind::openAICompatible), "OpenAI-compatible API");
    for (const Kind kind : provider_kind::allCases())
        EXPECT_EQ(provider_kind::fromRaw(provider_kind::rawValue(kind)), kind);
    EXPECT_EQ(provider_kind::fromRaw("cloud"), std::nullopt);
}

} // namespace
} // namespace tessellar
