#include "app/SingleInstance.h"

#include "app/BusNames.h"
#include "kit/base/Log.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>

namespace tessellar::app {

SingleInstance::SingleInstance(QObject* parent) : QObject(parent) {}

bool SingleInstance::claim() {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        Log::notice(Log::Category::ui, "No session bus: `tessellar --toggle` cannot reach this instance");
        return true;
    }
    if (!bus.registerService(QString::fromLatin1(bus::serviceName)))
        return false;
    bus.registerObject(QString::fromLatin1(bus::objectPath), this, QDBusConnection::ExportScriptableSlots);
    return true;
}

void SingleInstance::Toggle() {
    emit toggleRequested();
}

void SingleInstance::Show() {
    emit showRequested();
}

void SingleInstance::Analyze(const QString& path) {
    emit analyzeRequested(path);
}

} // namespace tessellar::app
