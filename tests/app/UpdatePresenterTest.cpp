#include "app/UpdatePresenter.h"

#include "AppHarness.h"
#include "support/ScriptedHttpServer.h"

namespace tessellar::app {
namespace {

using Style = Alert::Style;

QString q(const nlohmann::json& text) {
    return QString::fromStdString(text.get<std::string>());
}

// The presenter against a real local HTTPS server, its alerts answered by presets.
class UpdatePresenterTest : public ::testing::Test {
protected:
    testing::ScriptedHttpServer server{true};
    testing::PresetAlerts alerts;
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
        testing::awaitSignal(&presenter, &UpdatePresenter::finished, [&] { presenter.checkForUpdates(); });
    }
};

// Each case: what the feed answers, the version running, the button chosen, the one alert shown
// and the link opened (none unless the answer was Download); without a feed nothing is contacted.
TEST_F(UpdatePresenterTest, EachAnswerOfTheFeedBecomesItsAlert) {
    for (const auto& check : testing::jsonFixture("app-update-checks.json")) {
        const auto name = check["name"].get<std::string>();
        server.script(check["responses"]);
        auto checker = presenter(check.value("version", "1.4.0"), check.value("feed", ""));
        QSignalSpy checking(checker.get(), &UpdatePresenter::checkingChanged);
        const auto requests = server.requests().size();
        alerts.answers.clear();
        if (check.contains("answer"))
            alerts.answers.append(q(check["answer"]));
        opened.clear();
        const auto before = alerts.shown.size();
        runCheck(*checker);
        ASSERT_EQ(alerts.shown.size(), before + 1) << name;
        const auto& shown = check["alert"];
        Alert expected{
            shown[0] == "warning" ? Style::warning : Style::informational, q(shown[1]), q(shown[2]), {}};
        for (const auto& button : shown[3])
            expected.buttons.append(q(button));
        EXPECT_EQ(alerts.shown.last(), expected) << name;
        EXPECT_EQ(opened, check.contains("opens") ? QList<QUrl>{QUrl(q(check["opens"]))} : QList<QUrl>{})
            << name;
        if (!check.value("contacts", true)) {
            EXPECT_TRUE(checking.isEmpty()) << name;
            EXPECT_EQ(server.requests().size(), requests) << name;
        }
    }
    EXPECT_EQ(UpdatePresenter::versionText(""), "an unnumbered build");
}

TEST_F(UpdatePresenterTest, OneCheckAtATime) {
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
}

} // namespace
} // namespace tessellar::app
