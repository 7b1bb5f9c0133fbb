#include "app/Alerts.h"

#include <QMessageBox>
#include <QPushButton>

namespace tessellar::app {

QString MessageBoxAlerts::ask(const Alert& alert) {
    QMessageBox box(alert.style == Alert::Style::warning ? QMessageBox::Warning : QMessageBox::Information,
                    QStringLiteral("Tessellar"), alert.message, QMessageBox::NoButton, parent_);
    box.setInformativeText(alert.text);
    QList<QPushButton*> buttons;
    for (int i = 0; i < alert.buttons.size(); ++i) {
        // The first button is the default; a second one is the way out.
        const auto role = i == 0 ? QMessageBox::AcceptRole : QMessageBox::RejectRole;
        buttons.append(box.addButton(alert.buttons[i], role));
    }
    if (!buttons.isEmpty()) {
        box.setDefaultButton(buttons.first());
        box.setEscapeButton(buttons.last());
    }
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    box.show();
    box.raise();
    box.activateWindow();
    box.exec();
    const auto* clicked = box.clickedButton();
    for (int i = 0; i < buttons.size(); ++i)
        if (buttons[i] == clicked)
            return alert.buttons[i];
    return alert.buttons.isEmpty() ? QString() : alert.buttons.last();
}

} // namespace tessellar::app
