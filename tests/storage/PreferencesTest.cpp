#include "kit/storage/Preferences.h"

#include "kit/intelligence/OpenAICompatibleProvider.h"
#include "support/Fixtures.h"
#include "support/InMemoryKeyValueStore.h"
#include "support/InMemorySecretStore.h"
#include "support/LogCapture.h"

#include <gtest/gtest.h>

namespace tessellar {
namespace {

using testing::InMemoryKeyValueStore;
using testing::InMemorySecretStore;
using Shortcut = Preferences::Shortcut;
using Key = Preferences::Key;

std::vector<std::uint8_t> bytes(std::string_view text) {
    return {text.begin(), text.end()};
}

struct Stores {
    std::shared_ptr<InMemoryKeyValueStore> defaults = std::make_shared<InMemoryKeyValueStore>();
    std::shared_ptr<InMemorySecretStore> secrets = std::make_shared<InMemorySecretStore>();
    Preferences open() const { return Preferences(defaults, SecureStore(secrets), "/home/ann"); }
};

// What a missing or unreadable value falls back to.
void expectDefaults(const Preferences& preferences) {
    EXPECT_FALSE(preferences.launchAtLogin());
    EXPECT_EQ(preferences.retentionDays(), 30);
    EXPECT_EQ(preferences.shortcut(), Shortcut::optionSpace());
    const auto factory = preferences.destinations();
    ASSERT_EQ(factory.size(), FolderDestination::defaults("/home/ann").size());
    EXPECT_EQ(factory.front().path.rfind("/home/ann/", 0), 0u);
    EXPECT_EQ(preferences.providerKind(), Preferences::ProviderKind::onDevice);
    EXPECT_EQ(preferences.providerBaseURL(), OpenAICompatibleProvider::Configuration::defaultBaseURL());
}

TEST(Preferences, MissingValuesTakeTheirDefaultsWithoutWritingThem) {
    Stores stores;
    const Preferences preferences = stores.open();
    expectDefaults(preferences);
    EXPECT_FALSE(preferences.hasCompletedWelcome());
    EXPECT_TRUE(preferences.grantedFolders().empty());
    EXPECT_EQ(preferences.providerModel(), "gpt-4o-mini");
    EXPECT_FALSE(preferences.hasGrantedAIConsent());
    EXPECT_EQ(preferences.apiKey(), "");
    EXPECT_EQ(stores.defaults->writes(), 0u);

    // Unreadable values fall back one by one.
    stores.defaults->setString(Key::retentionDays, "thirty");
    stores.defaults->setData(Key::shortcut, bytes("{\"keyCode\": 0}"));
    stores.defaults->setData(Key::destinations, bytes("[{\"name\": 3}]"));
    stores.defaults->setString(Key::providerKind, "cloud");
    stores.defaults->setString(Key::baseURL, "not a url");
    stores.defaults->setInteger(Key::launchAtLogin, 1);
    stores.defaults->setString(Key::model, "llama-3");
    stores.defaults->setBoolean(Key::aiConsent, true);
    const Preferences unreadable = stores.open();
    expectDefaults(unreadable);
    EXPECT_EQ(unreadable.providerModel(), "llama-3");
    EXPECT_TRUE(unreadable.hasGrantedAIConsent());

    stores.defaults->setInteger(Key::retentionDays, 0);
    stores.defaults->setData(Key::shortcut, bytes(R"({"keyCode":0,"modifiers":4352})"));
    EXPECT_EQ(stores.open().retentionDays(), 0);
    EXPECT_EQ(stores.open().shortcut(), (Shortcut{0, 4352}));
}

TEST(Preferences, WritesGoThroughInTheirStoredFormsAndNotifyOnChange) {
    Stores stores;
    Preferences preferences = stores.open();
    std::vector<std::string> changed;
    const int token = preferences.addObserver([&](std::string_view key) { changed.emplace_back(key); });

    preferences.setRetentionDays(7);
    preferences.setRetentionDays(7);
    preferences.setShortcut({0, Shortcut::carbonCommand});
    preferences.setProviderKind(Preferences::ProviderKind::openAICompatible);
    preferences.setProviderBaseURL(*Url::parse("http://localhost:8080/v1"));
    preferences.setHasGrantedAIConsent(true);
    EXPECT_EQ(changed, (std::vector<std::string>{"general.retentionDays", "general.shortcut",
                                                 "ai.providerKind", "ai.baseURL", "privacy.aiConsent"}));
    EXPECT_EQ(stores.defaults->integer(Key::retentionDays), 7);
    EXPECT_EQ(stores.defaults->string(Key::providerKind), "openAICompatible");
    EXPECT_EQ(stores.defaults->string(Key::baseURL), "http://localhost:8080/v1");

    preferences.removeObserver(token);
    preferences.setLaunchAtLogin(true);
    EXPECT_EQ(changed.size(), 5u);
    const Preferences reopened = stores.open();
    EXPECT_TRUE(reopened.launchAtLogin());
    EXPECT_EQ(reopened.shortcut(), (Shortcut{0, Shortcut::carbonCommand}));
    EXPECT_EQ(
        reopened.intelligenceSettings(),
        (IntelligenceGateway::Settings{Preferences::ProviderKind::openAICompatible,
                                       *Url::parse("http://localhost:8080/v1"), "gpt-4o-mini", "", true}));
}

TEST(Preferences, TheKeyGoesToTheSecretStoreTrimmedAndNeverToTheSettings) {
    Stores stores;
    Preferences preferences = stores.open();
    preferences.setProviderKind(Preferences::ProviderKind::openAICompatible);
    EXPECT_FALSE(preferences.usesExternalAI());
    EXPECT_TRUE(preferences.setAPIKey("  sk-secret  "));
    EXPECT_EQ(preferences.apiKey(), "  sk-secret  ");
    EXPECT_TRUE(preferences.usesExternalAI()); // consent is not considered
    EXPECT_EQ(stores.open().apiKey(), "sk-secret");
    for (const char* key : {"ai.apiKey", "general.retentionDays", "ai.model"})
        EXPECT_FALSE(stores.defaults->raw(key)) << key;

    // Without a secret service the key stays in memory for this run only.
    stores.secrets->failWith(SecretStore::Status::unavailable);
    EXPECT_FALSE(preferences.setAPIKey("sk-other"));
    EXPECT_EQ(preferences.apiKey(), "sk-other");
    EXPECT_EQ(stores.open().apiKey(), "");
}

TEST(Preferences, GrantsAreReplacedByPath) {
    Stores stores;
    Preferences preferences = stores.open();
    preferences.rememberGrant("/data/a", "A", std::vector<std::uint8_t>{1});
    preferences.rememberGrant("/data/b", "B", std::nullopt);
    const Uuid firstID = preferences.grantedFolders().front().id;
    preferences.rememberGrant("/data/a", "A", std::vector<std::uint8_t>{2});
    const auto grants = preferences.grantedFolders();
    ASSERT_EQ(grants.size(), 2u);
    EXPECT_EQ(grants[0].path, "/data/b");
    EXPECT_EQ(grants[1].path, "/data/a");
    EXPECT_NE(grants[1].id, firstID);
    EXPECT_EQ(preferences.grantedBookmark("/data/a"), std::vector<std::uint8_t>{2});
    EXPECT_EQ(preferences.grantedBookmark("/data/b"), std::nullopt);
    EXPECT_EQ(preferences.grantedBookmark("/data"), std::nullopt);
    EXPECT_EQ(stores.open().grantedFolders(), grants);
}

TEST(Shortcut, DisplaysAndConvertsModifiers) {
    using testing::Row;
    const auto shortcut = [](const Row& c) {
        return Shortcut{std::uint32_t(std::stoul(c[1])), std::uint32_t(std::stoul(c[2]))};
    };
    EXPECT_GE(testing::checkTable(
                  testing::fixture("tables/shortcuts.tsv"),
                  {{"display", [&](const Row& c) { return shortcut(c).displayString(); }},
                   {"menuKey", [&](const Row& c) { return testing::shown(shortcut(c).menuKeyEquivalent()); }},
                   {"modifiers",
                    [&](const Row& c) { return Shortcut::modifierDisplayString(shortcut(c).modifiers); }},
                   {"registerable",
                    [&](const Row& c) { return testing::shown(shortcut(c).hasRegisterableModifier()); }}}),
              14);
    const std::uint64_t flags = (1u << 20) | (1u << 17) | (1u << 16);
    EXPECT_EQ(Shortcut::carbonModifiers(flags), 0x100u | 0x200u);
    EXPECT_EQ(Shortcut::cocoaModifiers(0x800 | 0x1000), (1u << 19) | (1u << 18));
    EXPECT_EQ(Shortcut::fromJSON((Shortcut{12, 0x900}).toJSON()), (Shortcut{12, 0x900}));
}

TEST(SecureStore, StoresTheTrimmedKeyInOneItem) {
    const auto secrets = std::make_shared<InMemorySecretStore>();
    const SecureStore store(secrets);
    EXPECT_EQ(store.service(), "org.tessellar.Tessellar");
    EXPECT_EQ(store.account(), "ai-api-key");
    EXPECT_EQ(store.readAPIKey(), std::nullopt);
    EXPECT_TRUE(store.deleteAPIKey()); // nothing there is no failure

    EXPECT_TRUE(store.writeAPIKey("  abc  "));
    EXPECT_EQ(store.readAPIKey(), "abc");
    EXPECT_TRUE(store.writeAPIKey("abc"));
    EXPECT_TRUE(store.writeAPIKey("xyz"));
    EXPECT_EQ(secrets->itemCount(), 1u);
    EXPECT_EQ(store.readAPIKey(), "xyz");

    const SecureStore other(secrets, "org.tessellar.Tessellar", "other-account");
    EXPECT_EQ(other.readAPIKey(), std::nullopt);
    EXPECT_TRUE(other.writeAPIKey("o"));
    EXPECT_EQ(store.readAPIKey(), "xyz");

    EXPECT_TRUE(store.writeAPIKey(" \n\t"));
    EXPECT_EQ(store.readAPIKey(), std::nullopt);
    EXPECT_EQ(other.readAPIKey(), "o");
}

TEST(SecureStore, FailuresAreSwallowedAndNeverLogTheKey) {
    const auto secrets = std::make_shared<InMemorySecretStore>();
    const SecureStore store(secrets);
    store.writeAPIKey("sk-before");
    secrets->failWith(SecretStore::Status::unavailable);
    testing::LogCapture log;
    EXPECT_FALSE(store.writeAPIKey("sk-very-secret"));
    EXPECT_EQ(store.readAPIKey(), std::nullopt);
    EXPECT_FALSE(store.deleteAPIKey());
    ASSERT_FALSE(log.records().empty());
    for (const auto& record : log.records())
        EXPECT_EQ(record.message.find("sk-"), std::string::npos) << record.message;
    EXPECT_TRUE(
        log.contains(Log::Category::storage, Log::Level::error, "API key write failed: no secret service"));

    secrets->failWith(SecretStore::Status::ok);
    EXPECT_EQ(store.readAPIKey(), "sk-before"); // the failed write left the old key
    EXPECT_EQ(SecureStore::unavailableMessage().rfind("Tessellar couldn\u2019t save the API key", 0), 0u);
}

} // namespace
} // namespace tessellar
