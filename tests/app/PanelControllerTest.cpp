#include "app/PanelController.h"

#include "AppHarness.h"
#include "app/PanelWindow.h"

#include <algorithm>

namespace tessellar::app {
namespace {

using namespace tessellar::testing;
using Stage = PanelState::Stage;

class PanelControllerTest : public ::testing::Test, protected PanelServices {
protected:
    std::vector<std::string> copied;
    PanelWindow panel;
    std::unique_ptr<PanelController> controller = std::make_unique<PanelController>(
        panel, services(), [this](const std::string& text) { copied.push_back(text); });

    bool reaches(Stage stage) {
        return eventually([&] { return panel.state().stage == stage; });
    }
    // The row of an action in the rendered result, or -1.
    int rowOf(const std::string& id) const {
        const auto& rows = panel.state().actions;
        const auto row =
            std::find_if(rows.begin(), rows.end(), [&](const auto& row) { return row.id == id; });
        return row == rows.end() ? -1 : int(row - rows.begin());
    }
};

TEST_F(PanelControllerTest, TypedTextIsAnalysedOnWorkersAndAWorkerWaitsForTheAnswerTypedInThePanel) {
    std::optional<std::string> answer;
    addAction("askName")->body = [&](const ActionInvocation&, const ActionContext& context) {
        answer = context.requireHost().askForText("Name?", "name");
        return ActionOutcome{"Named", std::nullopt, true};
    };
    emit panel.typedTextSubmitted(QStringLiteral("{\"name\": \"tessellar\", \"stars\": 3}"));
    EXPECT_EQ(panel.state().stage, Stage::analyzing);
    ASSERT_TRUE(reaches(Stage::result));
    EXPECT_GE(rowOf("copy"), 0);
    EXPECT_TRUE(panel.state().actions.front().primary);
    emit panel.copyRequested("body");
    EXPECT_EQ(copied, std::vector<std::string>{"body"});
    QSignalSpy close(controller.get(), &PanelController::closeRequested);
    emit panel.escapeRequested();
    EXPECT_EQ(close.count(), 1);

    // A worker waits for the answer typed in the panel.
    const int row = rowOf("askName");
    ASSERT_GE(row, 0);
    emit panel.actionActivated(row);
    ASSERT_TRUE(reaches(Stage::prompting));
    EXPECT_EQ(panel.state().promptText, "Name?");
    emit panel.promptResolved(std::string("Ann"));
    ASSERT_TRUE(eventually([this] { return panel.state().statusMessage == "Named"; }));
    EXPECT_EQ(answer, "Ann");
    EXPECT_TRUE(panel.state().actions[std::size_t(row)].completed);

    // Closing while the worker waits does not hang: the worker is released with no answer.
    controller->viewModel().run(ActionID("askName"));
    ASSERT_TRUE(reaches(Stage::prompting));
    controller.reset();
    EXPECT_FALSE(answer);
}

} // namespace
} // namespace tessellar::app
