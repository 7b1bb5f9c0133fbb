#include "support/CliRunner.h"
#include "support/TempDir.h"

#include <fstream>
#include <gtest/gtest.h>

namespace tessellar {
namespace {

namespace fs = std::filesystem;
using testing::shellQuoted;

// Runs tessellar-cli with its settings under a fresh home and no reachable keyring.
class ConfigCommand : public ::testing::Test {
protected:
    testing::CliOutcome cli(const std::vector<std::string>& arguments, const std::string& input = "") {
        std::ofstream(home / "stdin") << input;
        return testing::runCli(arguments, home / "stdin", home.path(),
                               "env HOME=" + shellQuoted(home.path().string()) +
                                   " XDG_CONFIG_HOME=" + shellQuoted((home / "config").string()) +
                                   " DBUS_SESSION_BUS_ADDRESS=unix:path=" +
                                   shellQuoted((home / "no-bus").string()) + " DISPLAY=");
    }
    fs::path settingsFile() const { return home / "config" / "tessellar" / "tessellar.conf"; }

    testing::TempDir home;
};

TEST_F(ConfigCommand, SetsAndReadsSettingsInTheSettingsFile) {
    EXPECT_EQ(cli({"config", "get", "general.retentionDays"}).out, "30\n");
    for (const auto& [key, value] : std::vector<std::pair<std::string, std::string>>{
             {"general.retentionDays", "90"},
             {"ai.providerKind", "openAICompatible"},
             {"ai.baseURL", "http://localhost:11434/v1"},
             {"general.shortcut", R"({"keyCode":0,"modifiers":4352})"}})
        EXPECT_EQ(cli({"config", "set", key, value}).status, 0) << key;
    EXPECT_EQ(cli({"config", "get", "general.retentionDays"}).out, "90\n");
    EXPECT_EQ(cli({"config", "get", "ai.baseURL"}).out, "http://localhost:11434/v1\n");
    const std::string file = testing::readFile(settingsFile());
    EXPECT_NE(file.find("general.retentionDays=90\n"), std::string::npos);
    EXPECT_NE(file.find("ai.providerKind=openAICompatible\n"), std::string::npos);
    EXPECT_NE(cli({"config", "list"}).out.find("general.shortcut={\"keyCode\":0,\"modifiers\":4352}\n"),
              std::string::npos);
}

TEST_F(ConfigCommand, AKeyThatCannotBeSavedIsNeverWrittenInPlainText) {
    cli({"config", "set", "ai.model", "tiny"});
    const auto outcome = cli({"config", "set-key"}, "  sk-from-stdin  \n");
    EXPECT_EQ(outcome.status, 1);
    EXPECT_NE(
        outcome.err.find("tessellar-cli: Tessellar couldn\u2019t save the API key because no keyring (Secret "
                         "Service) is available, so AI stays on this computer.\n"),
        std::string::npos);
    for (const auto& entry : fs::recursive_directory_iterator(home.path()))
        if (entry.is_regular_file() && entry.path().filename() != "stdin") {
            EXPECT_EQ(testing::readFile(entry.path()).find("sk-from-stdin"), std::string::npos)
                << entry.path();
        }
    // With no key the configured service falls back to the on-device provider.
    cli({"config", "set", "ai.providerKind", "openAICompatible"});
    const auto test = cli({"config", "test"});
    EXPECT_EQ(test.status, 0);
    EXPECT_NE((test.out + test.err).find("On-device (no key): connection works.\n"), std::string::npos);
}

} // namespace
} // namespace tessellar
