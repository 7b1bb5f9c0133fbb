#include "app/PanelViewModel.h"

#include "AppHarness.h"
#include "kit/capture/ContentIngestor.h"
#include "kit/model/AnalysisStage.h"
#include "kit/storage/SQLiteHistoryStore.h"

#include <atomic>
#include <set>

using namespace tessellar;
using namespace tessellar::app;
using namespace tessellar::testing;
using Kind = PanelStage::Kind;

namespace {

class PanelViewModelTest : public ::testing::Test, protected PanelServices {
protected:
    std::shared_ptr<SQLiteHistoryStore> history =
        std::make_shared<SQLiteHistoryStore>((dir / "h.sqlite").string());
    QObject gui; // posted work runs on the Qt loop while a test waits; dropped with the test
    std::atomic<int> running{0}, posted{0};
    QThreadPool workers; // as many as asked for: a worker may wait for the user
    std::vector<std::pair<double, PanelViewModel::Task>> delayed;
    std::optional<PanelViewModel::PickedFolder> picked;
    std::vector<std::string> alerts;
    int closes = 0;
    std::unique_ptr<PanelViewModel> model;

    void SetUp() override {
        auto s = services();
        s.history = [this] { return history; };
        s.clipboardContent = [this] { return ClipboardService(pasteboard).currentContent(); };
        workers.setMaxThreadCount(16);
        s.execute = [this](PanelViewModel::Task task) {
            ++running;
            workers.start([this, task] {
                task();
                --running;
            });
        };
        s.post = [this](PanelViewModel::Task task) {
            ++posted;
            QMetaObject::invokeMethod(
                &gui,
                [this, task] {
                    task();
                    --posted;
                },
                Qt::QueuedConnection);
        };
        s.after = [this](double seconds, PanelViewModel::Task task) { delayed.emplace_back(seconds, task); };
        s.chooseFolder = [this](const std::filesystem::path&, const std::string&) { return picked; };
        s.alert = [this](const std::string& message, const std::string& info) {
            alerts.push_back(message + " | " + info);
        };
        model = std::make_unique<PanelViewModel>(std::move(s));
        model->onRequestClose = [this] { ++closes; };
    }
    void TearDown() override {
        model->shutdown();
        eventually([this] { return running == 0; });
    }

    // Waits until every worker and posted task is done and `done` holds.
    bool settle(const std::function<bool()>& done = [] { return true; }) {
        return eventually([&] { return running == 0 && posted == 0 && done(); });
    }
    void typeAndSubmit(const std::string& text) {
        model->typedText = text;
        model->submitTypedText();
        ASSERT_TRUE(settle([this] { return model->stage().kind == Kind::result; }));
    }
    bool reaches(Kind kind) {
        return eventually([this, kind] { return model->stage().kind == kind; });
    }
    void runAndSettle(const ScriptedAction& action) {
        model->run(action.id());
        ASSERT_TRUE(settle());
    }
};

TEST_F(PanelViewModelTest, CapturesAreAnalysedPresentedAndSavedLatestFirstAndBlanksStartNothing) {
    EXPECT_EQ(model->privacyNote(), "Everything here stays on this Mac.");
    model->typedText = "  \n\t ";
    model->submitTypedText();
    EXPECT_EQ(model->stage(), PanelStage::empty());
    EXPECT_EQ(running, 0);
    model->useClipboard();
    EXPECT_EQ(model->stage(), PanelStage::empty());
    ASSERT_TRUE(model->actionError());
    EXPECT_EQ(model->actionError()->message(), TessellarError::emptyClipboard().message());

    typeAndSubmit("{\"a\": 1}");
    ASSERT_TRUE(model->item());
    EXPECT_FALSE(model->resolvedActions().isEmpty());
    std::vector<ActionID> ids;
    for (const auto& descriptor : model->resolvedActions().all())
        ids.push_back(descriptor.id);
    EXPECT_EQ(model->item()->suggestedActionIDs, ids);
    EXPECT_EQ(model->visibleActions(), model->resolvedActions().primary);
    ASSERT_TRUE(settle([&] { return !history->recent(5).empty(); }));
    EXPECT_EQ(history->recent(5).front().id, model->item()->id);

    preferences->setProviderKind(Preferences::ProviderKind::openAICompatible);
    preferences->setProviderModel("gpt-test");
    preferences->setProviderBaseURL(*Url::parse("http://127.0.0.1:8080/v1"));
    ASSERT_TRUE(preferences->usesExternalAI());
    EXPECT_EQ(model->privacyNote(), "Stays on this Mac until you pick an action that uses gpt-test.");

    // Only the latest capture is presented, and a reset while analysing drops the result.
    model->capture(ContentIngestor::capture("first capture text"));
    EXPECT_EQ(model->stage(), PanelStage::analyzing(AnalysisStage::receiving().message()));
    model->capture(ContentIngestor::capture("https://example.com/second"));
    ASSERT_TRUE(settle([this] { return model->stage().kind == Kind::result; }));
    EXPECT_EQ(model->item()->originalText, "https://example.com/second");
    model->capture(ContentIngestor::capture("third"));
    model->reset();
    ASSERT_TRUE(settle());
    EXPECT_EQ(model->stage(), PanelStage::empty());
    EXPECT_FALSE(model->item());
}

TEST_F(PanelViewModelTest, LargeCapturesAreAnalysedOnTheWorkersAndAbandonedOnReset) {
    const std::string large(20 * 1024 * 1024, 'x');
    model->capture(ContentIngestor::capture(large));
    // Back at once with the stage shown: the work is on the pool.
    EXPECT_EQ(model->stage(), PanelStage::analyzing(AnalysisStage::receiving().message()));
    EXPECT_EQ(running, 1);
    model->reset();
    EXPECT_EQ(model->stage(), PanelStage::empty());
    ASSERT_TRUE(settle());
    EXPECT_EQ(model->stage(), PanelStage::empty());
    EXPECT_FALSE(model->item());
    EXPECT_TRUE(history->recent(5).empty());
}

TEST_F(PanelViewModelTest, EscapeClosesFromResultAndSelectionClampsWithoutWrapping) {
    typeAndSubmit("https://example.com/page");
    const int count = int(model->visibleActions().size());
    ASSERT_GT(count, 1);
    for (auto [step, expected] : {std::pair{-1, 0}, {count + 5, count - 1}, {1, count - 1}}) {
        model->moveSelection(step);
        EXPECT_EQ(model->selectedIndex(), expected) << step;
    }
    if (!model->resolvedActions().secondary.empty()) {
        model->toggleMoreActions();
        EXPECT_TRUE(model->showsAllActions());
        model->moveSelection(100);
        model->toggleMoreActions();
        EXPECT_EQ(model->selectedIndex(), int(model->resolvedActions().primary.size()) - 1);
    }
    model->escape();
    EXPECT_EQ(closes, 1);
    EXPECT_EQ(model->stage().kind, Kind::result);
}

TEST_F(PanelViewModelTest, OutcomeClosesAfterDelayUnlessItKeepsThePanelOpen) {
    auto action = addAction("scripted");
    typeAndSubmit("plain words here");
    model->run(action->id());
    ASSERT_TRUE(settle([this] { return model->statusMessage() == "Done"; }));
    ASSERT_EQ(delayed.size(), 1u);
    EXPECT_EQ(delayed[0].first, 0.45);
    EXPECT_EQ(model->item()->completedActionIDs, std::vector<ActionID>{action->id()});
    EXPECT_EQ(closes, 0);
    delayed[0].second();
    EXPECT_EQ(closes, 1);

    action->body = [](const ActionInvocation&, const ActionContext&) {
        return ActionOutcome{"Kept", {}, true};
    };
    model->run(action->id());
    ASSERT_TRUE(settle([this] { return model->statusMessage() == "Kept"; }));
    EXPECT_EQ(delayed.size(), 1u);
    ASSERT_TRUE(settle([&] { return history->item(model->item()->id).has_value(); }));
    EXPECT_EQ(history->item(model->item()->id)->completedActionIDs, std::vector<ActionID>{action->id()});
}

TEST_F(PanelViewModelTest, ConfirmationWithOptionsPreselectsMovesAndCancelsSilently) {
    auto action = addAction("choose");
    ActionPreview preview{"Pick", "", ActionPreview::Style::choice, std::nullopt, "Use", {}, false};
    preview.options = {{"a", "A", "va", {}}, {"b", "B", "vb", {}}, {"c", "C", "vc", {}}};
    action->proposed = preview;
    std::optional<std::string> received;
    action->body = [&](const ActionInvocation& invocation, const ActionContext&) {
        received = invocation.confirmedValue;
        return ActionOutcome{"Chosen", {}, true};
    };
    typeAndSubmit("plain words here");
    model->run(action->id());
    ASSERT_TRUE(reaches(Kind::confirming));
    EXPECT_EQ(model->confirmationChoiceID(), "a");
    model->moveSelection(-1);
    EXPECT_EQ(model->confirmationChoiceID(), "a");
    model->moveSelection(5);
    EXPECT_EQ(model->confirmationChoiceID(), "c");
    model->resolveConfirmation(PanelViewModel::confirmedValue(preview, "", model->confirmationChoiceID()));
    ASSERT_TRUE(settle([this] { return model->statusMessage() == "Chosen"; }));
    EXPECT_EQ(received, "vc");
    EXPECT_EQ(model->stage().kind, Kind::result);

    // Escape while confirming cancels the action and shows the result again, with no error.
    received.reset();
    model->run(action->id());
    ASSERT_TRUE(reaches(Kind::confirming));
    model->escape();
    ASSERT_TRUE(settle());
    EXPECT_EQ(model->stage().kind, Kind::result);
    EXPECT_FALSE(received);
    EXPECT_FALSE(model->actionError());
    EXPECT_EQ(closes, 0);
}

TEST_F(PanelViewModelTest, ResetResumesEveryPendingQuestionAndOutputShowsUntilEscape) {
    auto action = addAction("ask");
    std::optional<std::string> text = "unset";
    bool consent = true;
    action->body = [&](const ActionInvocation&, const ActionContext& context) {
        text = context.requireHost().askForText("Name?", "name");
        consent = context.requireHost().confirmSendingOffDevice("the text", "Provider");
        return ActionOutcome::cancelled;
    };
    typeAndSubmit("plain words here");
    model->run(action->id());
    ASSERT_TRUE(eventually([this] { return model->stage() == PanelStage::prompting("Name?", "name"); }));
    model->reset();
    ASSERT_TRUE(reaches(Kind::consent));
    EXPECT_EQ(model->stage(), PanelStage::consent("the text", "Provider"));
    model->reset();
    ASSERT_TRUE(settle());
    EXPECT_FALSE(text);
    EXPECT_FALSE(consent);

    // Output and progress from the host; Escape goes back to the result.
    typeAndSubmit("plain words here");
    auto show = addAction("show");
    show->body = [](const ActionInvocation& invocation, const ActionContext& context) {
        context.requireHost().reportProgress("Working…");
        context.requireHost().presentResult("Decoded", "body text", invocation.item);
        return ActionOutcome{std::nullopt, {}, true};
    };
    model->run(show->id());
    ASSERT_TRUE(settle([this] { return model->stage().kind == Kind::output; }));
    EXPECT_EQ(model->stage(), PanelStage::output("Decoded", "body text"));
    EXPECT_EQ(model->progressNote(), "Working…");
    model->escape();
    EXPECT_EQ(model->stage().kind, Kind::result);
    EXPECT_EQ(closes, 0);
}

TEST_F(PanelViewModelTest, ConsentGrantedIsStoredAndErrorsBecomeActionErrors) {
    auto action = addAction("send");
    bool consent = false;
    action->body = [&](const ActionInvocation&, const ActionContext& context) -> ActionOutcome {
        consent = context.requireHost().confirmSendingOffDevice("the text", "Provider");
        throw TessellarError::aiOffline();
    };
    typeAndSubmit("plain words here");
    model->run(action->id());
    ASSERT_TRUE(reaches(Kind::consent));
    model->resolveConsent(true);
    ASSERT_TRUE(settle([this] { return model->actionError().has_value(); }));
    EXPECT_TRUE(consent);
    EXPECT_TRUE(preferences->hasGrantedAIConsent());
    EXPECT_EQ(model->actionError()->message(), TessellarError::aiOffline().message());
    EXPECT_EQ(model->stage().kind, Kind::result);

    action->body = [](const ActionInvocation&, const ActionContext&) -> ActionOutcome { throw Cancelled(); };
    model->recover(TessellarError::Recovery::retry);
    EXPECT_FALSE(model->actionError());
    ASSERT_TRUE(settle());
    EXPECT_FALSE(model->actionError());
    EXPECT_EQ(model->lastActionID(), action->id());

    action->body = [](const ActionInvocation&, const ActionContext&) -> ActionOutcome {
        throw std::runtime_error("disk on fire");
    };
    model->run(action->id());
    ASSERT_TRUE(settle([this] { return model->actionError().has_value(); }));
    EXPECT_EQ(model->actionError()->message(), "disk on fire");
    EXPECT_TRUE(model->actionError()->recovery().empty());
}

TEST_F(PanelViewModelTest, FolderAccessCoversOnlyTheChosenFolderAndAChosenFolderIsStoredOnce) {
    EXPECT_TRUE(PanelViewModel::covers("/home/ann/Work", "/home/ann/Work"));
    EXPECT_TRUE(PanelViewModel::covers("/home/ann/Work/", "/home/ann/Work/2024"));
    EXPECT_FALSE(PanelViewModel::covers("/home/ann/Work", "/home/ann/Workshop"));
    EXPECT_FALSE(PanelViewModel::covers("/home/ann/Work", "/home/ann"));

    auto grant = addAction("grant");
    std::optional<std::vector<std::uint8_t>> granted;
    grant->body = [&](const ActionInvocation&, const ActionContext& context) {
        granted = context.requireHost().accessBookmark(Url::fromFilePath("/home/ann/Work/2024"), "Why");
        return ActionOutcome::cancelled;
    };
    typeAndSubmit("plain words here");
    picked = PanelViewModel::PickedFolder{"/home/ann/Other", std::vector<std::uint8_t>{1}};
    runAndSettle(*grant);
    EXPECT_FALSE(granted);
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_EQ(alerts[0],
              "That folder doesn’t cover 2024 | Tessellar needs permission for “2024” itself, or a "
              "folder that contains it. Nothing was changed.");
    picked = PanelViewModel::PickedFolder{"/home/ann/Work", std::vector<std::uint8_t>{7}};
    runAndSettle(*grant);
    EXPECT_EQ(granted, std::vector<std::uint8_t>{7});
    EXPECT_EQ(preferences->grantedBookmark("/home/ann/Work/2024"), std::vector<std::uint8_t>{7});

    // A folder chosen for a destination adds it once, then replaces its path.
    auto choose = addAction("folder");
    std::optional<FolderDestination> chosen;
    choose->body = [&](const ActionInvocation&, const ActionContext& context) {
        chosen = context.requireHost().chooseFolder("Taxes");
        return ActionOutcome::cancelled;
    };
    const std::size_t before = preferences->destinations().size();
    picked = PanelViewModel::PickedFolder{"/srv/taxes", std::nullopt};
    runAndSettle(*choose);
    ASSERT_TRUE(chosen);
    EXPECT_EQ(preferences->destinations().size(), before + 1);
    picked = PanelViewModel::PickedFolder{"/srv/taxes2", std::nullopt};
    runAndSettle(*choose);
    EXPECT_EQ(preferences->destinations().size(), before + 1);
    EXPECT_EQ(preferences->destinations().back().path, "/srv/taxes2");
    EXPECT_EQ(chosen->id, preferences->destinations().back().id);
}

TEST_F(PanelViewModelTest, RecoveriesOpenRevealAndAskForSettings) {
    InboxItem item;
    item.title = "a.pdf";
    item.fileURL = Url::fromFilePath("/tmp/a.pdf");
    model->show(item);
    ASSERT_TRUE(settle());
    int settings = 0;
    model->onRequestSettings = [&] { ++settings; };
    for (auto recovery : {TessellarError::Recovery::openFile, TessellarError::Recovery::revealInFinder,
                          TessellarError::Recovery::openSettings})
        model->recover(recovery);
    ASSERT_TRUE(settle());
    EXPECT_EQ(settings, 1);
    std::multiset<std::string> operations;
    for (const auto& call : workspace->calls()) {
        operations.insert(call.operation);
        EXPECT_EQ(call.url, "file:///tmp/a.pdf");
    }
    EXPECT_EQ(operations, (std::multiset<std::string>{"open", "reveal"}));
}

} // namespace
