#pragma once

#include "app/SettingsServices.h"

#include <QWidget>

class QTabWidget;

namespace tessellar::app {

class FoldersSettingsTab;
class GeneralSettingsTab;
class IntelligenceSettingsTab;
class PrivacySettingsTab;

// "Tessellar Settings": the preferences in four tabs.
class SettingsWindow : public QWidget {
    Q_OBJECT
public:
    // `services` must outlive the window.
    explicit SettingsWindow(SettingsServices& services, QWidget* parent = nullptr);
    ~SettingsWindow() override;

    QTabWidget& tabs() { return *tabs_; }
    GeneralSettingsTab& general() { return *general_; }
    IntelligenceSettingsTab& intelligence() { return *intelligence_; }
    PrivacySettingsTab& privacy() { return *privacy_; }
    FoldersSettingsTab& folders() { return *folders_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    SettingsServices& services_;
    QTabWidget* tabs_;
    GeneralSettingsTab* general_;
    IntelligenceSettingsTab* intelligence_;
    PrivacySettingsTab* privacy_;
    FoldersSettingsTab* folders_;
    int observer_;
};

} // namespace tessellar::app
