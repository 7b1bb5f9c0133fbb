#include "app/AppEnvironment.h"

#include "app/HotKeyManager.h"
#include "app/InterimPanelController.h"
#include "app/KeyTranslation.h"
#include "app/PanelWindow.h"
#include "app/QtPasteboard.h"
#include "app/SingleInstance.h"
#include "app/TrayController.h"
#include "kit/base/Log.h"

#include <QApplication>
#include <QClipboard>

namespace tessellar::app {

AppEnvironment::AppEnvironment(SingleInstance& instance, QObject* parent)
    : QObject(parent), pasteboard_(std::make_unique<QtPasteboard>(*QGuiApplication::clipboard())),
      clipboard_(std::make_unique<ClipboardService>(*pasteboard_)), panel_(std::make_unique<PanelWindow>()),
      controller_(std::make_unique<InterimPanelController>(*panel_, *clipboard_)),
      tray_(std::make_unique<TrayController>()), hotKeys_(std::make_unique<HotKeyManager>()) {
    connect(controller_.get(), &InterimPanelController::closeRequested, this, &AppEnvironment::hidePanel);
    connect(tray_.get(), &TrayController::openPanelRequested, this, &AppEnvironment::toggle);
    connect(tray_.get(), &TrayController::quitRequested, qApp, &QCoreApplication::quit);
    connect(hotKeys_.get(), &HotKeyManager::fired, this, &AppEnvironment::toggle);
    connect(&instance, &SingleInstance::toggleRequested, this, &AppEnvironment::toggle);
    connect(&instance, &SingleInstance::showRequested, this, &AppEnvironment::showPanel);
    connect(&instance, &SingleInstance::analyzeRequested, this, &AppEnvironment::analyze);
}

AppEnvironment::~AppEnvironment() = default;

void AppEnvironment::start() {
    tray_->install();
    registerShortcut();
}

void AppEnvironment::registerShortcut() {
    const QString display = QString::fromStdString(shortcutDisplayText(shortcutKeyCode, shortcutModifiers));
    const RegistrationResult result = hotKeys_->registerShortcut(shortcutKeyCode, shortcutModifiers);
    tray_->setShortcut(display, result.kind == RegistrationResult::Kind::registered);
    switch (result.kind) {
    case RegistrationResult::Kind::registered:
        Log::info(Log::Category::ui, display.toStdString() + " registered");
        break;
    case RegistrationResult::Kind::alreadyInUse:
        Log::notice(Log::Category::ui,
                    display.toStdString() +
                        " is already registered by another app; Tessellar is menu-bar only.");
        break;
    case RegistrationResult::Kind::failed:
        Log::error(Log::Category::ui,
                   "Hot key registration failed with status " + std::to_string(result.status));
        break;
    }
}

void AppEnvironment::toggle() {
    if (panel_->isPresented())
        hidePanel();
    else
        showPanel();
}

void AppEnvironment::showPanel() {
    if (!panel_->isPresented())
        controller_->reset();
    panel_->present();
    Log::info(Log::Category::ui, "Panel shown");
}

void AppEnvironment::hidePanel() {
    panel_->dismiss();
    controller_->reset();
    Log::info(Log::Category::ui, "Panel hidden");
}

void AppEnvironment::analyze(const QString& path) {
    showPanel();
    controller_->analyzeFile(path);
}

} // namespace tessellar::app
