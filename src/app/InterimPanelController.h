#pragma once

#include "app/PanelState.h"
#include "kit/capture/ClipboardService.h"
#include "kit/classify/RuleBasedClassifier.h"
#include "kit/model/CapturedContent.h"
#include "kit/model/Classification.h"
#include "kit/model/ClassificationInput.h"

#include <QObject>
#include <cstdint>
#include <optional>

namespace tessellar::app {

class PanelWindow;

// Drives the panel until the full view model exists: classifies a capture with the rule-based
// classifier on the worker pool and lists the recommended actions. Running one only says that
// it is not available yet. Lives on the GUI thread.
class InterimPanelController : public QObject {
    Q_OBJECT
public:
    InterimPanelController(PanelWindow& panel, ClipboardService& clipboard, QObject* parent = nullptr);

    void capture(const CapturedContent& content);
    void submitTypedText(const QString& text);
    void useClipboard();
    void analyzeFile(const QString& path);
    void reset();
    void escape();
    void moveSelection(int delta);
    void activateSelection();
    void run(int row);
    void recover(TessellarError::Recovery recovery);

    const PanelState& state() const { return state_; }

    // What the classifier sees of a capture; a text file's contents are read up to a bound.
    static ClassificationInput inputFor(const CapturedContent& content);
    // "createReminder" → "Create reminder".
    static std::string titleFor(const ActionID& id);

    static constexpr std::size_t maximumTextFileBytes = 4u << 20;

signals:
    void closeRequested();

private:
    void present(std::uint64_t generation, const std::optional<Classification>& classification);
    void publish();

    PanelWindow& panel_;
    ClipboardService& clipboard_;
    PanelState state_;
    std::uint64_t generation_ = 0;
    std::optional<int> lastRow_;
};

} // namespace tessellar::app
