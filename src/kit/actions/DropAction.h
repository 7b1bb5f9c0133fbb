#pragma once

#include "kit/actions/ActionAvailability.h"
#include "kit/actions/ActionContext.h"
#include "kit/actions/ActionInvocation.h"
#include "kit/actions/ActionOutcome.h"
#include "kit/actions/ActionPreview.h"
#include "kit/model/ActionID.h"
#include "kit/model/InboxItem.h"
#include "kit/model/TessellarError.h"

#include <optional>
#include <string>

namespace tessellar {

// One thing the user can do with an analysed item. Actions are immutable and called from
// several threads at once; every call blocks until done. preview and perform throw
// TessellarError for a failure the user should see, and Cancelled when the user backed out
// of a consent question or the context's stop token was requested.
class DropAction {
public:
    virtual ~DropAction() = default;

    virtual ActionID id() const = 0;
    // The button label.
    virtual std::string title() const = 0;
    // The name of the symbol shown beside the title.
    virtual std::string icon() const = 0;
    // True when running the action sends item content to a remote service.
    virtual bool sendsDataOffDevice() const { return false; }
    // True when the action cannot be undone.
    virtual bool isDestructive() const { return false; }

    // Never fails, changes nothing and asks the user nothing; may read the file system.
    virtual ActionAvailability availability(const InboxItem& item, const ActionContext& context) const = 0;
    // What to confirm before perform; absent runs the action without confirmation.
    virtual std::optional<ActionPreview> preview(const InboxItem& item, const ActionContext& context) const;
    virtual ActionOutcome perform(const ActionInvocation& invocation, const ActionContext& context) const = 0;
};

} // namespace tessellar
