#include "app/PortalShortcut.h"

#include "app/KeyTranslation.h"
#include "kit/base/Log.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusReply>
#include <QDBusVariant>

namespace tessellar::app {
namespace {

const QString service = QStringLiteral("org.freedesktop.portal.Desktop");
const QString path = QStringLiteral("/org/freedesktop/portal/desktop");
const QString interface = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
const QString shortcutId = QStringLiteral("toggle");

struct PortalShortcutSpec {
    QString id;
    QVariantMap properties;
};

QDBusArgument& operator<<(QDBusArgument& argument, const PortalShortcutSpec& spec) {
    argument.beginStructure();
    argument << spec.id << spec.properties;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, PortalShortcutSpec& spec) {
    argument.beginStructure();
    argument >> spec.id >> spec.properties;
    argument.endStructure();
    return argument;
}

} // namespace
} // namespace tessellar::app

Q_DECLARE_METATYPE(tessellar::app::PortalShortcutSpec)

namespace tessellar::app {

PortalShortcut::PortalShortcut(QObject* parent) : QObject(parent) {
    qDBusRegisterMetaType<PortalShortcutSpec>();
    qDBusRegisterMetaType<QList<PortalShortcutSpec>>();
}

bool PortalShortcut::isAvailable() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    QDBusMessage get = QDBusMessage::createMethodCall(
        service, path, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get << interface << QStringLiteral("version");
    const QDBusMessage reply = bus.call(get, QDBus::Block, 2000);
    return reply.type() == QDBusMessage::ReplyMessage;
}

QString PortalShortcut::preferredTrigger(std::uint32_t keyCode, std::uint32_t modifiers) {
    QStringList parts;
    if (modifiers & carbon::control)
        parts << QStringLiteral("CTRL");
    if (modifiers & carbon::option)
        parts << QStringLiteral("ALT");
    if (modifiers & carbon::shift)
        parts << QStringLiteral("SHIFT");
    if (modifiers & carbon::command)
        parts << QStringLiteral("LOGO");
    const std::string name = keyName(keyCode);
    parts << (keyCode == carbon::spaceKeyCode ? QStringLiteral("space")
                                              : QString::fromStdString(name).toLower());
    return parts.join(QLatin1Char('+'));
}

QString PortalShortcut::requestPath(const QString& token) const {
    // The portal's request object path is derived from our unique bus name and the token.
    QString sender = QDBusConnection::sessionBus().baseService().mid(1);
    sender.replace(QLatin1Char('.'), QLatin1Char('_'));
    return QStringLiteral("/org/freedesktop/portal/desktop/request/") + sender + QLatin1Char('/') + token;
}

RegistrationResult PortalShortcut::bind(std::uint32_t keyCode, std::uint32_t modifiers) {
    if (!isAvailable())
        return RegistrationResult::failed(-1);
    trigger_ = preferredTrigger(keyCode, modifiers);
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!session_.path().isEmpty()) {
        onSessionCreated(0, {{QStringLiteral("session_handle"), session_.path()}});
        return RegistrationResult::registered();
    }
    const QString token = QStringLiteral("tessellar%1").arg(++tokenCounter_);
    bus.connect(service, requestPath(token), QStringLiteral("org.freedesktop.portal.Request"),
                QStringLiteral("Response"), this, SLOT(onSessionCreated(uint, QVariantMap)));
    QDBusMessage create =
        QDBusMessage::createMethodCall(service, path, interface, QStringLiteral("CreateSession"));
    create << QVariantMap{{QStringLiteral("handle_token"), token},
                          {QStringLiteral("session_handle_token"), QStringLiteral("tessellar")}};
    const QDBusMessage reply = bus.call(create, QDBus::Block, 5000);
    if (reply.type() != QDBusMessage::ReplyMessage) {
        Log::error(Log::Category::ui,
                   "The shortcut portal refused a session: " + reply.errorMessage().toStdString());
        return RegistrationResult::failed(-1);
    }
    bus.connect(service, path, interface, QStringLiteral("Activated"), this,
                SLOT(onActivated(QDBusObjectPath, QString, qulonglong, QVariantMap)));
    return RegistrationResult::registered();
}

void PortalShortcut::onSessionCreated(uint response, const QVariantMap& results) {
    if (response != 0) {
        Log::error(Log::Category::ui, "The shortcut portal did not open a session");
        return;
    }
    session_ = QDBusObjectPath(results.value(QStringLiteral("session_handle")).toString());
    const QString token = QStringLiteral("tessellar%1").arg(++tokenCounter_);
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.connect(service, requestPath(token), QStringLiteral("org.freedesktop.portal.Request"),
                QStringLiteral("Response"), this, SLOT(onBound(uint, QVariantMap)));
    const QList<PortalShortcutSpec> shortcuts{
        {shortcutId,
         {{QStringLiteral("description"), QStringLiteral("Open Tessellar")},
          {QStringLiteral("preferred_trigger"), trigger_}}}};
    QDBusMessage bindCall =
        QDBusMessage::createMethodCall(service, path, interface, QStringLiteral("BindShortcuts"));
    bindCall << QVariant::fromValue(session_) << QVariant::fromValue(shortcuts) << QString()
             << QVariantMap{{QStringLiteral("handle_token"), token}};
    bus.asyncCall(bindCall);
}

void PortalShortcut::onBound(uint response, const QVariantMap&) {
    if (response != 0)
        Log::notice(Log::Category::ui, "The shortcut was not bound through the portal (response " +
                                           std::to_string(response) + ")");
}

void PortalShortcut::onActivated(const QDBusObjectPath& session, const QString& id, qulonglong,
                                 const QVariantMap&) {
    if (session == session_ && id == shortcutId)
        emit activated();
}

} // namespace tessellar::app
