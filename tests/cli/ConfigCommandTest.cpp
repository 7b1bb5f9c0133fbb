#include "support/TempDir.h"

#include <array>
#include <cstdio>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/wait.h>

namespace tessellar {
namespace {

namespace fs = std::filesystem;

fs::path cliPath() {
    return fs::read_symlink("/proc/self/exe").parent_path().parent_path() / "src" / "cli" / "tessellar-cli";
}

struct Outcome {
    int status = -1;
    std::string output; // standard output and error together
};

// Runs tessellar-cli with its settings under `home` and no reachable keyring.
Outcome cli(const testing::TempDir& home, const std::string& arguments, const std::string& input = "") {
    const fs::path stdinFile = home / "stdin";
    std::ofstream(stdinFile) << input;
    const std::string command =
        "env HOME='" + home.path().string() + "' XDG_CONFIG_HOME='" + (home / "config").string() +
        "' DBUS_SESSION_BUS_ADDRESS=unix:path=" + (home / "no-bus").string() + " DISPLAY= '" +
        cliPath().string() + "' " + arguments + " <'" + stdinFile.string() + "' 2>&1";
    Outcome outcome;
    FILE* pipe = ::popen(command.c_str(), "r");
    std::array<char, 4096> buffer{};
    for (std::size_t n; (n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0;)
        outcome.output.append(buffer.data(), n);
    outcome.status = WEXITSTATUS(::pclose(pipe));
    return outcome;
}

std::string settingsFile(const testing::TempDir& home) {
    std::ifstream in(home / "config" / "tessellar" / "tessellar.conf");
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(ConfigCommand, SetsAndReadsSettingsInTheSettingsFile) {
    testing::TempDir home;
    EXPECT_EQ(cli(home, "config get general.retentionDays").output, "30\n");
    EXPECT_EQ(cli(home, "config set general.retentionDays 90").status, 0);
    EXPECT_EQ(cli(home, "config set ai.providerKind openAICompatible").status, 0);
    EXPECT_EQ(cli(home, "config set ai.baseURL http://localhost:11434/v1").status, 0);
    EXPECT_EQ(cli(home, "config set general.shortcut '{\"keyCode\":0,\"modifiers\":4352}'").status, 0);
    EXPECT_EQ(cli(home, "config get general.retentionDays").output, "90\n");
    EXPECT_EQ(cli(home, "config get ai.baseURL").output, "http://localhost:11434/v1\n");
    const std::string file = settingsFile(home);
    EXPECT_NE(file.find("general.retentionDays=90\n"), std::string::npos);
    EXPECT_NE(file.find("ai.providerKind=openAICompatible\n"), std::string::npos);
    EXPECT_NE(cli(home, "config list").output.find("general.shortcut={\"keyCode\":0,\"modifiers\":4352}\n"),
              std::string::npos);
}

TEST(ConfigCommand, RefusesBadKeysAndValuesWithoutWriting) {
    testing::TempDir home;
    const auto refused = [&](const std::string& arguments, const std::string& message) {
        const Outcome outcome = cli(home, arguments);
        EXPECT_EQ(outcome.status, 2) << arguments;
        EXPECT_EQ(outcome.output.rfind("tessellar-cli: " + message + "\n", 0), 0u) << outcome.output;
    };
    refused("config set general.retentionDays soon", "general.retentionDays: expects a whole number");
    refused("config set general.launchAtLogin yes", "general.launchAtLogin: expects true or false");
    refused("config set ai.providerKind cloud", "ai.providerKind: expects onDevice or openAICompatible");
    refused("config set ai.baseURL http://api.example.com/v1",
            "ai.baseURL: The AI provider\u2019s address must start with https:// (http:// only for a server "
            "on this "
            "computer).");
    refused("config set general.shortcut '{\"keyCode\":1}'",
            "general.shortcut: expects {\"keyCode\": N, \"modifiers\": N}");
    refused("config get ai.apiKey", "unknown setting ai.apiKey");
    refused("config set-key sk-on-the-command-line",
            "set-key reads the key from standard input, not from the command line");
    EXPECT_FALSE(fs::exists(home / "config" / "tessellar" / "tessellar.conf"));
}

TEST(ConfigCommand, AKeyThatCannotBeSavedIsNeverWrittenInPlainText) {
    testing::TempDir home;
    cli(home, "config set ai.model tiny");
    const Outcome outcome = cli(home, "config set-key", "  sk-from-stdin  \n");
    EXPECT_EQ(outcome.status, 1);
    EXPECT_NE(outcome.output.find(
                  "tessellar-cli: Tessellar couldn\u2019t save the API key because no keyring (Secret "
                  "Service) is available, so AI stays on this computer.\n"),
              std::string::npos);
    EXPECT_EQ(outcome.output.find("sk-from-stdin"), std::string::npos);
    for (const auto& entry : fs::recursive_directory_iterator(home.path())) {
        if (!entry.is_regular_file() || entry.path().filename() == "stdin")
            continue;
        std::ifstream in(entry.path());
        const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        EXPECT_EQ(bytes.find("sk-from-stdin"), std::string::npos) << entry.path();
    }
    // With no key the configured service falls back to the on-device provider.
    cli(home, "config set ai.providerKind openAICompatible");
    const Outcome test = cli(home, "config test");
    EXPECT_EQ(test.status, 0);
    EXPECT_NE(test.output.find("On-device (no key): connection works.\n"), std::string::npos);
}

} // namespace
} // namespace tessellar
