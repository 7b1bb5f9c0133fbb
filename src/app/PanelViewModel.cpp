#include "app/PanelViewModel.h"

#include "kit/base/Log.h"
#include "kit/capture/ContentIngestor.h"
#include "kit/model/AnalysisStage.h"
#include "kit/text/StringHelpers.h"

#include <algorithm>
#include <utility>

namespace tessellar::app {

PanelStage PanelStage::analyzing(std::string message) {
    PanelStage stage = of(Kind::analyzing);
    stage.message = std::move(message);
    return stage;
}

PanelStage PanelStage::confirming(ActionPreview preview) {
    PanelStage stage = of(Kind::confirming);
    stage.preview = std::move(preview);
    return stage;
}

PanelStage PanelStage::prompting(std::string prompt, std::string placeholder) {
    PanelStage stage = of(Kind::prompting);
    stage.prompt = std::move(prompt);
    stage.placeholder = std::move(placeholder);
    return stage;
}

PanelStage PanelStage::output(std::string title, std::string body) {
    PanelStage stage = of(Kind::output);
    stage.title = std::move(title);
    stage.body = std::move(body);
    return stage;
}

PanelStage PanelStage::consent(std::string summary, std::string providerName) {
    PanelStage stage = of(Kind::consent);
    stage.summary = std::move(summary);
    stage.providerName = std::move(providerName);
    return stage;
}

PanelViewModel::PanelViewModel(Services services) : services_(std::move(services)) {}

PanelViewModel::~PanelViewModel() {
    shutdown();
}

void PanelViewModel::shutdown() {
    closing_->store(true);
    runStop_.request_stop();
    cancelAnalysis();
    resumeContinuations();
}

std::vector<ActionEngine::ActionDescriptor> PanelViewModel::visibleActions() const {
    return showsAllActions_ ? resolvedActions_.all() : resolvedActions_.primary;
}

std::string PanelViewModel::privacyNote() const {
    if (!services_.preferences || !services_.preferences->usesExternalAI())
        return "Everything here stays on this Mac.";
    return "Stays on this Mac until you pick an action that uses " + services_.preferences->providerModel() +
           ".";
}

void PanelViewModel::changed() {
    if (onChange)
        onChange();
}

void PanelViewModel::cancelAnalysis() {
    if (analysisStop_)
        analysisStop_->request_stop();
    analysisStop_.reset();
}

void PanelViewModel::resumeContinuations() {
    if (auto pending = std::exchange(confirmContinuation_, nullptr))
        pending->set_value(std::nullopt);
    if (auto pending = std::exchange(promptContinuation_, nullptr))
        pending->set_value(std::nullopt);
    if (auto pending = std::exchange(consentContinuation_, nullptr))
        pending->set_value(false);
}

void PanelViewModel::capture(const CapturedContent& content) {
    cancelAnalysis();
    const std::uint64_t generation = ++generation_;
    warning_.reset();
    actionError_.reset();
    statusMessage_.reset();
    stage_ = PanelStage::analyzing(AnalysisStage::receiving().message());
    changed();

    std::stop_source stop;
    analysisStop_ = stop;
    auto onStage = [this, generation, post = services_.post](const AnalysisStage& stage) {
        post([this, generation, message = stage.message()] {
            // A late report never overwrites a later stage.
            if (generation == generation_ && stage_.kind == PanelStage::Kind::analyzing) {
                stage_ = PanelStage::analyzing(message);
                changed();
            }
        });
    };
    services_.execute([this, generation, content, stop, onStage] {
        try {
            AnalysisPipeline::Result result = services_.pipeline->analyze(content, onStage, stop.get_token());
            if (stop.stop_requested())
                return;
            services_.post([this, generation, result = std::move(result)]() mutable {
                present(generation, std::move(result));
            });
        } catch (const Cancelled&) {
        } catch (const TessellarError& error) {
            services_.post([this, generation, error] {
                if (generation != generation_)
                    return;
                stage_ = PanelStage::empty();
                warning_ = error;
                changed();
            });
        } catch (const std::exception& error) {
            Log::error(Log::Category::pipeline, std::string("Analysis failed: ") + error.what());
            services_.post([this, generation] {
                if (generation != generation_)
                    return;
                stage_ = PanelStage::empty();
                warning_ = TessellarError::unsupportedDrop();
                changed();
            });
        }
    });
}

void PanelViewModel::present(std::uint64_t generation, AnalysisPipeline::Result result) {
    if (generation != generation_)
        return;
    services_.execute([this, generation, result = std::move(result)]() mutable {
        const ActionEngine::Resolved resolved =
            services_.engine->resolve(result.item, services_.makeContext(*this));
        result.item.suggestedActionIDs.clear();
        for (const auto& descriptor : resolved.all())
            result.item.suggestedActionIDs.push_back(descriptor.id);
        services_.post([this, generation, result, resolved] {
            if (generation != generation_)
                return;
            std::string offers;
            for (const ActionID& id : result.item.suggestedActionIDs)
                offers += (offers.empty() ? "" : ", ") + id.rawValue;
            Log::info(Log::Category::ui, "Panel offers for " +
                                             std::string(content_type::rawValue(result.item.contentType)) +
                                             ": " + offers);
            item_ = result.item;
            resolvedActions_ = resolved;
            selectedIndex_ = 0;
            showsAllActions_ = false;
            warning_ = result.warning;
            stage_ = PanelStage::result();
            changed();
            saveInBackground(result.item, true);
        });
    });
}

void PanelViewModel::saveInBackground(const InboxItem& item, bool prune) {
    services_.execute([this, item, prune] {
        try {
            if (auto history = services_.history ? services_.history() : nullptr)
                history->save(item);
        } catch (const std::exception& error) {
            // The item stays on screen; only the history misses it.
            Log::error(Log::Category::storage, std::string("Saving the item failed: ") + error.what());
        }
        if (prune && services_.pruneHistory)
            services_.pruneHistory();
    });
}

void PanelViewModel::resolveInBackground(std::uint64_t generation, const InboxItem& item,
                                         bool keepSelection) {
    services_.execute([this, generation, item, keepSelection] {
        ActionEngine::Resolved resolved = services_.engine->resolve(item, services_.makeContext(*this));
        services_.post([this, generation, resolved = std::move(resolved), keepSelection] {
            if (generation != generation_)
                return;
            resolvedActions_ = resolved;
            if (keepSelection) {
                const int count = int(visibleActions().size());
                selectedIndex_ = std::clamp(selectedIndex_, 0, std::max(0, count - 1));
            } else {
                selectedIndex_ = 0;
            }
            changed();
        });
    });
}

void PanelViewModel::useClipboard() {
    try {
        capture(services_.clipboardContent());
    } catch (const TessellarError& error) {
        stage_ = PanelStage::empty();
        actionError_ = error;
        changed();
    } catch (const std::exception&) {
        stage_ = PanelStage::empty();
        actionError_ = TessellarError::emptyClipboard();
        changed();
    }
}

void PanelViewModel::submitTypedText() {
    if (trimmed(typedText).empty())
        return;
    capture(ContentIngestor::capture(typedText));
}

void PanelViewModel::show(const InboxItem& existing) {
    cancelAnalysis();
    const std::uint64_t generation = ++generation_;
    warning_.reset();
    actionError_.reset();
    statusMessage_.reset();
    item_ = existing;
    stage_ = PanelStage::result();
    changed();
    resolveInBackground(generation, existing, false);
}

void PanelViewModel::reset() {
    cancelAnalysis();
    ++generation_;
    stage_ = PanelStage::empty();
    item_.reset();
    resolvedActions_ = {};
    selectedIndex_ = 0;
    showsAllActions_ = false;
    typedText.clear();
    statusMessage_.reset();
    warning_.reset();
    actionError_.reset();
    progressNote_.reset();
    resumeContinuations();
    changed();
}

void PanelViewModel::returnFromStage() {
    stage_ = item_ ? PanelStage::result() : PanelStage::empty();
}

void PanelViewModel::escape() {
    switch (stage_.kind) {
    case PanelStage::Kind::confirming:
        if (auto pending = std::exchange(confirmContinuation_, nullptr))
            pending->set_value(std::nullopt);
        break;
    case PanelStage::Kind::prompting:
        if (auto pending = std::exchange(promptContinuation_, nullptr))
            pending->set_value(std::nullopt);
        break;
    case PanelStage::Kind::consent:
        if (auto pending = std::exchange(consentContinuation_, nullptr))
            pending->set_value(false);
        break;
    case PanelStage::Kind::output:
        break;
    case PanelStage::Kind::analyzing:
    case PanelStage::Kind::empty:
    case PanelStage::Kind::result:
        if (onRequestClose)
            onRequestClose();
        return;
    }
    returnFromStage();
    changed();
}

void PanelViewModel::moveSelection(int delta) {
    if (stage_.kind == PanelStage::Kind::confirming && stage_.preview &&
        stage_.preview->style == ActionPreview::Style::choice) {
        const auto& options = stage_.preview->options;
        if (options.empty())
            return;
        const auto found = std::find_if(options.begin(), options.end(), [&](const auto& option) {
            return option.id == confirmationChoiceID_;
        });
        const int current = found == options.end() ? 0 : int(found - options.begin());
        const int next = std::clamp(current + delta, 0, int(options.size()) - 1);
        confirmationChoiceID_ = options[std::size_t(next)].id;
        changed();
        return;
    }
    const int count = int(visibleActions().size());
    if (count == 0)
        return;
    selectedIndex_ = std::clamp(selectedIndex_ + delta, 0, count - 1);
    changed();
}

void PanelViewModel::activateSelection() {
    if (stage_.kind != PanelStage::Kind::result)
        return;
    const auto visible = visibleActions();
    if (selectedIndex_ >= 0 && selectedIndex_ < int(visible.size()))
        run(visible[std::size_t(selectedIndex_)].id);
}

void PanelViewModel::toggleMoreActions() {
    if (resolvedActions_.secondary.empty())
        return;
    showsAllActions_ = !showsAllActions_;
    const int count = int(visibleActions().size());
    selectedIndex_ = std::clamp(selectedIndex_, 0, std::max(0, count - 1));
    changed();
}

void PanelViewModel::setConfirmationChoiceID(std::optional<std::string> id) {
    confirmationChoiceID_ = std::move(id);
    changed();
}

void PanelViewModel::run(const ActionID& id) {
    if (!item_)
        return;
    lastActionID_ = id;
    actionError_.reset();
    statusMessage_.reset();
    changed();
    auto action = services_.engine->action(id);
    if (!action)
        return;
    const std::uint64_t generation = generation_;
    runStop_ = std::stop_source();
    services_.execute([this, action, id, generation, item = *item_, stop = runStop_.get_token()] {
        auto fail = [this, generation](std::optional<TessellarError> error) {
            services_.post([this, generation, error] {
                if (generation != generation_)
                    return;
                returnFromStage();
                actionError_ = error;
                changed();
            });
        };
        try {
            ActionContext context = services_.makeContext(*this);
            context.stop = stop;
            ActionInvocation invocation{item, std::nullopt};
            if (const auto preview = action->preview(item, context)) {
                invocation.confirmedValue = confirm(*preview);
                if (!invocation.confirmedValue) {
                    // Cancelled: nothing to report; leave the confirmation if a button cancelled it.
                    services_.post([this, generation] {
                        if (generation == generation_ && stage_.kind == PanelStage::Kind::confirming) {
                            returnFromStage();
                            changed();
                        }
                    });
                    return;
                }
            }
            const ActionOutcome outcome = action->perform(invocation, context);
            services_.post([this, outcome, id, generation] { apply(outcome, id, generation); });
        } catch (const Cancelled&) {
            fail(std::nullopt);
        } catch (const TessellarError& error) {
            fail(error);
        } catch (const std::exception& error) {
            Log::error(Log::Category::actions, id.rawValue + " failed: " + error.what());
            fail(TessellarError(error.what()));
        }
    });
}

void PanelViewModel::apply(const ActionOutcome& outcome, const ActionID& id, std::uint64_t generation) {
    if (generation != generation_) {
        // The panel moved on; the history still learns what was done.
        if (outcome.updatedItem) {
            InboxItem updated = *outcome.updatedItem;
            updated.markCompleted(id);
            saveInBackground(updated, false);
        }
        return;
    }
    if (outcome.updatedItem) {
        InboxItem updated = *outcome.updatedItem;
        updated.markCompleted(id);
        item_ = updated;
        saveInBackground(updated, false);
        resolveInBackground(generation, updated, true);
    } else if (item_) {
        item_->markCompleted(id);
        saveInBackground(*item_, false);
    }
    statusMessage_ = outcome.message;
    if (stage_.kind == PanelStage::Kind::confirming || stage_.kind == PanelStage::Kind::prompting)
        returnFromStage();
    changed();
    if (!outcome.keepsPanelOpen && services_.after)
        services_.after(closeDelaySeconds, [this] {
            if (onRequestClose)
                onRequestClose();
        });
}

void PanelViewModel::recover(TessellarError::Recovery recovery) {
    using Recovery = TessellarError::Recovery;
    switch (recovery) {
    case Recovery::openFile:
        if (item_ && item_->fileURL)
            openOnWorker(*item_->fileURL, false);
        return;
    case Recovery::revealInFinder:
        if (item_ && item_->fileURL)
            openOnWorker(*item_->fileURL, true);
        return;
    case Recovery::tryAI:
        actionError_.reset();
        changed();
        run(ActionID{"summarize"});
        return;
    case Recovery::openSettings:
        actionError_.reset();
        changed();
        if (onRequestSettings)
            onRequestSettings();
        return;
    case Recovery::grantCalendarAccess:
    case Recovery::grantRemindersAccess: {
        const std::string pane =
            recovery == Recovery::grantCalendarAccess ? "Privacy_Calendars" : "Privacy_Reminders";
        if (auto url = Url::parse("x-apple.systempreferences:com.apple.preference.security?" + pane))
            openOnWorker(*url, false);
        return;
    }
    case Recovery::retry:
        actionError_.reset();
        changed();
        if (lastActionID_)
            run(*lastActionID_);
        return;
    }
}

void PanelViewModel::openOnWorker(const Url& url, bool reveal) {
    if (!services_.workspace)
        return;
    services_.execute([workspace = services_.workspace, url, reveal] {
        const bool done = reveal ? workspace->activateFileViewerSelecting(url) : workspace->open(url);
        if (!done)
            Log::notice(Log::Category::ui, "Could not open " + url.absoluteString());
    });
}

void PanelViewModel::resolveConfirmation(const std::optional<std::string>& value) {
    if (auto pending = std::exchange(confirmContinuation_, nullptr))
        pending->set_value(value);
}

void PanelViewModel::resolvePrompt(const std::optional<std::string>& value) {
    if (auto pending = std::exchange(promptContinuation_, nullptr))
        pending->set_value(value);
}

void PanelViewModel::resolveConsent(bool granted) {
    if (granted && services_.preferences)
        services_.preferences->setHasGrantedAIConsent(true);
    if (auto pending = std::exchange(consentContinuation_, nullptr))
        pending->set_value(granted);
}

std::optional<std::string> PanelViewModel::confirmedValue(const ActionPreview& preview,
                                                          const std::string& editedText,
                                                          const std::optional<std::string>& choiceID) {
    if (preview.style == ActionPreview::Style::editableValue)
        return editedText;
    for (const auto& option : preview.options)
        if (option.id == choiceID)
            return option.value;
    return std::nullopt;
}

template <class T> T PanelViewModel::askOnGui(std::function<void(Promise<T>)> start, T fallback) {
    if (closing_->load())
        return fallback;
    auto promise = std::make_shared<std::promise<T>>();
    std::future<T> answer = promise->get_future();
    services_.post([start = std::move(start), promise, closing = closing_] {
        if (closing->load())
            promise->set_value(T{});
        else
            start(promise);
    });
    try {
        return answer.get();
    } catch (const std::future_error&) {
        return fallback; // the GUI side went away without answering
    }
}

std::optional<std::string> PanelViewModel::confirm(const ActionPreview& preview) {
    return askOnGui<std::optional<std::string>>(
        [this, preview](Promise<std::optional<std::string>> promise) {
            if (auto previous = std::exchange(confirmContinuation_, promise))
                previous->set_value(std::nullopt);
            if (!preview.options.empty())
                confirmationChoiceID_ = preview.options.front().id;
            stage_ = PanelStage::confirming(preview);
            changed();
        },
        std::nullopt);
}

std::optional<std::string> PanelViewModel::askForText(const std::string& prompt,
                                                      const std::string& placeholder) {
    return askOnGui<std::optional<std::string>>(
        [this, prompt, placeholder](Promise<std::optional<std::string>> promise) {
            if (auto previous = std::exchange(promptContinuation_, promise))
                previous->set_value(std::nullopt);
            stage_ = PanelStage::prompting(prompt, placeholder);
            changed();
        },
        std::nullopt);
}

bool PanelViewModel::confirmSendingOffDevice(const std::string& summary, const std::string& providerName) {
    return askOnGui<bool>(
        [this, summary, providerName](Promise<bool> promise) {
            if (auto previous = std::exchange(consentContinuation_, promise))
                previous->set_value(false);
            stage_ = PanelStage::consent(summary, providerName);
            changed();
        },
        false);
}

void PanelViewModel::presentResult(const std::string& title, const std::string& body, const InboxItem&) {
    if (closing_->load())
        return;
    services_.post([this, title, body] {
        stage_ = PanelStage::output(title, body);
        changed();
    });
}

void PanelViewModel::presentQuickLook(const Url& fileURL) {
    if (closing_->load())
        return;
    services_.post([this, fileURL] {
        if (onQuickLook)
            onQuickLook(fileURL);
    });
}

void PanelViewModel::openSettings() {
    if (closing_->load())
        return;
    services_.post([this] {
        if (onRequestSettings)
            onRequestSettings();
    });
}

void PanelViewModel::reportProgress(const std::optional<std::string>& text) {
    if (closing_->load())
        return;
    services_.post([this, text] {
        if (progressNote_ == text)
            return;
        progressNote_ = text;
        changed();
    });
}

std::optional<FolderDestination> PanelViewModel::chooseFolder(const std::string& named) {
    return askOnGui<std::optional<FolderDestination>>(
        [this, named](Promise<std::optional<FolderDestination>> promise) {
            promise->set_value(chooseFolderOnGui(named));
        },
        std::nullopt);
}

std::optional<std::vector<std::uint8_t>> PanelViewModel::accessBookmark(const Url& folderURL,
                                                                        const std::string& reason) {
    if (services_.preferences)
        if (auto granted = services_.preferences->grantedBookmark(folderURL.path()))
            return granted;
    return askOnGui<std::optional<std::vector<std::uint8_t>>>(
        [this, folderURL, reason](Promise<std::optional<std::vector<std::uint8_t>>> promise) {
            promise->set_value(accessBookmarkOnGui(folderURL, reason));
        },
        std::nullopt);
}

std::optional<FolderDestination> PanelViewModel::chooseFolderOnGui(const std::string& name) {
    if (!services_.preferences || !services_.chooseFolder)
        return std::nullopt;
    std::vector<FolderDestination> destinations = services_.preferences->destinations();
    auto existing =
        std::find_if(destinations.begin(), destinations.end(),
                     [&](const FolderDestination& destination) { return destination.name == name; });
    if (onAuxiliaryUIChange)
        onAuxiliaryUIChange(true);
    const auto picked = services_.chooseFolder(
        existing != destinations.end() ? std::filesystem::path(existing->path) : std::filesystem::path(),
        "Choose where Tessellar should move " + name +
            " files. It only ever moves a file after you confirm.");
    std::optional<FolderDestination> chosen;
    if (picked) {
        if (existing != destinations.end()) {
            existing->path = picked->path.string();
            existing->bookmark = picked->bookmark;
            chosen = *existing;
        } else {
            chosen = FolderDestination{Uuid::random(), name, picked->path.string(), picked->bookmark};
            destinations.push_back(*chosen);
        }
        services_.preferences->setDestinations(destinations);
    }
    if (onAuxiliaryUIChange)
        onAuxiliaryUIChange(false);
    return chosen;
}

bool PanelViewModel::covers(const std::filesystem::path& chosen, const std::filesystem::path& target) {
    std::string base = chosen.lexically_normal().string();
    std::string inside = target.lexically_normal().string();
    while (base.size() > 1 && base.back() == '/')
        base.pop_back();
    while (inside.size() > 1 && inside.back() == '/')
        inside.pop_back();
    return inside == base || inside.starts_with(base == "/" ? base : base + "/");
}

std::optional<std::vector<std::uint8_t>> PanelViewModel::accessBookmarkOnGui(const Url& folderURL,
                                                                             const std::string& reason) {
    if (!services_.chooseFolder)
        return std::nullopt;
    if (onAuxiliaryUIChange)
        onAuxiliaryUIChange(true);
    std::optional<std::vector<std::uint8_t>> granted;
    const std::filesystem::path target = folderURL.filePath();
    const std::string name = folderURL.lastPathComponent();
    if (const auto picked = services_.chooseFolder(target, reason); picked && picked->bookmark) {
        if (!covers(picked->path, target)) {
            if (services_.alert)
                services_.alert("That folder doesn\u2019t cover " + name,
                                "Tessellar needs permission for \u201C" + name +
                                    "\u201D itself, or a folder that contains it. Nothing was changed.");
        } else {
            if (services_.preferences)
                services_.preferences->rememberGrant(target.string(), name, picked->bookmark);
            granted = picked->bookmark;
        }
    }
    if (onAuxiliaryUIChange)
        onAuxiliaryUIChange(false);
    return granted;
}

} // namespace tessellar::app
