#include "app/InterimPanelController.h"

#include "app/PanelWindow.h"
#include "kit/base/Log.h"
#include "kit/base/MimeTypes.h"
#include "kit/capture/ContentIngestor.h"
#include "kit/model/AnalysisStage.h"
#include "kit/text/StringHelpers.h"

#include <QPointer>
#include <QThreadPool>
#include <algorithm>
#include <fstream>
#include <iterator>

namespace tessellar::app {

InterimPanelController::InterimPanelController(PanelWindow& panel, ClipboardService& clipboard,
                                               QObject* parent)
    : QObject(parent), panel_(panel), clipboard_(clipboard) {
    connect(&panel_, &PanelWindow::captureRequested, this, &InterimPanelController::capture);
    connect(&panel_, &PanelWindow::typedTextSubmitted, this, &InterimPanelController::submitTypedText);
    connect(&panel_, &PanelWindow::useClipboardRequested, this, &InterimPanelController::useClipboard);
    connect(&panel_, &PanelWindow::actionActivated, this, &InterimPanelController::run);
    connect(&panel_, &PanelWindow::selectionMoveRequested, this, &InterimPanelController::moveSelection);
    connect(&panel_, &PanelWindow::activateSelectionRequested, this,
            &InterimPanelController::activateSelection);
    connect(&panel_, &PanelWindow::recoveryChosen, this, &InterimPanelController::recover);
    connect(&panel_, &PanelWindow::escapeRequested, this, &InterimPanelController::escape);
    connect(&panel_, &PanelWindow::copyRequested, this,
            [this](const std::string& text) { clipboard_.copy(text); });
    connect(&panel_, &PanelWindow::dismissed, this, &InterimPanelController::reset);
    publish();
}

ClassificationInput InterimPanelController::inputFor(const CapturedContent& content) {
    ClassificationInput input;
    input.source = content.source;
    input.text = content.text;
    input.sourceURL = content.webURL;
    input.hasImage = content.imageData.has_value();
    input.typeIdentifier = content.typeIdentifier;
    if (!input.text && content.webURL)
        input.text = content.webURL->absoluteString();
    if (content.fileURL) {
        input.fileURL = content.fileURL;
        input.filename = content.suggestedName ? content.suggestedName : content.fileURL->lastPathComponent();
        if (!input.typeIdentifier)
            input.typeIdentifier =
                MimeTypes::forFileName(*input.filename).value_or(std::string(MimeTypes::data));
        input.hasImage = input.hasImage || MimeTypes::isImage(*input.typeIdentifier);
        if (!input.text && MimeTypes::conformsTo(*input.typeIdentifier, MimeTypes::plainText)) {
            std::ifstream file(content.fileURL->filePath(), std::ios::binary);
            std::string text(maximumTextFileBytes, '\0');
            file.read(text.data(), std::streamsize(text.size()));
            text.resize(std::size_t(file.gcount()));
            if (!text.empty())
                input.text = std::move(text);
        }
    }
    return input;
}

std::string InterimPanelController::titleFor(const ActionID& id) {
    // Split the camel-case id into words; acronyms ("JWT", "URL") stay in capitals.
    const std::string& raw = id.rawValue;
    auto upper = [](char c) { return c >= 'A' && c <= 'Z'; };
    std::vector<std::string> words;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        const bool startsWord =
            i == 0 || (upper(raw[i]) && (!upper(raw[i - 1]) || (i + 1 < raw.size() && !upper(raw[i + 1]))));
        if (startsWord)
            words.emplace_back();
        words.back() += raw[i];
    }
    std::string title;
    for (std::string& word : words) {
        const bool acronym = word.size() > 1 && std::all_of(word.begin(), word.end(), upper);
        if (!acronym)
            for (char& c : word)
                c = upper(c) ? char(c - 'A' + 'a') : c;
        if (title.empty() && !word.empty() && word[0] >= 'a' && word[0] <= 'z')
            word[0] = char(word[0] - 'a' + 'A');
        title += (title.empty() ? "" : " ") + word;
    }
    return title;
}

void InterimPanelController::capture(const CapturedContent& content) {
    const std::uint64_t generation = ++generation_;
    state_ = PanelState{};
    state_.stage = PanelState::Stage::analyzing;
    state_.message = AnalysisStage::receiving().message();
    publish();

    QPointer<InterimPanelController> self(this);
    const ClassificationInput input = inputFor(content);
    QThreadPool::globalInstance()->start([self, generation, input] {
        QMetaObject::invokeMethod(self, [self, generation] {
            if (self && self->generation_ == generation &&
                self->state_.stage == PanelState::Stage::analyzing) {
                self->state_.message = AnalysisStage::recognizing().message();
                self->publish();
            }
        });
        std::optional<Classification> classification;
        try {
            classification = RuleBasedClassifier().classify(input);
        } catch (const std::exception& error) {
            Log::error(Log::Category::pipeline, std::string("Classification failed: ") + error.what());
        }
        QMetaObject::invokeMethod(self, [self, generation, classification] {
            if (self)
                self->present(generation, classification);
        });
    });
}

void InterimPanelController::present(std::uint64_t generation,
                                     const std::optional<Classification>& classification) {
    // A newer capture or a reset made this result stale.
    if (generation != generation_ || state_.stage != PanelState::Stage::analyzing)
        return;
    if (!classification) {
        state_ = PanelState{};
        state_.warning = TessellarError::unsupportedDrop();
        publish();
        return;
    }
    state_ = PanelState{};
    state_.stage = PanelState::Stage::result;
    state_.itemTitle = classification->title;
    state_.headline = classification->headline;
    for (const auto& fact : classification->metadata.facts)
        state_.facts.push_back({fact.label.value_or(fact.key), fact.value});
    std::string ids;
    for (const ActionID& id : classification->recommendedActionIDs) {
        state_.actions.push_back({id.rawValue, titleFor(id), {}, {}, true, true, false, false});
        ids += (ids.empty() ? "" : ", ") + id.rawValue;
    }
    state_.privacyNote = "Everything here stays on this Mac.";
    Log::info(Log::Category::ui, "Panel offers: " + ids);
    publish();
}

void InterimPanelController::submitTypedText(const QString& text) {
    const std::string typed = text.toStdString();
    if (trimmed(typed).empty())
        return;
    capture(ContentIngestor::capture(typed));
}

void InterimPanelController::useClipboard() {
    try {
        capture(clipboard_.currentContent());
    } catch (const TessellarError& error) {
        ++generation_;
        state_ = PanelState{};
        state_.error = error;
        publish();
    }
}

void InterimPanelController::analyzeFile(const QString& path) {
    CapturedContent content;
    content.source = SourceType::drop;
    content.fileURL = Url::fromFilePath(std::filesystem::path(path.toStdString()));
    content.typeIdentifier = MimeTypes::forFileName(content.fileURL->lastPathComponent());
    capture(content);
}

void InterimPanelController::reset() {
    ++generation_;
    lastRow_.reset();
    state_ = PanelState{};
    state_.clipboardHint = clipboard_.clipboardHint();
    publish();
}

void InterimPanelController::escape() {
    switch (state_.stage) {
    case PanelState::Stage::analyzing:
    case PanelState::Stage::empty:
    case PanelState::Stage::result:
        emit closeRequested();
        return;
    default:
        state_.stage = state_.itemTitle.empty() ? PanelState::Stage::empty : PanelState::Stage::result;
        publish();
    }
}

void InterimPanelController::moveSelection(int delta) {
    if (state_.actions.empty())
        return;
    const int last = int(state_.actions.size()) - 1;
    state_.selectedIndex = std::clamp(state_.selectedIndex + delta, 0, last);
    publish();
}

void InterimPanelController::activateSelection() {
    if (state_.stage == PanelState::Stage::result && state_.selectedIndex >= 0 &&
        state_.selectedIndex < int(state_.actions.size()))
        run(state_.selectedIndex);
}

void InterimPanelController::run(int row) {
    if (row < 0 || row >= int(state_.actions.size()))
        return;
    lastRow_ = row;
    state_.selectedIndex = row;
    state_.error.reset();
    state_.statusMessage =
        "\u201C" + state_.actions[std::size_t(row)].title + "\u201D isn\u2019t available yet.";
    publish();
}

void InterimPanelController::recover(TessellarError::Recovery recovery) {
    state_.error.reset();
    if (recovery == TessellarError::Recovery::retry && lastRow_)
        run(*lastRow_);
    else
        publish();
}

void InterimPanelController::publish() {
    panel_.setState(state_);
}

} // namespace tessellar::app
