#pragma once

#include "app/RegistrationResult.h"

#include <QObject>
#include <cstdint>
#include <memory>

class QSocketNotifier;

namespace tessellar::app {

class X11KeyGrabber;
class PortalShortcut;

// Registers the one global shortcut with the desktop and reports its presses as fired().
// X11: a key grab on the root window. Wayland: the desktop portal's GlobalShortcuts when the
// session offers it; otherwise registration fails and the user binds `tessellar --toggle`.
class HotKeyManager : public QObject {
    Q_OBJECT
public:
    explicit HotKeyManager(QObject* parent = nullptr);
    ~HotKeyManager() override;

    // The stored key code and Carbon modifier bits; replaces any earlier registration.
    RegistrationResult registerShortcut(std::uint32_t keyCode, std::uint32_t modifiers);

    static constexpr const char* waylandHint =
        "This desktop offers no global-shortcut service; bind `tessellar --toggle` to a key in the "
        "desktop's keyboard settings.";

signals:
    void fired();

private:
    void readX11Events();

    std::unique_ptr<X11KeyGrabber> x11_;
    std::unique_ptr<QSocketNotifier> notifier_;
    PortalShortcut* portal_ = nullptr;
};

} // namespace tessellar::app
