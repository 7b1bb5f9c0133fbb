#pragma once

#include "kit/model/TessellarError.h"

#include <optional>
#include <string>
#include <vector>

namespace tessellar::app {

// Everything the floating panel draws, as one plain value. Whoever drives the panel (a view
// model) builds it; the window only renders it and reports the user's intents as signals.
struct PanelActionRow {
    std::string id;
    std::string title;
    std::string subtitle;
    std::string symbol;
    bool primary = true;
    bool enabled = true;
    bool completed = false;
    bool sendsData = false;
    bool operator==(const PanelActionRow&) const = default;
};

struct PanelFact {
    std::string label;
    std::string value;
    bool operator==(const PanelFact&) const = default;
};

struct PanelConfirmation {
    std::string title;
    std::string rationale;
    std::string confirmLabel;
    std::string value; // the editable value
    bool operator==(const PanelConfirmation&) const = default;
};

struct PanelState {
    enum class Stage { empty, analyzing, result, confirming, prompting, output, consent };

    Stage stage = Stage::empty;
    std::string message; // the analysing stage's message
    std::string itemTitle;
    std::optional<std::string> headline;
    std::vector<PanelFact> facts;
    std::vector<PanelActionRow> actions; // the visible rows, in order
    int selectedIndex = 0;
    bool hasMoreActions = false;
    bool showsAllActions = false;
    std::optional<std::string> statusMessage;
    std::optional<TessellarError> warning;
    std::optional<TessellarError> error; // shown with one button per recovery
    std::optional<std::string> clipboardHint;
    std::optional<std::string> privacyNote;
    std::optional<PanelConfirmation> confirmation; // stage confirming
    std::string promptText;                        // stage prompting
    std::string promptPlaceholder;
    std::string outputTitle; // stage output
    std::string outputBody;
    std::string consentSummary; // stage consent
    std::string consentProvider;

    bool operator==(const PanelState&) const = default;
};

} // namespace tessellar::app
