#pragma once

// What the app's tests share: waiting on the Qt loop, a scripted action, the panel's services
// over real analysis and actions, and alerts answered by presets.
#include "app/Alerts.h"
#include "app/PanelViewModel.h"
#include "kit/actions/ActionCatalog.h"
#include "kit/classify/RuleBasedClassifier.h"
#include "support/CliRunner.h"
#include "support/Fixtures.h"
#include "support/InMemoryKeyValueStore.h"
#include "support/InMemoryPasteboard.h"
#include "support/InMemorySecretStore.h"
#include "support/Items.h"
#include "support/RecordingWorkspace.h"
#include "support/TempDir.h"

#include <QtTest>
#include <QtWidgets>
#include <gtest/gtest.h>

namespace tessellar::testing {

// Runs the Qt loop until `done` holds; false after five seconds without it.
inline bool eventually(const std::function<bool()>& done) {
    for (int i = 0; i < 500 && !done(); ++i)
        QTest::qWait(10);
    return done();
}

// Runs `start` and waits for `signal` of `object`, unless `start` already emitted it.
template <class Object, class Signal>
void awaitSignal(Object* object, Signal signal, const std::function<void()>& start) {
    QSignalSpy spy(object, signal);
    start();
    if (spy.isEmpty()) {
        ASSERT_TRUE(spy.wait(10'000));
    }
}

// An action, offered for everything, whose preview and work the test scripts.
struct ScriptedAction : DropAction {
    std::string name;
    std::optional<ActionPreview> proposed;
    std::function<ActionOutcome(const ActionInvocation&, const ActionContext&)> body =
        [](const ActionInvocation&, const ActionContext&) {
            return ActionOutcome{"Done", {}, false};
        };

    ActionID id() const override { return ActionID(name); }
    std::string title() const override { return name; }
    std::string icon() const override { return "bolt"; }
    ActionAvailability availability(const InboxItem&, const ActionContext&) const override {
        return ActionAvailability::available(99);
    }
    std::optional<ActionPreview> preview(const InboxItem&, const ActionContext&) const override {
        return proposed;
    }
    ActionOutcome perform(const ActionInvocation& invocation, const ActionContext& context) const override {
        return body(invocation, context);
    }
};

// The panel's services: real analysis and the standard actions, fakes at the platform interfaces.
class PanelServices {
protected:
    TempDir dir;
    InMemoryPasteboard pasteboard;
    std::shared_ptr<RecordingWorkspace> workspace = std::make_shared<RecordingWorkspace>();
    std::shared_ptr<Preferences> preferences =
        std::make_shared<Preferences>(std::make_shared<InMemoryKeyValueStore>(),
                                      SecureStore(std::make_shared<InMemorySecretStore>()), "/home/ann");
    std::shared_ptr<ActionEngine> engine = std::make_shared<ActionEngine>(ActionCatalog::standard());

    app::PanelViewModel::Services services() {
        app::PanelViewModel::Services services;
        services.pipeline = std::make_shared<AnalysisPipeline>(nullptr, nullptr, ImageStore(dir / "Images"),
                                                               std::make_shared<RuleBasedClassifier>());
        services.engine = engine;
        services.makeContext = [this](ActionHost& host) {
            return ActionContext{nullptr, nullptr,   ClipboardService(pasteboard),
                                 nullptr, nullptr,   [this] { return preferences->destinations(); },
                                 &host,   workspace, {}};
        };
        services.preferences = preferences;
        services.workspace = workspace;
        return services;
    }
    std::shared_ptr<ScriptedAction> addAction(std::string name) {
        auto action = std::make_shared<ScriptedAction>();
        action->name = std::move(name);
        engine->registerAction(action);
        return action;
    }
};

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
