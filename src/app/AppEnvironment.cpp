#include "app/AppEnvironment.h"

#include "app/AppWindows.h"
#include "app/HotKeyManager.h"
#include "app/KeyTranslation.h"
#include "app/PanelController.h"
#include "app/PanelWindow.h"
#include "app/QtPasteboard.h"
#include "app/QuickLookWindow.h"
#include "app/SingleInstance.h"
#include "app/TrayController.h"
#include "desktop/GioWorkspace.h"
#include "desktop/ICalendarEventStore.h"
#include "desktop/IniKeyValueStore.h"
#include "desktop/LibsecretSecretStore.h"
#include "kit/actions/ActionCatalog.h"
#include "kit/base/Clock.h"
#include "kit/base/Log.h"
#include "kit/base/MimeTypes.h"
#include "kit/intelligence/CompositeClassifier.h"
#include "kit/storage/AppPaths.h"
#include "kit/storage/SQLiteHistoryStore.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QMessageBox>
#include <QPointer>
#include <QThreadPool>
#include <ctime>
#include <set>
#include <utility>

namespace tessellar::app {

AppEnvironment::AppEnvironment(SingleInstance& instance, QObject* parent)
    : QObject(parent), pasteboard_(std::make_unique<QtPasteboard>(*QGuiApplication::clipboard())),
      clipboard_(std::make_unique<ClipboardService>(*pasteboard_)), panel_(std::make_unique<PanelWindow>()),
      tray_(std::make_unique<TrayController>()), hotKeys_(std::make_unique<HotKeyManager>()) {
    connect(tray_.get(), &TrayController::openPanelRequested, this, &AppEnvironment::toggle);
    connect(tray_.get(), &TrayController::openInboxRequested, this, &AppEnvironment::inboxRequested);
    connect(tray_.get(), &TrayController::openSettingsRequested, this, &AppEnvironment::settingsRequested);
    connect(tray_.get(), &TrayController::checkForUpdatesRequested, this,
            &AppEnvironment::updateCheckRequested);
    connect(tray_.get(), &TrayController::quitRequested, qApp, &QCoreApplication::quit);
    connect(hotKeys_.get(), &HotKeyManager::fired, this, &AppEnvironment::toggle);
    connect(&instance, &SingleInstance::toggleRequested, this, &AppEnvironment::toggle);
    connect(&instance, &SingleInstance::showRequested, this, &AppEnvironment::showPanel);
    connect(&instance, &SingleInstance::analyzeRequested, this, &AppEnvironment::analyze);
    connect(panel_.get(), &PanelWindow::dismissed, this,
            [] { Log::info(Log::Category::ui, "Panel hidden"); });

    textExtractor_ = std::make_shared<TextExtractor>();
    ocr_ = std::make_shared<OCRService>(); // starts Tesseract on first use only
    imageStore_.emplace(AppPaths::imagesDirectory());
    engine_ = std::make_shared<ActionEngine>(ActionCatalog::standard());
    std::string registered;
    for (const ActionID& id : engine_->registrationOrder())
        registered += (registered.empty() ? "" : ", ") + id.rawValue;
    Log::info(Log::Category::actions, "Registered actions: " + registered);
    workspace_ = std::make_shared<GioWorkspace>();
    gateway_ = std::make_shared<IntelligenceGateway>(IntelligenceGateway::Settings{});
    reminders_ = std::make_shared<RemindersService>(std::make_shared<ICalendarEventStore>());
    pipeline_ = std::make_shared<AnalysisPipeline>(
        textExtractor_, ocr_, *imageStore_,
        [gateway = gateway_, engine = engine_](const AnalysisPipeline::StageCallback& onStage) {
            auto classifier = std::make_shared<CompositeClassifier>();
            classifier->provider = gateway->provider();
            const auto known = engine->knownActionIDs();
            classifier->knownActionIDs = std::set<ActionID>(known.begin(), known.end());
            classifier->isAIAllowed = [gateway] { return gateway->isExternalAIReady(); };
            classifier->onStage = onStage;
            return classifier;
        });
}

AppEnvironment::~AppEnvironment() {
    controller_.reset();                          // first: it waits for the panel's workers
    QThreadPool::globalInstance()->waitForDone(); // a prune in flight uses the history
}

void AppEnvironment::start() {
    if (started_)
        return;
    started_ = true;
    tray_->install();
    QPointer<AppEnvironment> self(this);
    QThreadPool::globalInstance()->start([self] {
        std::shared_ptr<Preferences> preferences;
        try {
            preferences = std::make_shared<Preferences>(
                std::make_shared<IniKeyValueStore>(IniKeyValueStore::defaultPath()),
                SecureStore(std::make_shared<LibsecretSecretStore>()), QDir::homePath().toStdString());
        } catch (const std::exception& error) {
            Log::error(Log::Category::storage, std::string("Loading the settings failed: ") + error.what());
            return;
        }
        QMetaObject::invokeMethod(qApp, [self, preferences] {
            if (self)
                self->servicesLoaded(preferences);
        });
    });
}

void AppEnvironment::servicesLoaded(std::shared_ptr<Preferences> preferences) {
    preferences_ = std::move(preferences);
    gateway_->update(preferences_->intelligenceSettings());
    // Every change of an AI setting reaches the gateway, on the thread that made it.
    preferences_->addObserver(
        [gateway = gateway_, weak = std::weak_ptr<Preferences>(preferences_)](std::string_view) {
            if (auto preferences = weak.lock())
                gateway->update(preferences->intelligenceSettings());
        });
    gateway_->setConsentPersistence([weak = std::weak_ptr<Preferences>(preferences_)] {
        if (auto preferences = weak.lock())
            preferences->setHasGrantedAIConsent(true);
    });

    PanelViewModel::Services services;
    services.pipeline = pipeline_;
    services.engine = engine_;
    services.makeContext = [this](ActionHost& host) { return actionContext(host); };
    services.history = [this] { return history(); };
    services.pruneHistory = [this] { pruneHistory(); };
    services.preferences = preferences_;
    services.clipboardContent = [this] { return clipboard_->currentContent(); };
    services.workspace = workspace_;
    controller_ = std::make_unique<PanelController>(
        *panel_, std::move(services), [this](const std::string& text) { clipboard_->copy(text); });
    connect(controller_.get(), &PanelController::closeRequested, this, &AppEnvironment::hidePanel);
    connect(controller_.get(), &PanelController::settingsRequested, this, &AppEnvironment::settingsRequested);
    connect(controller_.get(), &PanelController::quickLookRequested, this, &AppEnvironment::quickLook);
    controller_->viewModel().clipboardHint = clipboard_->clipboardHint();

    registerShortcut();
    windows_ = std::make_unique<AppWindows>(*this);
    connect(this, &AppEnvironment::inboxRequested, windows_.get(), &AppWindows::showInbox);
    connect(this, &AppEnvironment::settingsRequested, windows_.get(), &AppWindows::showSettings);
    connect(this, &AppEnvironment::updateCheckRequested, windows_.get(), &AppWindows::checkForUpdates);
    pruneHistory();
    emit ready();
    for (const QString& path : std::exchange(pendingPaths_, {}))
        analyze(path);
}

ActionContext AppEnvironment::actionContext(ActionHost& host) const {
    return ActionContext{textExtractor_,
                         ocr_,
                         *clipboard_,
                         gateway_,
                         reminders_,
                         [preferences = preferences_] {
                             return preferences ? preferences->destinations()
                                                : std::vector<FolderDestination>{};
                         },
                         &host,
                         workspace_,
                         {}};
}

std::shared_ptr<HistoryStore> AppEnvironment::history() {
    std::lock_guard lock(historyMutex_);
    if (!historyOpened_) {
        historyOpened_ = true;
        try {
            history_ = std::make_shared<SQLiteHistoryStore>();
        } catch (const std::exception& error) {
            historyFailure_ = error.what();
            Log::error(Log::Category::storage,
                       std::string("The history could not be opened: ") + error.what());
        }
    }
    return history_;
}

std::optional<std::string> AppEnvironment::historyFailure() const {
    std::lock_guard lock(historyMutex_);
    return historyFailure_;
}

Timestamp AppEnvironment::retentionCutoff(Timestamp now, std::int64_t days) {
    const std::time_t seconds = std::time_t(now.unixSeconds);
    std::tm local{};
    if (!localtime_r(&seconds, &local))
        return Timestamp::fromUnix(-1e12);
    local.tm_mday -= int(std::min<std::int64_t>(days, 1'000'000));
    local.tm_isdst = -1; // the same wall-clock time, across a change of daylight saving
    const std::time_t cutoff = std::mktime(&local);
    if (cutoff == std::time_t(-1))
        return Timestamp::fromUnix(-1e12); // the distant past: prune nothing
    return Timestamp::fromUnix(double(cutoff) + (now.unixSeconds - double(seconds)));
}

void AppEnvironment::pruneHistory() {
    if (!preferences_)
        return;
    const std::int64_t days = preferences_->retentionDays();
    if (days < 1)
        return;
    const Timestamp cutoff = retentionCutoff(Clock::now(), days);
    QThreadPool::globalInstance()->start([this, cutoff, images = *imageStore_] {
        try {
            if (auto store = history())
                for (const InboxItem& item : store->deleteItems(cutoff))
                    images.remove(item.imagePath);
        } catch (const std::exception& error) {
            Log::notice(Log::Category::storage, std::string("Pruning the history failed: ") + error.what());
        }
    });
}

void AppEnvironment::showItem(const InboxItem& item) {
    if (!controller_)
        return;
    showPanel();
    controller_->viewModel().show(item);
}

void AppEnvironment::reveal(const InboxItem& item) {
    if (item.fileURL)
        workspace_->activateFileViewerSelecting(*item.fileURL);
}

RegistrationResult AppEnvironment::registerShortcut(std::uint32_t keyCode, std::uint32_t modifiers) {
    return hotKeys_->registerShortcut(keyCode, modifiers);
}

void AppEnvironment::registerShortcut() {
    const Preferences::Shortcut shortcut = preferences_->shortcut();
    const QString display = QString::fromStdString(shortcutDisplayText(shortcut.keyCode, shortcut.modifiers));
    const RegistrationResult result = hotKeys_->registerShortcut(shortcut.keyCode, shortcut.modifiers);
    tray_->setShortcut(display, result.kind == RegistrationResult::Kind::registered);
    switch (result.kind) {
    case RegistrationResult::Kind::registered:
        Log::info(Log::Category::ui, display.toStdString() + " registered");
        break;
    case RegistrationResult::Kind::alreadyInUse:
        Log::notice(Log::Category::ui,
                    display.toStdString() +
                        " is already registered by another app; Tessellar is menu-bar only.");
        showNotice(
            display + QStringLiteral(" is already in use"),
            QStringLiteral("Another app has registered that shortcut, so Tessellar left it alone. Pick a "
                           "different one in Settings \u203A General, or open Tessellar from the menu bar."));
        break;
    case RegistrationResult::Kind::failed:
        Log::error(Log::Category::ui,
                   "Hot key registration failed with status " + std::to_string(result.status));
        showNotice(
            QStringLiteral("Tessellar couldn\u2019t register ") + display,
            QStringLiteral("The desktop refused the shortcut (error %1). Pick a different one in Settings "
                           "\u203A General, or open Tessellar from the menu bar.")
                .arg(result.status));
        break;
    }
}

void AppEnvironment::showNotice(const QString& title, const QString& text) {
    // Only on the first launch; later the menu shows the problem.
    if (preferences_->hasCompletedWelcome())
        return;
    auto* box = new QMessageBox(QMessageBox::Information, title, title, QMessageBox::Ok);
    box->setInformativeText(text);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

void AppEnvironment::quickLook(const QString& path) {
    if (!quickLook_)
        quickLook_ = std::make_unique<QuickLookWindow>();
    if (quickLook_->preview(std::filesystem::path(path.toStdString())))
        quickLook_->show();
}

void AppEnvironment::toggle() {
    if (panel_->isPresented())
        hidePanel();
    else
        showPanel();
}

void AppEnvironment::showPanel() {
    if (!panel_->isPresented() && controller_) {
        controller_->viewModel().clipboardHint = clipboard_->clipboardHint();
        controller_->viewModel().reset();
    }
    panel_->present();
    Log::info(Log::Category::ui, "Panel shown");
}

void AppEnvironment::hidePanel() {
    panel_->dismiss();
    if (controller_)
        controller_->viewModel().reset();
    Log::info(Log::Category::ui, "Panel hidden");
}

void AppEnvironment::analyze(const QString& path) {
    showPanel();
    if (!controller_) {
        pendingPaths_.push_back(path);
        return;
    }
    CapturedContent content;
    content.source = SourceType::drop;
    content.fileURL = Url::fromFilePath(std::filesystem::path(path.toStdString()));
    content.typeIdentifier = MimeTypes::forFileName(content.fileURL->lastPathComponent());
    controller_->viewModel().capture(content);
}

} // namespace tessellar::app
