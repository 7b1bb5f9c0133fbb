#include "app/UpdatePresenter.h"

#include "PresetAlerts.h"
#include "support/ScriptedHttpServer.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace tessellar::app {
namespace {

using testing::PresetAlerts;
using Style = Alert::Style;

// The presenter against a real local HTTPS server, its alerts answered by presets.
class UpdatePresenterTest : public ::testing::Test {
protected:
    testing::ScriptedHttpServer server{true};
    PresetAlerts alerts;
    QList<QUrl> opened;

    std::unique_ptr<UpdatePresenter> presenter(std::string version = "1.4.0", std::string feed = "") {
        UpdatePresenter::Configuration configuration;
        configuration.feedAddress = feed.empty() ? server.url("/updates/latest.json") : feed;
        configuration.currentVersion = std::move(version);
        configuration.systemVersion = SemanticVersion::parse("12.0.0");
        configuration.timeout = std::chrono::milliseconds(1500);
        configuration.certificateAuthorities = server.certificateFile();
        return std::make_unique<UpdatePresenter>(configuration, alerts,
                                                 [this](const QUrl& url) { opened.append(url); });
    }

    void runCheck(UpdatePresenter& presenter) {
        QSignalSpy finished(&presenter, &UpdatePresenter::finished);
        presenter.checkForUpdates();
        if (finished.isEmpty()) {
            ASSERT_TRUE(finished.wait(10'000));
        }
    }
};

TEST_F(UpdatePresenterTest, UpToDateAndAvailableAlerts) {
    server.respond(200, R"({"version":"1.4.0","downloadURL":"https://example.org/get"})");
    auto checker = presenter();
    runCheck(*checker);
    ASSERT_EQ(alerts.shown.size(), 1);
    EXPECT_EQ(
        alerts.shown[0],
        (Alert{Style::informational,
               "Tessellar 1.4.0 is the latest version",
               "There is nothing to install. Tessellar looks for a new version only when you ask it to.",
               {"OK"}}));

    server.respond(200, R"({"version":"1.5.0-rc.1","downloadURL":"https://example.org/get",
                            "releaseNotes":"Reads receipts."})");
    alerts.answers = {"Not Now"};
    runCheck(*checker);
    ASSERT_EQ(alerts.shown.size(), 2);
    EXPECT_EQ(alerts.shown[1], (Alert{Style::informational,
                                      "Tessellar 1.5.0-rc.1 is available",
                                      "You\u2019re running 1.4.0.\n\nReads receipts.",
                                      {"Download\u2026", "Not Now"}}));
    EXPECT_TRUE(opened.isEmpty()) << "Not Now opens nothing";

    server.respond(200, R"({"version":"2.0.0","downloadURL":"https://example.org/get?v=2"})");
    alerts.answers = {"Download\u2026"};
    runCheck(*checker);
    EXPECT_EQ(alerts.shown.last().text, "You\u2019re running 1.4.0.") << "no notes, no blank line";
    EXPECT_EQ(opened, QList<QUrl>{QUrl("https://example.org/get?v=2")});
    EXPECT_EQ(UpdatePresenter::versionText(""), "an unnumbered build");
}

TEST_F(UpdatePresenterTest, NewerVersionForANewerSystemIsNotOffered) {
    server.respond(200, R"({"version":"9.0.0","downloadURL":"https://e.org/","minimumSystemVersion":"13"})");
    auto checker = presenter();
    runCheck(*checker);
    ASSERT_EQ(alerts.shown.size(), 1);
    EXPECT_EQ(alerts.shown[0].message, "Tessellar 1.4.0 is the latest version");
}

TEST_F(UpdatePresenterTest, FailuresAreWarningsWithTheCheckersSentence) {
    auto checker = presenter();
    const auto expectFailure = [&](const QString& text) {
        runCheck(*checker);
        ASSERT_FALSE(alerts.shown.isEmpty());
        EXPECT_EQ(alerts.shown.last(),
                  (Alert{Style::warning, "Tessellar couldn\u2019t check for updates", text, {"OK"}}));
    };
    server.respond(200, R"({"version":"2.0.0","downloadURL":"http://example.org/get"})");
    expectFailure("The update listing points at a download that isn\u2019t over HTTPS.");
    server.script({{{"status", 200}, {"delay", 5}, {"body", "{}"}}});
    expectFailure("The update check didn\u2019t get an answer in time.");
    server.script({{{"status", 302}, {"headers", {{"Location", "http://127.0.0.1:1/"}}}}});
    expectFailure("The update address answered with an error (302).");
    server.script({{{"repeat", {{"text", "{"}, {"count", 70'000}}}}});
    expectFailure("The update listing wasn\u2019t in a format Tessellar could read.");
    server.respond(200, R"({"version":"2.0","downloadURL":"https://example.org/get"})");
    expectFailure("The update listing names a version Tessellar can\u2019t read (\u201C2.0\u201D).");

    auto unnumbered = presenter("");
    runCheck(*unnumbered);
    EXPECT_EQ(alerts.shown.last().text, "Tessellar couldn\u2019t read its own version number, so it "
                                        "can\u2019t compare it to the latest one.");
}

TEST_F(UpdatePresenterTest, OneCheckAtATimeAndNoContactWithoutAFeed) {
    server.script({{{"status", 200},
                    {"delay", 0.3},
                    {"body", R"({"version":"1.4.0","downloadURL":"https://e.org/"})"}}});
    auto checker = presenter();
    QSignalSpy checking(checker.get(), &UpdatePresenter::checkingChanged);
    QSignalSpy finished(checker.get(), &UpdatePresenter::finished);
    checker->checkForUpdates();
    EXPECT_TRUE(checker->isChecking());
    checker->checkForUpdates(); // ignored while the first runs
    ASSERT_TRUE(finished.wait(10'000));
    EXPECT_FALSE(checker->isChecking());
    EXPECT_EQ(alerts.shown.size(), 1);
    EXPECT_EQ(server.requests().size(), 1u);
    ASSERT_EQ(checking.size(), 2);
    EXPECT_TRUE(checking[0][0].toBool());
    EXPECT_FALSE(checking[1][0].toBool());

    auto unconfigured = presenter("1.4.0", "https://updates.tessellar.invalid/updates/latest.json");
    QSignalSpy quiet(unconfigured.get(), &UpdatePresenter::checkingChanged);
    runCheck(*unconfigured);
    EXPECT_EQ(
        alerts.shown.last(),
        (Alert{Style::informational,
               "This build has no update address",
               "Tessellar was built without a release feed to ask, so there is nothing for it to contact. "
               "Newer versions come from wherever this copy did.",
               {"OK"}}));
    EXPECT_TRUE(quiet.isEmpty());
    EXPECT_EQ(server.requests().size(), 1u);
}

} // namespace
} // namespace tessellar::app
