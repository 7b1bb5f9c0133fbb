#include "kit/actions/ai/AskAIAction.h"
#include "kit/actions/ai/DescribeImageAction.h"
#include "kit/actions/ai/ExplainErrorAction.h"
#include "kit/actions/ai/ExtractTextAction.h"
#include "kit/actions/ai/SummarizeAction.h"
#include "kit/intelligence/MockIntelligenceProvider.h"
#include "support/AIActionCase.h"
#include "support/Fixtures.h"
#include "support/TempDir.h"

#include <fstream>
#include <gtest/gtest.h>

namespace tessellar {
namespace {

using AIActions = testing::AIActionCase;
using testing::chatReply;

TEST_F(AIActions, SummarizeSendsNothingBeforeConsent) {
    const SummarizeAction summarize;
    useServer(false);
    server.respond(200, chatReply("- one\n- two"));
    item.contentType = ContentType::plainText;
    item.originalText = std::string(200, 'x');

    fixture.host.setConsent(false);
    EXPECT_THROW(perform(summarize), Cancelled);
    EXPECT_TRUE(server.requests().empty());
    EXPECT_EQ(fixture.host.calls(),
              (std::vector<std::string>{"progress Summarizing\u2026",
                                        "consent this text to AI provider (tiny)", "progress (cleared)"}));

    fixture.host.setConsent(true);
    EXPECT_EQ(perform(summarize), (ActionOutcome{std::nullopt, std::nullopt, true}));
    ASSERT_EQ(server.requests().size(), 1u);
    EXPECT_NE(server.requests()[0]["body"].get<std::string>().find(std::string(200, 'x')), std::string::npos);
    EXPECT_EQ(fixture.host.calls().back(), "progress (cleared)");
    EXPECT_EQ(fixture.host.calls()[fixture.host.calls().size() - 2], "result Summary\n- one\n- two");
}

TEST_F(AIActions, EmptyAndHugeRepliesFailSafely) {
    const SummarizeAction summarize;
    useServer(true);
    item.fileURL = Url::fromFilePath("/tmp/report.pdf");
    item.originalText = std::string(300, 'y');
    server.respond(200, chatReply(""));
    EXPECT_EQ(failure(summarize), TessellarError::aiEmptyResponse());
    server.respond(200, chatReply(std::string(3 * 1024 * 1024, 'z')));
    EXPECT_THROW(perform(summarize), TessellarError);
    for (const auto& call : fixture.host.calls())
        EXPECT_FALSE(call.starts_with("result")) << call;
    EXPECT_EQ(fixture.host.calls().back(), "progress (cleared)");
}

TEST_F(AIActions, AskAIPromptsWithTheShortenedTitle) {
    const AskAIAction ask;
    item.originalText = "NullPointerException at Foo.java:12";

    item.title = "Quarterly planning notes for the platform team offsite";
    fixture.host.answer("   ");
    EXPECT_EQ(perform(ask), ActionOutcome::cancelled);
    EXPECT_EQ(fixture.host.calls(),
              std::vector<std::string>{"ask Ask about Quarterly planning notes for the\u2026"});

    fixture.host.answer("What is this?");
    perform(ask);
    const auto calls = fixture.host.calls();
    ASSERT_EQ(calls.size(), 5u);
    EXPECT_EQ(calls[2], "progress Asking\u2026");
    EXPECT_EQ(calls[3].substr(0, 20), "result What is this?");
    EXPECT_NE(calls[3].find(MockIntelligenceProvider::onDeviceNotice), std::string::npos);
    EXPECT_EQ(calls[4], "progress (cleared)");
}

TEST_F(AIActions, DescribeImageUsesTheRecognisedText) {
    const DescribeImageAction describe;
    item.contentType = ContentType::screenshot;
    item.title = "shot.png";
    item.extractedText = "Build failed: 3 errors";

    useServer(false);
    server.respond(200, chatReply("A build log with three errors."));
    fixture.host.setConsent(true);
    perform(describe);
    const auto calls = fixture.host.calls();
    EXPECT_EQ(calls[1], "consent the text recognized in shot.png to AI provider (tiny)");
    EXPECT_EQ(calls[2], "result Description\nA build log with three errors.");
}

TEST_F(AIActions, ExplainErrorTitlesTheResultWithTheSummary) {
    const ExplainErrorAction explain;
    item.contentType = ContentType::code;
    item.originalText = "TypeError: x is undefined";

    useServer(false);
    server.respond(200, chatReply("- x was never set"));
    fixture.host.setConsent(true);
    perform(explain);
    auto calls = fixture.host.calls();
    EXPECT_EQ(calls[0], "progress Explaining\u2026");
    EXPECT_EQ(calls[1], "consent the error text you captured to AI provider (tiny)");
    EXPECT_EQ(calls[2], "result Explanation\n- x was never set");
    const std::string body = server.requests()[0]["body"].get<std::string>();
    EXPECT_NE(body.find("Explain this error and the most likely fix, in at most four short bullet points."),
              std::string::npos);

    item.metadata.set(ItemMetadata::Key::errorSummary, "TypeError");
    perform(explain);
    EXPECT_EQ(fixture.host.calls()[5], "result TypeError\n- x was never set");
}

TEST_F(AIActions, ExtractTextCopiesAndRecordsOnce) {
    const ExtractTextAction extract;
    testing::TempDir dir;
    item.title = "notes.txt";
    item.fileURL = Url::fromFilePath(dir / "notes.txt");
    std::ofstream(dir / "notes.txt") << "x";

    const std::string words = testing::repeated("word ", 1000);
    item.originalText = words;
    auto outcome = perform(extract);
    EXPECT_EQ(outcome.message, "Copied");
    EXPECT_TRUE(outcome.keepsPanelOpen);
    EXPECT_EQ(fixture.pasteboard.plainText(), item.originalText);
    EXPECT_EQ(outcome.updatedItem->extractedText, item.originalText);
    const std::string shown = fixture.host.calls().back();
    const std::string head = "result Extracted text (copied)\n";
    ASSERT_TRUE(shown.starts_with(head));
    const std::string body = shown.substr(head.size());
    EXPECT_TRUE(body.ends_with("word\u2026")) << body.substr(body.size() - 20);
    EXPECT_LE(body.size(), 4000u + 3u);
    EXPECT_GT(body.size(), 3900u);
    EXPECT_TRUE(words.starts_with(body.substr(0, body.size() - 3)));
    item = *outcome.updatedItem;
    outcome = perform(extract);
    EXPECT_EQ(outcome.updatedItem->completedActionIDs, std::vector<ActionID>{ActionID::extractText});
}

} // namespace
} // namespace tessellar
