#pragma once

#include "kit/platform/Workspace.h"

#include <chrono>

namespace tessellar {

// The workspace of a freedesktop session through GIO: default applications from the MIME
// associations, the file manager through org.freedesktop.FileManager1 on the session bus,
// applications by desktop-file id.
class GioWorkspace final : public Workspace {
public:
    // Longest wait for the file manager's answer before falling back to opening the folder.
    explicit GioWorkspace(std::chrono::milliseconds busTimeout = std::chrono::seconds(5));

    bool open(const Url& url) override;
    bool activateFileViewerSelecting(const Url& fileURL) override;
    // `identifier` + ".desktop" among the installed desktop entries.
    std::optional<Url> urlForApplication(std::string_view identifier) override;
    bool open(const Url& fileURL, const Url& applicationURL) override;

private:
    bool showInFileManager(const Url& fileURL) const;

    std::chrono::milliseconds busTimeout_;
};

} // namespace tessellar
