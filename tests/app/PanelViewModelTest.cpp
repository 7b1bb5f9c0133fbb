#include "app/PanelViewModel.h"

#include "kit/actions/ActionCatalog.h"
#include "kit/capture/ContentIngestor.h"
#include "kit/classify/RuleBasedClassifier.h"
#include "kit/model/AnalysisStage.h"
#include "kit/storage/SQLiteHistoryStore.h"
#include "support/InMemoryKeyValueStore.h"
#include "support/InMemoryPasteboard.h"
#include "support/InMemorySecretStore.h"
#include "support/RecordingWorkspace.h"
#include "support/TempDir.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <gtest/gtest.h>
#include <set>
#include <thread>

using namespace tessellar;
using namespace tessellar::app;
using namespace tessellar::testing;
using Kind = PanelStage::Kind;

namespace {

// The GUI thread of the tests: posted work queues up and runs when the test pumps it.
class GuiLoop {
public:
    void post(PanelViewModel::Task task) {
        std::lock_guard lock(mutex_);
        tasks_.push_back(std::move(task));
        ready_.notify_all();
    }
    // Runs posted work until `done` holds; false after five seconds without it.
    bool pumpUntil(const std::function<bool()>& done) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!done()) {
            if (std::chrono::steady_clock::now() > deadline)
                return false;
            PanelViewModel::Task task;
            {
                std::unique_lock lock(mutex_);
                if (!ready_.wait_for(lock, std::chrono::milliseconds(5), [&] { return !tasks_.empty(); }))
                    continue;
                task = std::move(tasks_.front());
                tasks_.pop_front();
            }
            task();
        }
        return true;
    }
    bool empty() {
        std::lock_guard lock(mutex_);
        return tasks_.empty();
    }

private:
    std::mutex mutex_;
    std::condition_variable ready_;
    std::deque<PanelViewModel::Task> tasks_;
};

// An action whose preview and work the test scripts.
struct ScriptedAction : DropAction {
    std::string name;
    std::optional<ActionPreview> proposed;
    std::function<ActionOutcome(const ActionInvocation&, const ActionContext&)> body;

    ActionID id() const override { return ActionID(name); }
    std::string title() const override { return name; }
    std::string icon() const override { return "bolt"; }
    ActionAvailability availability(const InboxItem&, const ActionContext&) const override {
        return ActionAvailability::available(99);
    }
    std::optional<ActionPreview> preview(const InboxItem&, const ActionContext&) const override {
        return proposed;
    }
    ActionOutcome perform(const ActionInvocation& invocation, const ActionContext& context) const override {
        return body(invocation, context);
    }
};

class PanelViewModelTest : public ::testing::Test {
protected:
    TempDir dir;
    InMemoryPasteboard pasteboard;
    std::shared_ptr<RecordingWorkspace> workspace = std::make_shared<RecordingWorkspace>();
    std::shared_ptr<Preferences> preferences =
        std::make_shared<Preferences>(std::make_shared<InMemoryKeyValueStore>(),
                                      SecureStore(std::make_shared<InMemorySecretStore>()), "/home/ann");
    std::shared_ptr<ActionEngine> engine = std::make_shared<ActionEngine>(ActionCatalog::standard());
    std::shared_ptr<SQLiteHistoryStore> history =
        std::make_shared<SQLiteHistoryStore>((dir.path() / "history.sqlite").string());
    GuiLoop gui;
    std::atomic<int> running{0};
    std::mutex threadsMutex;
    std::vector<std::thread> threads;
    std::vector<double> delays;
    std::vector<PanelViewModel::Task> delayed;
    std::optional<PanelViewModel::PickedFolder> picked;
    std::vector<std::string> alerts;
    int closes = 0;
    std::unique_ptr<PanelViewModel> model;

    void SetUp() override {
        PanelViewModel::Services services;
        services.pipeline = std::make_shared<AnalysisPipeline>(
            nullptr, nullptr, ImageStore(dir.path() / "Images"), std::make_shared<RuleBasedClassifier>());
        services.engine = engine;
        services.makeContext = [this](ActionHost& host) {
            return ActionContext{nullptr, nullptr,   ClipboardService(pasteboard),
                                 nullptr, nullptr,   [this] { return preferences->destinations(); },
                                 &host,   workspace, {}};
        };
        services.history = [this] { return history; };
        services.preferences = preferences;
        services.clipboardContent = [this] { return ClipboardService(pasteboard).currentContent(); };
        services.workspace = workspace;
        services.execute = [this](PanelViewModel::Task task) {
            ++running;
            std::lock_guard lock(threadsMutex);
            threads.emplace_back([this, task = std::move(task)] {
                task();
                --running;
            });
        };
        services.post = [this](PanelViewModel::Task task) { gui.post(std::move(task)); };
        services.after = [this](double seconds, PanelViewModel::Task task) {
            delays.push_back(seconds);
            delayed.push_back(std::move(task));
        };
        services.chooseFolder = [this](const std::filesystem::path&, const std::string&) { return picked; };
        services.alert = [this](const std::string& message, const std::string& info) {
            alerts.push_back(message + " | " + info);
        };
        model = std::make_unique<PanelViewModel>(std::move(services));
        model->onRequestClose = [this] { ++closes; };
    }

    void TearDown() override {
        model->shutdown();
        gui.pumpUntil([this] { return running == 0; });
        std::lock_guard lock(threadsMutex);
        for (auto& thread : threads)
            thread.join();
    }

    bool settle(const std::function<bool()>& done) {
        return gui.pumpUntil([&] { return running == 0 && gui.empty() && done(); });
    }
    void typeAndSubmit(const std::string& text) {
        model->typedText = text;
        model->submitTypedText();
        ASSERT_TRUE(settle([this] { return model->stage().kind == Kind::result; }));
    }
    std::shared_ptr<ScriptedAction> addAction(std::string name) {
        auto action = std::make_shared<ScriptedAction>();
        action->name = std::move(name);
        action->body = [](const ActionInvocation&, const ActionContext&) {
            return ActionOutcome{"Done", {}, false};
        };
        engine->registerAction(action);
        return action;
    }
};

TEST_F(PanelViewModelTest, TypedTextIsAnalysedPresentedAndSaved) {
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
}

TEST_F(PanelViewModelTest, BlankTypedTextStartsNothingAndEmptyClipboardIsAnError) {
    model->typedText = "  \n\t ";
    model->submitTypedText();
    EXPECT_EQ(model->stage(), PanelStage::empty());
    EXPECT_EQ(running, 0);

    model->useClipboard();
    EXPECT_EQ(model->stage(), PanelStage::empty());
    ASSERT_TRUE(model->actionError());
    EXPECT_EQ(model->actionError()->message(), TessellarError::emptyClipboard().message());
}

TEST_F(PanelViewModelTest, OnlyTheLatestCaptureIsPresentedAndLateStagesAreDropped) {
    model->capture(ContentIngestor::capture("first capture text"));
    EXPECT_EQ(model->stage(), PanelStage::analyzing(AnalysisStage::receiving().message()));
    model->capture(ContentIngestor::capture("https://example.com/second"));
    ASSERT_TRUE(settle([this] { return model->stage().kind == Kind::result; }));
    EXPECT_EQ(model->item()->originalText, "https://example.com/second");

    // A reset while analysing drops the result.
    model->capture(ContentIngestor::capture("third"));
    model->reset();
    ASSERT_TRUE(settle([] { return true; }));
    EXPECT_EQ(model->stage(), PanelStage::empty());
    EXPECT_FALSE(model->item());
}

TEST_F(PanelViewModelTest, EscapeClosesFromResultAndSelectionClampsWithoutWrapping) {
    typeAndSubmit("https://example.com/page");
    const int count = int(model->visibleActions().size());
    ASSERT_GT(count, 1);
    model->moveSelection(-1);
    EXPECT_EQ(model->selectedIndex(), 0);
    model->moveSelection(count + 5);
    EXPECT_EQ(model->selectedIndex(), count - 1);
    model->moveSelection(1);
    EXPECT_EQ(model->selectedIndex(), count - 1);

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
    EXPECT_EQ(delays, std::vector<double>{0.45});
    EXPECT_EQ(model->item()->completedActionIDs, std::vector<ActionID>{action->id()});
    EXPECT_EQ(closes, 0);
    delayed.front()();
    EXPECT_EQ(closes, 1);

    action->body = [](const ActionInvocation&, const ActionContext&) {
        return ActionOutcome{"Kept", {}, true};
    };
    model->run(action->id());
    ASSERT_TRUE(settle([this] { return model->statusMessage() == "Kept"; }));
    EXPECT_EQ(delays.size(), 1u);
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
    ASSERT_TRUE(gui.pumpUntil([this] { return model->stage().kind == Kind::confirming; }));
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
    ASSERT_TRUE(gui.pumpUntil([this] { return model->stage().kind == Kind::confirming; }));
    model->escape();
    ASSERT_TRUE(settle([] { return true; }));
    EXPECT_EQ(model->stage().kind, Kind::result);
    EXPECT_FALSE(received);
    EXPECT_FALSE(model->actionError());
    EXPECT_EQ(closes, 0);
}

TEST_F(PanelViewModelTest, ResetResumesEveryPendingQuestion) {
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
    ASSERT_TRUE(gui.pumpUntil([this] { return model->stage() == PanelStage::prompting("Name?", "name"); }));
    model->reset();
    ASSERT_TRUE(gui.pumpUntil([this] { return model->stage().kind == Kind::consent; }));
    EXPECT_EQ(model->stage(), PanelStage::consent("the text", "Provider"));
    model->reset();
    ASSERT_TRUE(settle([] { return true; }));
    EXPECT_FALSE(text);
    EXPECT_FALSE(consent);
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
    ASSERT_TRUE(gui.pumpUntil([this] { return model->stage().kind == Kind::consent; }));
    model->resolveConsent(true);
    ASSERT_TRUE(settle([this] { return model->actionError().has_value(); }));
    EXPECT_TRUE(consent);
    EXPECT_TRUE(preferences->hasGrantedAIConsent());
    EXPECT_EQ(model->actionError()->message(), TessellarError::aiOffline().message());
    EXPECT_EQ(model->stage().kind, Kind::result);

    action->body = [](const ActionInvocation&, const ActionContext&) -> ActionOutcome { throw Cancelled(); };
    model->recover(TessellarError::Recovery::retry);
    EXPECT_FALSE(model->actionError());
    ASSERT_TRUE(settle([] { return true; }));
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

TEST_F(PanelViewModelTest, OutputAndProgressFromTheHost) {
    auto action = addAction("show");
    action->body = [](const ActionInvocation& invocation, const ActionContext& context) {
        context.requireHost().reportProgress("Working…");
        context.requireHost().presentResult("Decoded", "body text", invocation.item);
        return ActionOutcome{std::nullopt, {}, true};
    };
    typeAndSubmit("plain words here");
    model->run(action->id());
    ASSERT_TRUE(settle([this] { return model->stage().kind == Kind::output; }));
    EXPECT_EQ(model->stage(), PanelStage::output("Decoded", "body text"));
    EXPECT_EQ(model->progressNote(), "Working…");
    model->escape();
    EXPECT_EQ(model->stage().kind, Kind::result);
    EXPECT_EQ(closes, 0);
}

TEST_F(PanelViewModelTest, PrivacyNoteFollowsTheProvider) {
    EXPECT_EQ(model->privacyNote(), "Everything here stays on this Mac.");
    preferences->setProviderKind(Preferences::ProviderKind::openAICompatible);
    preferences->setProviderModel("gpt-test");
    preferences->setProviderBaseURL(*Url::parse("http://127.0.0.1:8080/v1"));
    ASSERT_TRUE(preferences->usesExternalAI());
    EXPECT_EQ(model->privacyNote(), "Stays on this Mac until you pick an action that uses gpt-test.");
}

TEST_F(PanelViewModelTest, FolderAccessCoversOnlyTheChosenFolderAndBelow) {
    EXPECT_TRUE(PanelViewModel::covers("/home/ann/Work", "/home/ann/Work"));
    EXPECT_TRUE(PanelViewModel::covers("/home/ann/Work/", "/home/ann/Work/2024"));
    EXPECT_FALSE(PanelViewModel::covers("/home/ann/Work", "/home/ann/Workshop"));
    EXPECT_FALSE(PanelViewModel::covers("/home/ann/Work", "/home/ann"));

    auto action = addAction("grant");
    std::optional<std::vector<std::uint8_t>> granted;
    action->body = [&](const ActionInvocation&, const ActionContext& context) {
        granted = context.requireHost().accessBookmark(Url::fromFilePath("/home/ann/Work/2024"), "Why");
        return ActionOutcome::cancelled;
    };
    typeAndSubmit("plain words here");
    picked = PanelViewModel::PickedFolder{"/home/ann/Other", std::vector<std::uint8_t>{1}};
    model->run(action->id());
    ASSERT_TRUE(settle([] { return true; }));
    EXPECT_FALSE(granted);
    ASSERT_EQ(alerts.size(), 1u);
    EXPECT_EQ(alerts[0],
              "That folder doesn’t cover 2024 | Tessellar needs permission for “2024” itself, or a "
              "folder that contains it. Nothing was changed.");

    picked = PanelViewModel::PickedFolder{"/home/ann/Work", std::vector<std::uint8_t>{7}};
    model->run(action->id());
    ASSERT_TRUE(settle([] { return true; }));
    EXPECT_EQ(granted, std::vector<std::uint8_t>{7});
    EXPECT_EQ(preferences->grantedBookmark("/home/ann/Work/2024"), std::vector<std::uint8_t>{7});
}

TEST_F(PanelViewModelTest, ChosenFolderReplacesOrAddsTheDestination) {
    auto action = addAction("folder");
    std::optional<FolderDestination> chosen;
    action->body = [&](const ActionInvocation&, const ActionContext& context) {
        chosen = context.requireHost().chooseFolder("Taxes");
        return ActionOutcome::cancelled;
    };
    typeAndSubmit("plain words here");
    const std::size_t before = preferences->destinations().size();
    picked = PanelViewModel::PickedFolder{"/srv/taxes", std::nullopt};
    model->run(action->id());
    ASSERT_TRUE(settle([] { return true; }));
    ASSERT_TRUE(chosen);
    EXPECT_EQ(preferences->destinations().size(), before + 1);
    picked = PanelViewModel::PickedFolder{"/srv/taxes2", std::nullopt};
    model->run(action->id());
    ASSERT_TRUE(settle([] { return true; }));
    EXPECT_EQ(preferences->destinations().size(), before + 1);
    EXPECT_EQ(preferences->destinations().back().path, "/srv/taxes2");
    EXPECT_EQ(chosen->id, preferences->destinations().back().id);
}

TEST_F(PanelViewModelTest, RecoveriesOpenRevealAndAskForSettings) {
    InboxItem item;
    item.title = "a.pdf";
    item.fileURL = Url::fromFilePath("/tmp/a.pdf");
    model->show(item);
    ASSERT_TRUE(settle([] { return true; }));
    int settings = 0;
    model->onRequestSettings = [&] { ++settings; };
    model->recover(TessellarError::Recovery::openFile);
    model->recover(TessellarError::Recovery::revealInFinder);
    model->recover(TessellarError::Recovery::openSettings);
    ASSERT_TRUE(settle([] { return true; }));
    EXPECT_EQ(settings, 1);
    const auto calls = workspace->calls();
    ASSERT_EQ(calls.size(), 2u);
    std::set<std::string> operations;
    for (const auto& call : calls) {
        operations.insert(call.operation);
        EXPECT_EQ(call.url, "file:///tmp/a.pdf");
    }
    EXPECT_EQ(operations, (std::set<std::string>{"open", "reveal"}));
}

} // namespace
