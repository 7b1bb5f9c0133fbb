#pragma once

#include "kit/base/Url.h"

#include <optional>
#include <string_view>

namespace tessellar {

// The desktop's workspace: opening links and files with their applications, showing files in
// the file manager, finding installed applications. Calls block until the desktop answered
// (bounded by a timeout, never hanging) and may come from any thread.
class Workspace {
public:
    virtual ~Workspace() = default;

    // Opens a web link or a file with the default application. False when there is none or
    // it could not be started.
    virtual bool open(const Url& url) = 0;

    // Shows the file selected in the file manager; without one that can select files, opens
    // the folder that holds it. False when neither worked.
    virtual bool activateFileViewerSelecting(const Url& fileURL) = 0;

    // Where the application with this identifier is installed (its desktop entry); absent
    // when it is not installed.
    virtual std::optional<Url> urlForApplication(std::string_view identifier) = 0;

    // Opens the file with the application installed at `applicationURL`. False on failure.
    virtual bool open(const Url& fileURL, const Url& applicationURL) = 0;
};

} // namespace tessellar
