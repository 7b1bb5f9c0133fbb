#pragma once

#include "app/Alerts.h"

#include <QList>

namespace tessellar::testing {

// Records every alert and answers with the preset titles in order (then the last button).
class PresetAlerts : public app::Alerts {
public:
    QString ask(const app::Alert& alert) override {
        shown.append(alert);
        if (!answers.isEmpty())
            return answers.takeFirst();
        return alert.buttons.isEmpty() ? QString() : alert.buttons.last();
    }
    QList<app::Alert> shown;
    QStringList answers;
};

} // namespace tessellar::testing
