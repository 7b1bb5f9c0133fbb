#include "desktop/LibsecretSecretStore.h"

#include "kit/storage/SecureStore.h"
#include "support/LogCapture.h"
#include "support/ScopedEnvironment.h"
#include "support/TempDir.h"

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>

namespace tessellar {
namespace {

namespace fs = std::filesystem;

// A private session bus with an unlocked keyring for the whole suite, so the user's own
// keyring is never touched. Skips the suite, saying why, where the daemon cannot start.
class LibsecretSecretStoreTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder = new testing::TempDir();
        const fs::path script = fs::path(TESSELLAR_TESTS_DIR) / "desktop" / "start-private-keyring.sh";
        const std::string command = "sh '" + script.string() + "' '" + folder->path().string() + "' 2>'" +
                                    (folder->path() / "reason").string() + "'";
        if (std::system(command.c_str()) != 0) {
            std::ifstream reason(folder->path() / "reason");
            std::getline(reason, skipReason);
            skipReason = "no private Secret Service could be started: " + skipReason;
            return;
        }
        std::ifstream env(folder->path() / "env");
        for (std::string line; std::getline(env, line);) {
            const auto equals = line.find('=');
            const std::string name = line.substr(0, equals), value = line.substr(equals + 1);
            if (name == "DBUS_PID")
                busPid = std::stoi(value);
            else
                ::setenv(name.c_str(), value.c_str(), 1);
        }
    }
    static void TearDownTestSuite() {
        if (busPid > 0)
            ::kill(busPid, SIGTERM);
        delete folder;
        folder = nullptr;
    }
    void SetUp() override {
        if (!skipReason.empty())
            GTEST_SKIP() << skipReason;
    }

    static inline testing::TempDir* folder = nullptr;
    static inline std::string skipReason;
    static inline pid_t busPid = -1;
};

constexpr const char* testService = "org.tessellar.Tessellar.Tests";

TEST_F(LibsecretSecretStoreTest, StoresReplacesAndDeletesOneItem) {
    const auto secrets = std::make_shared<LibsecretSecretStore>();
    const SecureStore store(secrets, testService, "ai-api-key");
    store.deleteAPIKey();
    EXPECT_EQ(store.readAPIKey(), std::nullopt);
    EXPECT_EQ(secrets->remove(testService, "ai-api-key"), SecretStore::Status::notFound);

    EXPECT_TRUE(store.writeAPIKey("sk-first"));
    EXPECT_TRUE(store.writeAPIKey("sk-second \u00e9"));
    // A fresh store reads it back from the service: nothing is kept in the process.
    EXPECT_EQ(SecureStore(std::make_shared<LibsecretSecretStore>(), testService, "ai-api-key").readAPIKey(),
              "sk-second \u00e9");
    const SecureStore other(secrets, testService, "other-account");
    EXPECT_EQ(other.readAPIKey(), std::nullopt);

    EXPECT_TRUE(store.writeAPIKey(""));
    EXPECT_EQ(store.readAPIKey(), std::nullopt);
    EXPECT_EQ(secrets->lookup(testService, "ai-api-key").status, SecretStore::Status::notFound);
}

TEST(LibsecretSecretStore, WithoutASecretServiceNothingIsStored) {
    testing::TempDir home;
    testing::ScopedEnvironment bus("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + (home / "no-bus").string());
    testing::ScopedEnvironment display("DISPLAY", "");
    testing::LogCapture log;
    const auto secrets = std::make_shared<LibsecretSecretStore>();
    EXPECT_EQ(secrets->store(testService, "absent", "sk-nowhere"), SecretStore::Status::unavailable);
    EXPECT_EQ(secrets->lookup(testService, "absent").status, SecretStore::Status::unavailable);
    EXPECT_FALSE(SecureStore(secrets, testService, "absent").writeAPIKey("sk-nowhere"));
    for (const auto& record : log.records())
        EXPECT_EQ(record.message.find("sk-nowhere"), std::string::npos);
    EXPECT_TRUE(fs::is_empty(home.path()));
}

} // namespace
} // namespace tessellar
