#pragma once

#include "app/RegistrationResult.h"

#include <QDBusObjectPath>
#include <QObject>
#include <QVariantMap>
#include <cstdint>

namespace tessellar::app {

// The global shortcut through the desktop portal (org.freedesktop.portal.GlobalShortcuts), the
// only way a Wayland client gets one. The portal asks the user to confirm the binding, so the
// final answer arrives later; failures then are logged.
class PortalShortcut : public QObject {
    Q_OBJECT
public:
    explicit PortalShortcut(QObject* parent = nullptr);

    // Whether the session bus offers the GlobalShortcuts portal.
    static bool isAvailable();
    // Asks the portal for the shortcut: failed(-1) when there is no portal, otherwise
    // registered while the portal's own dialogue runs.
    RegistrationResult bind(std::uint32_t keyCode, std::uint32_t modifiers);

    // The portal's trigger notation ("ALT+space") for a stored shortcut.
    static QString preferredTrigger(std::uint32_t keyCode, std::uint32_t modifiers);

signals:
    void activated();

private slots:
    void onSessionCreated(uint response, const QVariantMap& results);
    void onBound(uint response, const QVariantMap& results);
    void onActivated(const QDBusObjectPath& session, const QString& shortcutId, qulonglong timestamp,
                     const QVariantMap& options);

private:
    QString requestPath(const QString& token) const;

    QString trigger_;
    QDBusObjectPath session_;
    unsigned tokenCounter_ = 0;
};

} // namespace tessellar::app
