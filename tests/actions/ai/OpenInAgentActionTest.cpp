#include "kit/actions/ai/OpenInAgentAction.h"

#include "support/ActionCases.h"
#include "support/CliRunner.h"
#include "support/ScopedEnvironment.h"
#include "support/TempDir.h"

#include <fstream>
#include <gtest/gtest.h>

namespace tessellar {
namespace {

namespace fs = std::filesystem;
using Call = RecordingWorkspace::Call;
using testing::readFile;

const Url claudeEntry = Url::fromFilePath("/usr/share/applications/com.anthropic.claudefordesktop.desktop");
const Url chatGPTEntry = Url::fromFilePath("/usr/share/applications/com.openai.codex.desktop");

class OpenInAgent : public testing::ActionCase {
protected:
    OpenInAgent() {
        std::ofstream(dir / "report.pdf") << "report";
        item.title = "report.pdf";
        item.contentType = ContentType::pdf;
        item.fileURL = Url::fromFilePath(dir / "report.pdf");
    }

    testing::TempDir dir;
    testing::TempDir temporary;
    testing::ScopedEnvironment tmpdir{"TMPDIR", temporary.path().string()};
    OpenInAgentAction action;
};

TEST_F(OpenInAgent, FindsInstalledAssistantsByDesktopId) {
    EXPECT_FALSE(relevance(action));
    EXPECT_EQ(action.title(), "Send to Agent");

    fixture.workspace->install("com.openai.codex", chatGPTEntry);
    EXPECT_EQ(relevance(action), 45);
    EXPECT_EQ(action.title(), "Open in ChatGPT");
    EXPECT_EQ(action.preview(item, context()), std::nullopt);
    const auto outcome = perform(action);
    EXPECT_EQ(outcome.message, "Sent to ChatGPT");
    EXPECT_FALSE(outcome.keepsPanelOpen);
    // A dropped file goes from where it is, under its own name.
    EXPECT_EQ(fixture.workspace->calls(), (std::vector<Call>{{"openWith", item.fileURL->absoluteString(),
                                                              chatGPTEntry.absoluteString()}}));
    EXPECT_FALSE(fs::exists(temporary / "Outgoing"));

    fixture.workspace->install("com.anthropic.claudefordesktop", claudeEntry);
    const auto agents = AgentApps::installed(*fixture.workspace);
    EXPECT_EQ(agents, (std::vector<AgentApp>{{"com.anthropic.claudefordesktop", "Claude", claudeEntry},
                                             {"com.openai.codex", "ChatGPT", chatGPTEntry}}));
    const std::vector<ActionPreview::Option> agentOptions{
        {"com.anthropic.claudefordesktop", "Claude", "com.anthropic.claudefordesktop", std::nullopt},
        {"com.openai.codex", "ChatGPT", "com.openai.codex", std::nullopt}};
    EXPECT_EQ(action.preview(item, context()),
              (ActionPreview{"Send to agent", "report.pdf", ActionPreview::Style::choice,
                             "Opens a new conversation with this attached", "Send", agentOptions, false}));
    EXPECT_EQ(action.title(), "Send to Agent");

    item = *outcome.updatedItem;
    const auto second = perform(action, "com.openai.codex");
    EXPECT_EQ(second.updatedItem->completedActionIDs, std::vector<ActionID>{ActionID::openInAgent});
    EXPECT_EQ(fixture.workspace->calls().back().application, chatGPTEntry.absoluteString());
}

TEST_F(OpenInAgent, StagesAScreenshotUnderADatedName) {
    fixture.workspace->install("com.openai.codex", chatGPTEntry);
    std::ofstream(dir / "ABC.png") << "first image";
    item.fileURL.reset();
    item.contentType = ContentType::screenshot;
    item.imagePath = Url::fromFilePath(dir / "ABC.png");
    item.createdAt = Timestamp::fromUnix(1772373907); // 2026-03-01 09:05:07 in New York
    EXPECT_EQ(relevance(action), 86);
    item.contentType = ContentType::code;
    EXPECT_EQ(relevance(action), 89);

    const fs::path staged = temporary / "Outgoing" / "Screenshot 2026-03-01 at 09.05.07.png";
    perform(action);
    EXPECT_EQ(fixture.workspace->calls().back().url, Url::fromFilePath(staged).absoluteString());
    EXPECT_EQ(readFile(staged), "first image");
    std::ofstream(dir / "ABC.png") << "second image";
    perform(action);
    EXPECT_EQ(readFile(staged), "second image");
    EXPECT_EQ(OpenInAgentAction::stagedName(item, Url::fromFilePath("/x/noext")),
              "Screenshot 2026-03-01 at 09.05.07.png");

    // When staging is impossible the stored image itself is sent.
    fs::remove_all(temporary / "Outgoing");
    std::ofstream(temporary / "Outgoing") << "a file where the folder should be";
    perform(action);
    EXPECT_EQ(fixture.workspace->calls().back().url, item.imagePath->absoluteString());
}

TEST_F(OpenInAgent, FailuresSayWhatWentWrong) {
    fixture.workspace->install("com.openai.codex", chatGPTEntry);
    EXPECT_EQ(failure(action, "com.anthropic.claudefordesktop"),
              TessellarError("No coding agent is installed that can take a file."));
    fixture.workspace->setSucceeds(false);
    EXPECT_EQ(failure(action),
              TessellarError("Couldn\u2019t open ChatGPT.", {TessellarError::Recovery::revealInFinder}));
    item.contentType = ContentType::code;
    EXPECT_EQ(relevance(action), 70);
    fs::remove(dir / "report.pdf");
    EXPECT_FALSE(relevance(action));
    EXPECT_EQ(failure(action), TessellarError("There\u2019s no file here to send."));
}

} // namespace
} // namespace tessellar
