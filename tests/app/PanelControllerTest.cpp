#include "app/PanelController.h"

#include "app/PanelWindow.h"
#include "kit/actions/ActionCatalog.h"
#include "kit/classify/RuleBasedClassifier.h"
#include "support/InMemoryKeyValueStore.h"
#include "support/InMemoryPasteboard.h"
#include "support/InMemorySecretStore.h"
#include "support/RecordingWorkspace.h"
#include "support/TempDir.h"

#include <QSignalSpy>
#include <QTest>
#include <algorithm>
#include <gtest/gtest.h>

namespace tessellar::app {
namespace {

using namespace tessellar::testing;

// Asks a question from a worker thread, as a real action does.
struct AskingAction : DropAction {
    std::optional<std::string>* answer;
    ActionID id() const override { return ActionID("askName"); }
    std::string title() const override { return "Ask"; }
    std::string icon() const override { return "text.cursor"; }
    ActionAvailability availability(const InboxItem&, const ActionContext&) const override {
        return ActionAvailability::available(99);
    }
    ActionOutcome perform(const ActionInvocation&, const ActionContext& context) const override {
        *answer = context.requireHost().askForText("Name?", "name");
        return ActionOutcome{"Named", std::nullopt, true};
    }
};

class PanelControllerTest : public ::testing::Test {
protected:
    TempDir dir;
    std::shared_ptr<ActionEngine> engine = std::make_shared<ActionEngine>(ActionCatalog::standard());
    std::shared_ptr<RecordingWorkspace> workspace = std::make_shared<RecordingWorkspace>();
    std::shared_ptr<Preferences> preferences =
        std::make_shared<Preferences>(std::make_shared<InMemoryKeyValueStore>(),
                                      SecureStore(std::make_shared<InMemorySecretStore>()), "/home/ann");
    InMemoryPasteboard pasteboard;
    std::vector<std::string> copied;
    PanelWindow panel;
    std::unique_ptr<PanelController> controller;

    void SetUp() override {
        PanelViewModel::Services services;
        services.pipeline = std::make_shared<AnalysisPipeline>(
            nullptr, nullptr, ImageStore(dir.path() / "Images"), std::make_shared<RuleBasedClassifier>());
        services.engine = engine;
        services.makeContext = [this](ActionHost& host) {
            return ActionContext{
                nullptr, nullptr, ClipboardService(pasteboard), nullptr, nullptr, {}, &host, workspace, {}};
        };
        services.preferences = preferences;
        services.workspace = workspace;
        controller = std::make_unique<PanelController>(
            panel, std::move(services), [this](const std::string& text) { copied.push_back(text); });
    }
    bool waitFor(const std::function<bool()>& done) {
        for (int i = 0; i < 500 && !done(); ++i)
            QTest::qWait(10);
        return done();
    }
    std::vector<std::string> rowIDs() const {
        std::vector<std::string> ids;
        for (const auto& row : panel.state().actions)
            ids.push_back(row.id);
        return ids;
    }
};

TEST_F(PanelControllerTest, TypedTextIsAnalysedOnWorkersAndRendered) {
    emit panel.typedTextSubmitted(QStringLiteral("{\"name\": \"tessellar\", \"stars\": 3}"));
    EXPECT_EQ(panel.state().stage, PanelState::Stage::analyzing);
    ASSERT_TRUE(waitFor([this] { return panel.state().stage == PanelState::Stage::result; }));
    const auto ids = rowIDs();
    EXPECT_NE(std::find(ids.begin(), ids.end(), "copy"), ids.end());
    EXPECT_EQ(panel.state().privacyNote, "Everything here stays on this Mac.");
    EXPECT_TRUE(panel.state().actions.front().primary);

    QSignalSpy close(controller.get(), &PanelController::closeRequested);
    emit panel.escapeRequested();
    EXPECT_EQ(close.count(), 1);
    emit panel.copyRequested("body");
    EXPECT_EQ(copied, std::vector<std::string>{"body"});
}

TEST_F(PanelControllerTest, AWorkerWaitsForTheAnswerTypedInThePanel) {
    std::optional<std::string> answer;
    auto action = std::make_shared<AskingAction>();
    action->answer = &answer;
    engine->registerAction(action);
    emit panel.typedTextSubmitted(QStringLiteral("plain words here"));
    ASSERT_TRUE(waitFor([this] { return panel.state().stage == PanelState::Stage::result; }));
    const auto ids = rowIDs();
    const auto row = std::find(ids.begin(), ids.end(), "askName");
    ASSERT_NE(row, ids.end());
    emit panel.actionActivated(int(row - ids.begin()));
    ASSERT_TRUE(waitFor([this] { return panel.state().stage == PanelState::Stage::prompting; }));
    EXPECT_EQ(panel.state().promptText, "Name?");
    emit panel.promptResolved(std::string("Ann"));
    ASSERT_TRUE(waitFor([this] { return panel.state().statusMessage == "Named"; }));
    EXPECT_EQ(answer, "Ann");
    EXPECT_TRUE(panel.state().actions[std::size_t(row - ids.begin())].completed);
}

TEST_F(PanelControllerTest, ClosingWhileAWorkerWaitsDoesNotHang) {
    std::optional<std::string> answer = "unset";
    auto action = std::make_shared<AskingAction>();
    action->answer = &answer;
    engine->registerAction(action);
    emit panel.typedTextSubmitted(QStringLiteral("plain words here"));
    ASSERT_TRUE(waitFor([this] { return panel.state().stage == PanelState::Stage::result; }));
    controller->viewModel().run(ActionID("askName"));
    ASSERT_TRUE(waitFor([this] { return panel.state().stage == PanelState::Stage::prompting; }));
    controller.reset(); // waits for the worker, which the closing released
    EXPECT_FALSE(answer);
}

} // namespace
} // namespace tessellar::app
