#pragma once

#include "kit/capture/ClipboardService.h"

#include <QObject>
#include <QString>
#include <memory>

namespace tessellar::app {

class HotKeyManager;
class InterimPanelController;
class PanelWindow;
class QtPasteboard;
class SingleInstance;
class TrayController;

// The composition root: builds every long-lived part of the app once and wires them together.
class AppEnvironment : public QObject {
    Q_OBJECT
public:
    explicit AppEnvironment(SingleInstance& instance, QObject* parent = nullptr);
    ~AppEnvironment() override;

    // Installs the tray and registers the shortcut.
    void start();

    void toggle();
    void showPanel();
    void hidePanel();
    void analyze(const QString& path);

    PanelWindow& panel() { return *panel_; }
    TrayController& tray() { return *tray_; }

    // Option-Space, the default shortcut.
    static constexpr std::uint32_t shortcutKeyCode = 49;
    static constexpr std::uint32_t shortcutModifiers = 0x800;

private:
    void registerShortcut();

    std::unique_ptr<QtPasteboard> pasteboard_;
    std::unique_ptr<ClipboardService> clipboard_;
    std::unique_ptr<PanelWindow> panel_;
    std::unique_ptr<InterimPanelController> controller_;
    std::unique_ptr<TrayController> tray_;
    std::unique_ptr<HotKeyManager> hotKeys_;
};

} // namespace tessellar::app
