#include "kit/storage/SecureStore.h"

#include "support/InMemorySecretStore.h"
#include "support/LogCapture.h"

#include <gtest/gtest.h>

namespace tessellar {
namespace {

using testing::InMemorySecretStore;

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
