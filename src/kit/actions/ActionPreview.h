#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessellar {

// What an action asks the user to confirm before it runs.
struct ActionPreview {
    enum class Style { editableValue, choice };

    struct Option {
        std::string id; // unique within the preview
        std::string label;
        std::string value; // handed back to the action when this option is confirmed
        std::optional<std::string> detail;

        bool operator==(const Option&) const = default;
    };

    std::string title;
    // The proposed value for editableValue; a line about the proposal for choice.
    std::string detail;
    Style style = Style::editableValue;
    std::optional<std::string> rationale;
    std::string confirmLabel;
    std::vector<Option> options;
    bool warnsAboutNetwork = false;

    static constexpr std::string_view rawValue(Style style) {
        return style == Style::choice ? "choice" : "editableValue";
    }

    bool operator==(const ActionPreview&) const = default;
};

} // namespace tessellar
