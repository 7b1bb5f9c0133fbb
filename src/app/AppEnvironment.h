#pragma once

#include "app/RegistrationResult.h"
#include "kit/actions/ActionContext.h"
#include "kit/actions/ActionEngine.h"
#include "kit/actions/dates/RemindersService.h"
#include "kit/analysis/AnalysisPipeline.h"
#include "kit/capture/ClipboardService.h"
#include "kit/capture/ImageStore.h"
#include "kit/intelligence/IntelligenceGateway.h"
#include "kit/storage/HistoryStore.h"
#include "kit/storage/Preferences.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>
#include <mutex>
#include <optional>

namespace tessellar::app {

class AppWindows;
class HotKeyManager;
class PanelController;
class PanelWindow;
class QtPasteboard;
class QuickLookWindow;
class SingleInstance;
class TrayController;

// The composition root: builds every long-lived part of the app once and wires them together.
// The preferences talk to the keyring as they load, so they (and what depends on them) are
// built on a worker; until they are ready the panel shows its empty state and files to
// analyse wait.
class AppEnvironment : public QObject {
    Q_OBJECT
public:
    explicit AppEnvironment(SingleInstance& instance, QObject* parent = nullptr);
    ~AppEnvironment() override;

    // Installs the tray, loads the preferences and then registers the stored shortcut.
    void start();

    void toggle();
    void showPanel();
    void hidePanel();
    void analyze(const QString& path);

    PanelWindow& panel() { return *panel_; }
    TrayController& tray() { return *tray_; }
    bool isReady() const { return controller_ != nullptr; }

    // The context handed to actions, with `host` answering their questions.
    ActionContext actionContext(ActionHost& host) const;
    // Removes history items (and their images) older than the retention period, on a worker.
    void pruneHistory();
    // The history, opened on first use; null when it cannot be opened (see historyFailure).
    std::shared_ptr<HistoryStore> history();
    std::optional<std::string> historyFailure() const;

    std::shared_ptr<Preferences> preferences() const { return preferences_; }
    std::shared_ptr<IntelligenceGateway> intelligence() const { return gateway_; }

    // Shows a stored item in the panel (the inbox reopens items this way).
    void showItem(const InboxItem& item);
    // Shows the item's file in the file manager.
    void reveal(const InboxItem& item);
    // Grabs the global shortcut, replacing the one held before.
    RegistrationResult registerShortcut(std::uint32_t keyCode, std::uint32_t modifiers);

    // The cut-off for a retention of `days` calendar days before `now`, in local time.
    static Timestamp retentionCutoff(Timestamp now, std::int64_t days);

signals:
    void ready();
    // For the windows the tray opens.
    void inboxRequested();
    void settingsRequested();
    void updateCheckRequested();

private:
    void servicesLoaded(std::shared_ptr<Preferences> preferences);
    void registerShortcut();
    void showNotice(const QString& title, const QString& text);
    void quickLook(const QString& path);

    std::unique_ptr<QtPasteboard> pasteboard_;
    std::unique_ptr<ClipboardService> clipboard_;
    std::unique_ptr<PanelWindow> panel_;
    std::unique_ptr<TrayController> tray_;
    std::unique_ptr<HotKeyManager> hotKeys_;
    std::unique_ptr<QuickLookWindow> quickLook_;

    std::shared_ptr<Preferences> preferences_;
    std::shared_ptr<TextExtractor> textExtractor_;
    std::shared_ptr<OCRService> ocr_;
    std::optional<ImageStore> imageStore_;
    std::shared_ptr<IntelligenceGateway> gateway_;
    std::shared_ptr<RemindersService> reminders_;
    std::shared_ptr<ActionEngine> engine_;
    std::shared_ptr<AnalysisPipeline> pipeline_;
    std::shared_ptr<Workspace> workspace_;
    mutable std::mutex historyMutex_;
    std::shared_ptr<HistoryStore> history_;
    std::optional<std::string> historyFailure_;
    bool historyOpened_ = false;

    std::unique_ptr<PanelController> controller_;
    std::unique_ptr<AppWindows> windows_;
    QStringList pendingPaths_;
    bool started_ = false;
};

} // namespace tessellar::app
