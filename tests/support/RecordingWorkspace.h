#pragma once

#include "kit/platform/Workspace.h"
#include "support/Guard.h"

#include <map>
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

    bool open(const Url& url) override { return record({"open", url.absoluteString(), ""}); }
    bool activateFileViewerSelecting(const Url& fileURL) override {
        return record({"reveal", fileURL.absoluteString(), ""});
    }
    std::optional<Url> urlForApplication(std::string_view identifier) override {
        return guard_.with([&]() -> std::optional<Url> {
            const auto found = applications_.find(identifier);
            return found == applications_.end() ? std::nullopt : std::optional(found->second);
        });
    }
    bool open(const Url& fileURL, const Url& applicationURL) override {
        return record({"openWith", fileURL.absoluteString(), applicationURL.absoluteString()});
    }

    std::vector<Call> calls() const { return guard_.read(calls_); }
    // What open, reveal and openWith answer (default true).
    void setSucceeds(bool succeeds) {
        guard_.with([&] { succeeds_ = succeeds; });
    }
    void install(const std::string& identifier, const Url& location) {
        guard_.with([&] { applications_.insert_or_assign(identifier, location); });
    }

private:
    bool record(Call call) {
        return guard_.with([&] {
            calls_.push_back(std::move(call));
            return succeeds_;
        });
    }

    testing::Guard guard_;
    std::vector<Call> calls_;
    bool succeeds_ = true;
    std::map<std::string, Url, std::less<>> applications_;
};

} // namespace tessellar
