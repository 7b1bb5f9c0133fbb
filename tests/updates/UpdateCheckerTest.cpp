#include "kit/updates/UpdateChecker.h"

#include "support/ScriptedHttpServer.h"
#include "support/TempDir.h"

#include <fstream>
#include <gtest/gtest.h>

namespace tessellar {
namespace {

using testing::ScriptedHttpServer;

const std::string formatMessage = "The update listing wasn\u2019t in a format Tessellar could read.";

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

    static std::string failure(const UpdateCheckResult& result) {
        const auto* failed = std::get_if<UpdateCheckResult::Failed>(&result.value);
        return failed ? failed->message : "not a failure";
    }
};

TEST_F(UpdateCheckerTest, ComparesTheListedVersionWithOurs) {
    server.respond(200,
                   R"({"version":"1.3.0","downloadURL":"https://example.org/get","releaseNotes":"Faster."})");
    const auto newer = check();
    const auto* available = std::get_if<UpdateCheckResult::UpdateAvailable>(&newer.value);
    ASSERT_TRUE(available);
    EXPECT_EQ(available->manifest.version.description(), "1.3.0");
    EXPECT_EQ(available->manifest.downloadURL.absoluteString(), "https://example.org/get");
    EXPECT_EQ(available->manifest.releaseNotes, "Faster.");

    const auto requests = server.requests();
    ASSERT_FALSE(requests.empty());
    EXPECT_EQ(requests.back()["method"], "GET");
    EXPECT_EQ(requests.back()["path"], "/updates/latest.json");
    EXPECT_EQ(requests.back()["headers"]["Accept"], "application/json");

    server.respond(200, R"({"version":"1.2.0","downloadURL":"https://example.org/get"})");
    EXPECT_EQ(check(), (UpdateCheckResult{UpdateCheckResult::UpToDate{*SemanticVersion::parse("1.2.0")}}));
    // Our pre-release is older than the release of the same number.
    EXPECT_TRUE(std::holds_alternative<UpdateCheckResult::UpdateAvailable>(check("1.2.0-beta.1").value));
    EXPECT_TRUE(std::holds_alternative<UpdateCheckResult::UpToDate>(check("1.10.0").value));
}

TEST_F(UpdateCheckerTest, ANewerVersionOurSystemCannotRunIsNotOffered) {
    server.respond(
        200, R"({"version":"2.0.0","downloadURL":"https://example.org/get","minimumSystemVersion":"13.1"})");
    EXPECT_EQ(check("1.2.0", SemanticVersion::parse("12.0.0")),
              (UpdateCheckResult{UpdateCheckResult::UpToDate{*SemanticVersion::parse("1.2.0")}}));
    EXPECT_TRUE(std::holds_alternative<UpdateCheckResult::UpdateAvailable>(
        check("1.2.0", SemanticVersion::parse("13.1.0")).value));
    EXPECT_TRUE(
        std::holds_alternative<UpdateCheckResult::UpdateAvailable>(check("1.2.0", std::nullopt).value))
        << "an unknown system version does not hold the update back";
}

TEST_F(UpdateCheckerTest, BadListingsGiveTheirOwnSentence) {
    // The listing's own sentences come from decoding it; one stands for all here.
    server.respond(200, R"({"version":"v2","downloadURL":"https://example.org/get"})");
    EXPECT_EQ(failure(check()),
              "The update listing names a version Tessellar can\u2019t read (\u201Cv2\u201D).");

    server.respond(200, "<html>maintenance</html>");
    EXPECT_EQ(failure(check()), formatMessage);

    // A listing padded to exactly the cap is read; one byte more is refused unread.
    const std::string listing = R"({"version":"1.2.0","downloadURL":"https://example.org/get"})";
    server.respond(200, listing + std::string(65'536 - listing.size(), ' '));
    EXPECT_TRUE(std::holds_alternative<UpdateCheckResult::UpToDate>(check().value));
    server.respond(200, listing + std::string(65'537 - listing.size(), ' '));
    EXPECT_EQ(failure(check()), formatMessage);
    // A huge body (64 MiB announced) stops at the cap too.
    server.script({{{"repeat", {{"text", std::string(1 << 20, ' ')}, {"count", 64}}}}});
    EXPECT_EQ(failure(check()), formatMessage);
}

TEST_F(UpdateCheckerTest, TransportProblemsAndStatuses) {
    server.script({{{"status", 200}, {"delay", 5}, {"body", "{}"}}});
    EXPECT_EQ(failure(check()), "The update check didn\u2019t get an answer in time.");

    server.respond(503, "busy");
    EXPECT_EQ(failure(check()), "The update address answered with an error (503).");

    // A redirect to plain http is not followed: the redirect itself is the answer.
    server.script({{{"status", 302}, {"headers", {{"Location", "http://127.0.0.1:1/latest.json"}}}}});
    EXPECT_EQ(failure(check()), "The update address answered with an error (302).");
    // A redirect that stays on https is followed (a fresh server: scripts count from its start).
    ScriptedHttpServer moved(true);
    moved.script({{{"status", 301}, {"headers", {{"Location", moved.url("/moved.json")}}}},
                  {{"status", 200}, {"body", R"({"version":"1.2.0","downloadURL":"https://e.org/"})"}}});
    UpdateChecker::Configuration configuration;
    configuration.manifestURL = moved.url("/latest.json");
    configuration.currentVersion = "1.2.0";
    configuration.certificateAuthorities = moved.certificateFile();
    EXPECT_TRUE(
        std::holds_alternative<UpdateCheckResult::UpToDate>(UpdateChecker(configuration).check().value));
    ASSERT_EQ(moved.requests().size(), 2u);
    EXPECT_EQ(moved.requests().back()["path"], "/moved.json");
}

TEST_F(UpdateCheckerTest, RefusesBeforeContactingAnything) {
    const auto before = server.requests().size();
    for (const char* ours : {"1.2", ""})
        EXPECT_EQ(failure(check(ours)),
                  "Tessellar couldn\u2019t read its own version number, so it can\u2019t "
                  "compare it to the latest one.");

    UpdateChecker::Configuration plain;
    plain.manifestURL = "http://127.0.0.1:" + std::to_string(server.port()) + "/updates/latest.json";
    plain.currentVersion = "1.0.0";
    EXPECT_EQ(failure(UpdateChecker(plain).check()),
              "The update address isn\u2019t an HTTPS address, so Tessellar didn\u2019t contact it.");
    EXPECT_EQ(server.requests().size(), before);

    // Without trusting the self-signed certificate the server is unreachable, not "insecure-but-fine".
    UpdateChecker::Configuration untrusted = plain;
    untrusted.manifestURL = server.url("/updates/latest.json");
    EXPECT_EQ(failure(UpdateChecker(untrusted).check()), "Tessellar couldn\u2019t reach the update address.");
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
