#include "app/HotKeyManager.h"

#include "app/KeyTranslation.h"
#include "app/PortalShortcut.h"
#include "app/X11KeyGrabber.h"
#include "kit/base/Log.h"

#include <QGuiApplication>
#include <QSocketNotifier>

namespace tessellar::app {

HotKeyManager::HotKeyManager(QObject* parent) : QObject(parent) {}

HotKeyManager::~HotKeyManager() = default;

RegistrationResult HotKeyManager::registerShortcut(std::uint32_t keyCode, std::uint32_t modifiers) {
    const QString platform = QGuiApplication::platformName();
    if (platform == QLatin1String("xcb")) {
        if (!x11_) {
            x11_ = X11KeyGrabber::open();
            if (!x11_)
                return RegistrationResult::failed(-1);
            notifier_ = std::make_unique<QSocketNotifier>(x11_->fileDescriptor(), QSocketNotifier::Read);
            connect(notifier_.get(), &QSocketNotifier::activated, this, &HotKeyManager::readX11Events);
        }
        const auto combination = toX11(keyCode, modifiers);
        if (!combination) {
            x11_->ungrab();
            return RegistrationResult::failed(-1);
        }
        const RegistrationResult result = x11_->grab(*combination);
        // Events read while waiting for the grab's replies sit in xcb's queue, not the socket.
        readX11Events();
        return result;
    }
    if (platform == QLatin1String("wayland")) {
        if (!portal_)
            portal_ = new PortalShortcut(this);
        connect(portal_, &PortalShortcut::activated, this, &HotKeyManager::fired, Qt::UniqueConnection);
        const RegistrationResult result = portal_->bind(keyCode, modifiers);
        if (result.kind == RegistrationResult::Kind::failed)
            Log::notice(Log::Category::ui, waylandHint);
        return result;
    }
    Log::notice(Log::Category::ui, "No global shortcut on the " + platform.toStdString() + " platform");
    return RegistrationResult::failed(-1);
}

void HotKeyManager::readX11Events() {
    if (!x11_)
        return;
    for (int presses = x11_->dispatch(); presses > 0; --presses)
        emit fired();
}

} // namespace tessellar::app
