#include "app/SettingsWindow.h"

#include "app/FoldersSettingsTab.h"
#include "app/GeneralSettingsTab.h"
#include "app/IntelligenceSettingsTab.h"
#include "app/PrivacySettingsTab.h"

#include <QIcon>
#include <QMetaObject>
#include <QPointer>
#include <QTabWidget>
#include <QVBoxLayout>

namespace tessellar::app {

SettingsWindow::SettingsWindow(SettingsServices& services, QWidget* parent)
    : QWidget(parent), services_(services) {
    setWindowTitle(QStringLiteral("Tessellar Settings"));
    resize(560, 460);
    tabs_ = new QTabWidget(this);
    general_ = new GeneralSettingsTab(services_, tabs_);
    intelligence_ = new IntelligenceSettingsTab(services_, tabs_);
    privacy_ = new PrivacySettingsTab(services_, tabs_);
    folders_ = new FoldersSettingsTab(services_, tabs_);
    tabs_->addTab(general_, QIcon::fromTheme(QStringLiteral("preferences-system")),
                  QStringLiteral("General"));
    tabs_->addTab(intelligence_, QIcon::fromTheme(QStringLiteral("applications-science")),
                  QStringLiteral("AI"));
    tabs_->addTab(privacy_, QIcon::fromTheme(QStringLiteral("changes-prevent")), QStringLiteral("Privacy"));
    tabs_->addTab(folders_, QIcon::fromTheme(QStringLiteral("folder")), QStringLiteral("Folders"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);

    // The privacy line follows the provider settings, wherever they were changed.
    QPointer<SettingsWindow> window(this);
    observer_ = services_.preferences->addObserver([window](std::string_view key) {
        if (!key.starts_with("ai."))
            return;
        QMetaObject::invokeMethod(
            window.data(),
            [window] {
                if (window)
                    window->privacy_->refresh();
            },
            Qt::AutoConnection);
    });
}

SettingsWindow::~SettingsWindow() {
    services_.preferences->removeObserver(observer_);
}

void SettingsWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    general_->refresh();
    intelligence_->refresh();
    privacy_->refresh();
    folders_->refresh();
}

} // namespace tessellar::app
