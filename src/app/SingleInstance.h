#pragma once

#include <QObject>

namespace tessellar::app {

// One Tessellar per session: the first process owns `org.tessellar.Tessellar` on the session
// bus and answers Toggle, Show and Analyze(path); later processes hand their request over.
class SingleInstance : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.tessellar.Tessellar")
public:
    explicit SingleInstance(QObject* parent = nullptr);

    // Takes the bus name. False when another process holds it (or there is no session bus:
    // then the app runs on its own, reachable only through its shortcut and tray).
    bool claim();

public slots:
    Q_SCRIPTABLE void Toggle();
    Q_SCRIPTABLE void Show();
    Q_SCRIPTABLE void Analyze(const QString& path);

signals:
    void toggleRequested();
    void showRequested();
    void analyzeRequested(const QString& path);
};

} // namespace tessellar::app
