#pragma once

#include "kit/actions/ActionContext.h"
#include "kit/actions/ActionEngine.h"
#include "kit/actions/ActionHost.h"
#include "kit/actions/ActionOutcome.h"
#include "kit/actions/ActionPreview.h"
#include "kit/analysis/AnalysisPipeline.h"
#include "kit/model/CapturedContent.h"
#include "kit/model/InboxItem.h"
#include "kit/model/TessellarError.h"
#include "kit/platform/Workspace.h"
#include "kit/storage/HistoryStore.h"
#include "kit/storage/Preferences.h"

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <future>
#include <memory>
#include <optional>
#include <stop_token>
#include <string>
#include <vector>

namespace tessellar::app {

// What one opening of the panel shows.
struct PanelStage {
    enum class Kind { analyzing, confirming, prompting, output, consent, empty, result };

    Kind kind = Kind::empty;
    std::string message;                  // analyzing
    std::optional<ActionPreview> preview; // confirming
    std::string prompt, placeholder;      // prompting
    std::string title, body;              // output
    std::string summary, providerName;    // consent

    static PanelStage empty() { return {}; }
    static PanelStage result() { return of(Kind::result); }
    static PanelStage of(Kind kind) {
        PanelStage stage;
        stage.kind = kind;
        return stage;
    }
    static PanelStage analyzing(std::string message);
    static PanelStage confirming(ActionPreview preview);
    static PanelStage prompting(std::string prompt, std::string placeholder);
    static PanelStage output(std::string title, std::string body);
    static PanelStage consent(std::string summary, std::string providerName);

    bool operator==(const PanelStage&) const = default;
};

// The controller behind the floating panel, free of any toolkit. Its state lives on one thread
// (the GUI thread); long work goes to `Services::execute` and comes back through
// `Services::post`. It is the app's ActionHost: actions call it from worker threads, each call
// is handed to the GUI thread, and the worker waits until the user answers. The GUI thread
// never waits for a worker.
class PanelViewModel final : public ActionHost {
public:
    using Task = std::function<void()>;

    // A folder the user picked, with the token that grants access to it.
    struct PickedFolder {
        std::filesystem::path path;
        std::optional<std::vector<std::uint8_t>> bookmark;
    };

    struct Services {
        std::shared_ptr<AnalysisPipeline> pipeline;
        std::shared_ptr<ActionEngine> engine;
        // The action context with the given host (the environment's actionContext).
        std::function<ActionContext(ActionHost&)> makeContext;
        // The history, when one could be opened; called off the GUI thread.
        std::function<std::shared_ptr<HistoryStore>()> history;
        std::function<void()> pruneHistory;
        std::shared_ptr<Preferences> preferences;
        std::function<CapturedContent()> clipboardContent;
        std::shared_ptr<Workspace> workspace;
        // Runs work off the GUI thread.
        std::function<void(Task)> execute;
        // Runs work on the GUI thread, later.
        std::function<void(Task)> post;
        // Runs work on the GUI thread after a delay in seconds.
        std::function<void(double, Task)> after;
        // Modal folder chooser on the GUI thread: start folder (may be empty), message.
        std::function<std::optional<PickedFolder>(const std::filesystem::path&, const std::string&)>
            chooseFolder;
        // Modal alert on the GUI thread: message text, informative text.
        std::function<void(const std::string&, const std::string&)> alert;
    };

    static constexpr double closeDelaySeconds = 0.45;

    explicit PanelViewModel(Services services);
    ~PanelViewModel() override;
    PanelViewModel(const PanelViewModel&) = delete;
    PanelViewModel& operator=(const PanelViewModel&) = delete;

    // State, read on the GUI thread.
    const PanelStage& stage() const { return stage_; }
    const std::optional<InboxItem>& item() const { return item_; }
    const ActionEngine::Resolved& resolvedActions() const { return resolvedActions_; }
    int selectedIndex() const { return selectedIndex_; }
    const std::optional<std::string>& confirmationChoiceID() const { return confirmationChoiceID_; }
    bool showsAllActions() const { return showsAllActions_; }
    std::string typedText;
    bool isDropTargeted = false;
    const std::optional<std::string>& statusMessage() const { return statusMessage_; }
    const std::optional<TessellarError>& warning() const { return warning_; }
    const std::optional<TessellarError>& actionError() const { return actionError_; }
    const std::optional<std::string>& progressNote() const { return progressNote_; }
    std::optional<std::string> clipboardHint;
    const std::optional<ActionID>& lastActionID() const { return lastActionID_; }

    std::vector<ActionEngine::ActionDescriptor> visibleActions() const;
    std::string privacyNote() const;

    // Set by the panel's owner.
    std::function<void()> onRequestClose;
    std::function<void(bool)> onAuxiliaryUIChange;
    std::function<void()> onRequestSettings;
    std::function<void(const Url&)> onQuickLook;
    // Called on the GUI thread after every change of the state.
    std::function<void()> onChange;

    // GUI-thread operations.
    void capture(const CapturedContent& content);
    void useClipboard();
    void submitTypedText();
    void show(const InboxItem& existing);
    void reset();
    void escape();
    void moveSelection(int delta);
    void activateSelection();
    void toggleMoreActions();
    void run(const ActionID& id);
    void recover(TessellarError::Recovery recovery);
    void resolveConfirmation(const std::optional<std::string>& value);
    void resolvePrompt(const std::optional<std::string>& value);
    void resolveConsent(bool granted);
    void setConfirmationChoiceID(std::optional<std::string> id);
    // Answers every pending question and makes later host calls return at once; for shutdown.
    void shutdown();

    // ActionHost: called from worker threads.
    std::optional<std::string> confirm(const ActionPreview& preview) override;
    void presentQuickLook(const Url& fileURL) override;
    void presentResult(const std::string& title, const std::string& body,
                       const InboxItem& sourceItem) override;
    std::optional<std::string> askForText(const std::string& prompt, const std::string& placeholder) override;
    std::optional<FolderDestination> chooseFolder(const std::string& named) override;
    std::optional<std::vector<std::uint8_t>> accessBookmark(const Url& folderURL,
                                                            const std::string& reason) override;
    void openSettings() override;
    void reportProgress(const std::optional<std::string>& text) override;
    bool confirmSendingOffDevice(const std::string& summary, const std::string& providerName) override;

    // Whether a chosen folder covers the target: the same path or one inside it.
    static bool covers(const std::filesystem::path& chosen, const std::filesystem::path& target);
    // The value confirming a preview yields: the edited text, or the chosen option's value.
    static std::optional<std::string> confirmedValue(const ActionPreview& preview,
                                                     const std::string& editedText,
                                                     const std::optional<std::string>& choiceID);

private:
    template <class T> using Promise = std::shared_ptr<std::promise<T>>;

    void present(std::uint64_t generation, AnalysisPipeline::Result result);
    void apply(const ActionOutcome& outcome, const ActionID& id, std::uint64_t generation);
    void returnFromStage();
    void changed();
    void saveInBackground(const InboxItem& item, bool prune);
    void resolveInBackground(std::uint64_t generation, const InboxItem& item, bool keepSelection);
    void cancelAnalysis();
    void resumeContinuations();
    void openOnWorker(const Url& url, bool reveal);
    std::optional<FolderDestination> chooseFolderOnGui(const std::string& name);
    std::optional<std::vector<std::uint8_t>> accessBookmarkOnGui(const Url& folderURL,
                                                                 const std::string& reason);
    // Hands `start` to the GUI thread and waits for the promise it fulfils; `fallback` when
    // shutting down or when the GUI side was dropped.
    template <class T> T askOnGui(std::function<void(Promise<T>)> start, T fallback);

    Services services_;
    PanelStage stage_;
    std::optional<InboxItem> item_;
    ActionEngine::Resolved resolvedActions_;
    int selectedIndex_ = 0;
    std::optional<std::string> confirmationChoiceID_;
    bool showsAllActions_ = false;
    std::optional<std::string> statusMessage_;
    std::optional<TessellarError> warning_;
    std::optional<TessellarError> actionError_;
    std::optional<std::string> progressNote_;
    std::optional<ActionID> lastActionID_;
    // Bumped by every capture, show and reset: work started for an older one is dropped.
    std::uint64_t generation_ = 0;
    std::optional<std::stop_source> analysisStop_;
    std::stop_source runStop_;
    Promise<std::optional<std::string>> confirmContinuation_;
    Promise<std::optional<std::string>> promptContinuation_;
    Promise<bool> consentContinuation_;
    // Shared with work in flight so it can tell the view model is gone.
    std::shared_ptr<std::atomic<bool>> closing_ = std::make_shared<std::atomic<bool>>(false);
};

} // namespace tessellar::app
