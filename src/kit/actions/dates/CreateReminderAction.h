#pragma once

#include "kit/actions/DropAction.h"

#include <optional>
#include <string>

namespace tessellar {

// Adds a reminder for the item to the user's reminder list, due at the item's date when it has one.
class CreateReminderAction final : public DropAction {
public:
    ActionID id() const override;
    std::string title() const override;
    std::string icon() const override;
    ActionAvailability availability(const InboxItem& item, const ActionContext& context) const override;
    std::optional<ActionPreview> preview(const InboxItem& item, const ActionContext& context) const override;
    ActionOutcome perform(const ActionInvocation& invocation, const ActionContext& context) const override;

    // The proposed title, shared with the calendar action.
    static std::string reminderTitle(const InboxItem& item);
    // Where the item came from, ending with a fixed line; shared with the calendar action.
    static std::optional<std::string> notes(const InboxItem& item);
    // The confirmed value when it is not blank, otherwise the proposed title.
    static std::string confirmedTitle(const ActionInvocation& invocation);

private:
    // A date at midnight means "that day": remind at nine in the morning instead.
    static Timestamp atNineAMIfMidnight(Timestamp date);
};

} // namespace tessellar
