#include "app/PanelController.h"

#include "app/PanelWindow.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QTimer>
#include <algorithm>

namespace tessellar::app {

PanelController::PanelController(PanelWindow& panel, PanelViewModel::Services services,
                                 std::function<void(const std::string&)> copyText, QObject* parent)
    : QObject(parent), panel_(panel) {
    pool_.setMaxThreadCount(workerThreads);
    services.execute = [this](PanelViewModel::Task task) { pool_.start(std::move(task)); };
    services.post = [this](PanelViewModel::Task task) { post(std::move(task)); };
    services.after = [this](double seconds, PanelViewModel::Task task) {
        QTimer::singleShot(int(seconds * 1000), this, std::move(task));
    };
    services.chooseFolder = [this](const std::filesystem::path& start, const std::string& message) {
        return pickFolder(&panel_, start, message);
    };
    services.alert = [this](const std::string& message, const std::string& informative) {
        QMessageBox box(&panel_);
        box.setIcon(QMessageBox::Warning);
        box.setText(QString::fromStdString(message));
        box.setInformativeText(QString::fromStdString(informative));
        box.setStandardButtons(QMessageBox::Ok);
        box.exec();
    };
    model_ = std::make_unique<PanelViewModel>(std::move(services));
    PanelViewModel& model = *model_;
    model.onChange = [this] { publish(); };
    model.onRequestClose = [this] { emit closeRequested(); };
    model.onAuxiliaryUIChange = [this](bool shown) { panel_.setAuxiliaryUIShown(shown); };
    model.onRequestSettings = [this] { emit settingsRequested(); };
    model.onQuickLook = [this](const Url& url) {
        emit quickLookRequested(QString::fromStdString(url.filePath().string()));
    };

    connect(&panel_, &PanelWindow::captureRequested, this,
            [this](const CapturedContent& content) { model_->capture(content); });
    connect(&panel_, &PanelWindow::typedTextSubmitted, this, [this](const QString& text) {
        model_->typedText = text.toStdString();
        model_->submitTypedText();
    });
    connect(&panel_, &PanelWindow::useClipboardRequested, this, [this] { model_->useClipboard(); });
    connect(&panel_, &PanelWindow::actionActivated, this, [this](int row) {
        const auto visible = model_->visibleActions();
        if (row >= 0 && row < int(visible.size()))
            model_->run(visible[std::size_t(row)].id);
    });
    connect(&panel_, &PanelWindow::selectionMoveRequested, this,
            [this](int delta) { model_->moveSelection(delta); });
    connect(&panel_, &PanelWindow::activateSelectionRequested, this, [this] { model_->activateSelection(); });
    connect(&panel_, &PanelWindow::moreActionsToggled, this, [this] { model_->toggleMoreActions(); });
    connect(&panel_, &PanelWindow::recoveryChosen, this,
            [this](TessellarError::Recovery recovery) { model_->recover(recovery); });
    connect(&panel_, &PanelWindow::confirmationResolved, this, &PanelController::resolveConfirmation);
    connect(&panel_, &PanelWindow::promptResolved, this,
            [this](const std::optional<std::string>& value) { model_->resolvePrompt(value); });
    connect(&panel_, &PanelWindow::consentResolved, this,
            [this](bool granted) { model_->resolveConsent(granted); });
    connect(&panel_, &PanelWindow::copyRequested, this, [copyText](const std::string& text) {
        if (copyText)
            copyText(text);
    });
    connect(&panel_, &PanelWindow::escapeRequested, this, [this] { model_->escape(); });
    connect(&panel_, &PanelWindow::dragHoverChanged, this,
            [this](bool hovering) { model_->isDropTargeted = hovering; });
    connect(&panel_, &PanelWindow::dismissed, this, [this] { model_->reset(); });
    publish();
}

PanelController::~PanelController() {
    std::deque<PanelViewModel::Task> dropped;
    {
        std::lock_guard lock(queue_->mutex);
        queue_->closed = true;
        dropped.swap(queue_->tasks);
    }
    dropped.clear(); // releases the workers waiting on them
    model_->shutdown();
    pool_.waitForDone();
}

void PanelController::post(PanelViewModel::Task task) {
    {
        std::lock_guard lock(queue_->mutex);
        if (queue_->closed)
            return; // `task` is dropped outside the lock
        queue_->tasks.push_back(std::move(task));
    }
    QMetaObject::invokeMethod(this, &PanelController::drain, Qt::QueuedConnection);
}

void PanelController::drain() {
    for (;;) {
        PanelViewModel::Task task;
        {
            std::lock_guard lock(queue_->mutex);
            if (queue_->closed || queue_->tasks.empty())
                return;
            task = std::move(queue_->tasks.front());
            queue_->tasks.pop_front();
        }
        task();
    }
}

void PanelController::resolveConfirmation(const std::optional<std::string>& text) {
    const PanelStage& stage = model_->stage();
    if (!text || stage.kind != PanelStage::Kind::confirming || !stage.preview) {
        model_->resolveConfirmation(std::nullopt);
        return;
    }
    model_->resolveConfirmation(
        PanelViewModel::confirmedValue(*stage.preview, *text, model_->confirmationChoiceID()));
}

void PanelController::publish() {
    panel_.setState(render(*model_));
}

PanelState PanelController::render(const PanelViewModel& model) {
    using Kind = PanelStage::Kind;
    PanelState state;
    const PanelStage& stage = model.stage();
    switch (stage.kind) {
    case Kind::analyzing:
        state.stage = PanelState::Stage::analyzing;
        break;
    case Kind::confirming:
        state.stage = PanelState::Stage::confirming;
        break;
    case Kind::prompting:
        state.stage = PanelState::Stage::prompting;
        break;
    case Kind::output:
        state.stage = PanelState::Stage::output;
        break;
    case Kind::consent:
        state.stage = PanelState::Stage::consent;
        break;
    case Kind::empty:
        state.stage = PanelState::Stage::empty;
        break;
    case Kind::result:
        state.stage = PanelState::Stage::result;
        break;
    }
    state.message = stage.message;
    if (const auto& item = model.item()) {
        state.itemTitle = item->title;
        state.headline = item->headline;
        for (const auto& fact : item->metadata.facts)
            if (fact.label) // unlabelled facts are kept for actions only
                state.facts.push_back({*fact.label, fact.value});
    }
    const auto visible = model.visibleActions();
    const std::size_t primaryCount = model.resolvedActions().primary.size();
    for (std::size_t i = 0; i < visible.size(); ++i) {
        const auto& action = visible[i];
        bool completed = action.wasCompleted;
        if (const auto& item = model.item())
            completed =
                completed || std::find(item->completedActionIDs.begin(), item->completedActionIDs.end(),
                                       action.id) != item->completedActionIDs.end();
        state.actions.push_back({action.id.rawValue,
                                 action.title,
                                 {},
                                 action.icon,
                                 i < primaryCount,
                                 true,
                                 completed,
                                 action.sendsDataOffDevice});
    }
    state.selectedIndex = model.selectedIndex();
    state.hasMoreActions = !model.resolvedActions().secondary.empty();
    state.showsAllActions = model.showsAllActions();
    state.statusMessage = model.statusMessage() ? model.statusMessage() : model.progressNote();
    state.warning = model.warning();
    state.error = model.actionError();
    state.clipboardHint = model.clipboardHint;
    state.privacyNote = model.privacyNote();
    if (stage.preview) {
        const ActionPreview& preview = *stage.preview;
        std::string value = preview.detail;
        // The window edits one value; a choice shows the option the arrows select.
        if (preview.style == ActionPreview::Style::choice)
            for (const auto& option : preview.options)
                if (option.id == model.confirmationChoiceID())
                    value = option.label;
        state.confirmation =
            PanelConfirmation{preview.title, preview.rationale.value_or(""), preview.confirmLabel, value};
    }
    state.promptText = stage.prompt;
    state.promptPlaceholder = stage.placeholder;
    state.outputTitle = stage.title;
    state.outputBody = stage.body;
    state.consentSummary = stage.summary;
    state.consentProvider = stage.providerName;
    return state;
}

std::optional<PanelViewModel::PickedFolder>
PanelController::pickFolder(QWidget* parent, const std::filesystem::path& start, const std::string& message) {
    const QString chosen = QFileDialog::getExistingDirectory(parent, QString::fromStdString(message),
                                                             QString::fromStdString(start.string()));
    if (chosen.isEmpty())
        return std::nullopt;
    const std::string path = chosen.toStdString();
    return PanelViewModel::PickedFolder{path, std::vector<std::uint8_t>(path.begin(), path.end())};
}

} // namespace tessellar::app
