#pragma once

#include "kit/actions/ActionContext.h"
#include "support/InMemoryPasteboard.h"
#include "support/RecordingActionHost.h"
#include "support/RecordingWorkspace.h"

#include <memory>

namespace tessellar {

// The parts an action runs against in tests: an in-memory pasteboard, a recording host and a
// recording workspace, with a context over them.
struct ActionFixture {
    InMemoryPasteboard pasteboard;
    RecordingActionHost host;
    std::shared_ptr<RecordingWorkspace> workspace = std::make_shared<RecordingWorkspace>();
    std::vector<FolderDestination> folders;

    ActionContext context() {
        return ActionContext{nullptr, nullptr,   ClipboardService(pasteboard),
                             nullptr, nullptr,   [this] { return folders; },
                             &host,   workspace, {}};
    }
};

} // namespace tessellar
