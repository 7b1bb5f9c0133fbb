#pragma once

#include "kit/actions/ActionHost.h"
#include "kit/capture/ClipboardService.h"
#include "kit/model/FolderDestination.h"
#include "kit/platform/Workspace.h"

#include <functional>
#include <memory>
#include <stdexcept>
#include <stop_token>
#include <vector>

namespace tessellar {

class TextExtractor;
class OCRService;
class IntelligenceGateway;
class RemindersService;

// The services handed to every availability, preview and perform call. A plain value that
// owns nothing but shared references; the services are thread-safe, so a copy may be used
// from any thread. Services an action does not need may be null (tests, the CLI).
struct ActionContext {
    std::shared_ptr<TextExtractor> textExtractor;
    std::shared_ptr<OCRService> ocr;
    ClipboardService clipboard;
    std::shared_ptr<IntelligenceGateway> intelligence;
    std::shared_ptr<RemindersService> reminders;
    // The user's destination folders as they are at the moment of the call; thread-safe.
    std::function<std::vector<FolderDestination>()> destinations;
    // Never null when the context is handed to an action.
    ActionHost* host = nullptr;
    // Opening, revealing and locating applications on the desktop.
    std::shared_ptr<Workspace> workspace;
    // Requested when the run is abandoned (a new capture, the panel closed); long actions
    // check it and throw Cancelled.
    std::stop_token stop;

    // The host and the workspace, for actions that need them; a context without them is a
    // wiring mistake (std::logic_error), not something the user can fix.
    ActionHost& requireHost() const;
    Workspace& requireWorkspace() const;
};

} // namespace tessellar

namespace tessellar {

inline ActionHost& ActionContext::requireHost() const {
    if (!host)
        throw std::logic_error("the action context has no host");
    return *host;
}

inline Workspace& ActionContext::requireWorkspace() const {
    if (!workspace)
        throw std::logic_error("the action context has no workspace");
    return *workspace;
}

} // namespace tessellar
