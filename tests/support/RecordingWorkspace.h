#pragma once

#include "kit/platform/Workspace.h"

#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace tessellar {

// A workspace that records what it was asked and answers as set up: the desktop stand-in of
// the action tests.
class RecordingWorkspace final : public Workspace {
public:
    struct Call {
        std::string operation; // "open", "reveal", "openWith"
        std::string url;
        std::string application; // openWith only
        bool operator==(const Call&) const = default;
    };

    bool open(const Url& url) override;
    bool activateFileViewerSelecting(const Url& fileURL) override;
    std::optional<Url> urlForApplication(std::string_view identifier) override;
    bool open(const Url& fileURL, const Url& applicationURL) override;

    std::vector<Call> calls() const;
    // What open, reveal and openWith answer (default true).
    void setSucceeds(bool succeeds);
    void install(const std::string& identifier, const Url& location);

private:
    mutable std::mutex mutex_;
    std::vector<Call> calls_;
    bool succeeds_ = true;
    std::map<std::string, Url, std::less<>> applications_;
};

} // namespace tessellar
