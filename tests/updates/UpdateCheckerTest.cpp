#include "kit/updates/UpdateChecker.h"

#include "support/Fixtures.h"
#include "support/ScriptedHttpServer.h"
#include "support/TempDir.h"

#include <fstream>
#include <gtest/gtest.h>

namespace tessellar {
namespace {

using testing::ScriptedHttpServer;

// Every exchange goes over real TLS to a local server whose self-signed certificate the
// checker is told to trust, as a feed behind a private CA would be.
class UpdateCheckerTest : public ::testing::Test {
protected:
    ScriptedHttpServer server{true};

    UpdateCheckResult check(std::string current = "1.2.0", std::optional<SemanticVersion> system = {}) {
        return UpdateChecker({server.url("/updates/latest.json"), std::move(current), system,
                              std::chrono::milliseconds(1500), server.certificateFile()})
            .check();
    }
};

// What a check came to, in words: up to date, available, or the failure's own sentence.
std::string outcome(const UpdateCheckResult& result) {
    if (const auto* current = std::get_if<UpdateCheckResult::UpToDate>(&result.value))
        return "up to date: " + current->current.description();
    if (const auto* available = std::get_if<UpdateCheckResult::UpdateAvailable>(&result.value))
        return "available: " + available->manifest.version.description();
    return std::get<UpdateCheckResult::Failed>(result.value).message;
}

// Each row of the fixture table: what the feed answers, our version and system, and the outcome.
TEST_F(UpdateCheckerTest, EachAnswerOfTheFeedHasItsOutcome) {
    for (const auto& row : testing::jsonFixture("updates-checks.json")) {
        server.script(row["responses"]);
        const auto system = SemanticVersion::parse(row.value("system", ""));
        EXPECT_EQ(outcome(check(row.value("version", "1.2.0"), system)), row["outcome"]) << row["name"];
    }
    const auto requests = server.requests();
    ASSERT_FALSE(requests.empty());
    EXPECT_EQ(requests.back()["method"], "GET");
    EXPECT_EQ(requests.back()["path"], "/updates/latest.json");
    EXPECT_EQ(requests.back()["headers"]["Accept"], "application/json");
}

TEST_F(UpdateCheckerTest, AListingOfExactlyTheCapIsReadAndOneByteMoreIsRefusedUnread) {
    const std::string listing = R"({"version":"1.2.0","downloadURL":"https://example.org/get"})";
    server.respond(200, listing + std::string(65'536 - listing.size(), ' '));
    EXPECT_EQ(outcome(check()), "up to date: 1.2.0");
    server.respond(200, listing + std::string(65'537 - listing.size(), ' '));
    EXPECT_EQ(outcome(check()), "The update listing wasn\u2019t in a format Tessellar could read.");
}

TEST_F(UpdateCheckerTest, ARedirectThatStaysOnHttpsIsFollowed) {
    // A fresh server: scripts count from its start.
    ScriptedHttpServer moved(true);
    moved.script({{{"status", 301}, {"headers", {{"Location", moved.url("/moved.json")}}}},
                  {{"status", 200}, {"body", R"({"version":"1.2.0","downloadURL":"https://e.org/"})"}}});
    UpdateChecker::Configuration configuration;
    configuration.manifestURL = moved.url("/latest.json");
    configuration.currentVersion = "1.2.0";
    configuration.certificateAuthorities = moved.certificateFile();
    EXPECT_EQ(outcome(UpdateChecker(configuration).check()), "up to date: 1.2.0");
    ASSERT_EQ(moved.requests().size(), 2u);
    EXPECT_EQ(moved.requests().back()["path"], "/moved.json");
}

TEST_F(UpdateCheckerTest, RefusesBeforeContactingAnything) {
    const auto before = server.requests().size();
    for (const char* ours : {"1.2", ""})
        EXPECT_EQ(outcome(check(ours)),
                  "Tessellar couldn\u2019t read its own version number, so it can\u2019t "
                  "compare it to the latest one.");

    UpdateChecker::Configuration plain;
    plain.manifestURL = "http://127.0.0.1:" + std::to_string(server.port()) + "/updates/latest.json";
    plain.currentVersion = "1.0.0";
    EXPECT_EQ(outcome(UpdateChecker(plain).check()),
              "The update address isn\u2019t an HTTPS address, so Tessellar didn\u2019t contact it.");
    EXPECT_EQ(server.requests().size(), before);

    // Without trusting the self-signed certificate the server is unreachable, not "insecure-but-fine".
    UpdateChecker::Configuration untrusted = plain;
    untrusted.manifestURL = server.url("/updates/latest.json");
    EXPECT_EQ(outcome(UpdateChecker(untrusted).check()), "Tessellar couldn\u2019t reach the update address.");
}

TEST(UpdateCheckerSystem, ReadsTheVersionOfTheRunningSystem) {
    testing::TempDir folder;
    const auto file = folder / "os-release";
    std::ofstream(file) << "NAME=\"Debian GNU/Linux\"\nVERSION_ID=\"12\"\n";
    EXPECT_EQ(UpdateChecker::currentSystemVersion(file.string()), SemanticVersion::parse("12.0.0"));
    std::ofstream(file) << "NAME=Arch\n";
    EXPECT_FALSE(UpdateChecker::currentSystemVersion(file.string()));
}

} // namespace
} // namespace tessellar
