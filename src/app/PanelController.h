#pragma once

#include "app/PanelState.h"
#include "app/PanelViewModel.h"

#include <QObject>
#include <QString>
#include <QThreadPool>
#include <deque>
#include <memory>
#include <mutex>

namespace tessellar::app {

class PanelWindow;

// Connects the panel window to its view model: the window's intents go to the view model, and
// every change of the view model is rendered into the window's PanelState. Owns the worker
// pool the view model's long work runs on, and hands work back to the GUI thread. Lives on the
// GUI thread; closing never waits for a worker that waits for the user.
class PanelController : public QObject {
    Q_OBJECT
public:
    // `services` needs no execute, post, after, chooseFolder or alert: the controller adds them.
    PanelController(PanelWindow& panel, PanelViewModel::Services services,
                    std::function<void(const std::string&)> copyText, QObject* parent = nullptr);
    ~PanelController() override;

    PanelViewModel& viewModel() { return *model_; }

    // The panel's picture of the view model's state.
    static PanelState render(const PanelViewModel& model);

    // A QFileDialog folder choice; the access token is the folder's absolute path.
    static std::optional<PanelViewModel::PickedFolder>
    pickFolder(QWidget* parent, const std::filesystem::path& start, const std::string& message);

    static constexpr int workerThreads = 4;

signals:
    void closeRequested();
    void settingsRequested();
    void quickLookRequested(const QString& path);

private:
    // Work handed to the GUI thread; dropped unrun once the controller closes, which releases
    // any worker waiting for an answer.
    struct GuiQueue {
        std::mutex mutex;
        std::deque<PanelViewModel::Task> tasks;
        bool closed = false;
    };

    void post(PanelViewModel::Task task);
    void drain();
    void publish();
    void resolveConfirmation(const std::optional<std::string>& text);

    PanelWindow& panel_;
    QThreadPool pool_;
    std::shared_ptr<GuiQueue> queue_ = std::make_shared<GuiQueue>();
    std::unique_ptr<PanelViewModel> model_;
};

} // namespace tessellar::app
