#pragma once

#include "kit/actions/ActionContext.h"
#include "kit/intelligence/IntelligenceGateway.h"
#include "kit/model/InboxItem.h"
#include "kit/model/TessellarError.h"

#include <string>
#include <string_view>

namespace tessellar {

// What the AI actions share: the consent phrase for an item, and one provider call made
// through the gateway's consent step with a progress line that is cleared on every path.
namespace AIRequest {

// "the text of report.pdf", "this link", "the error text you captured" or "this text".
std::string describe(const InboxItem& item);

// Shows `progress`, secures consent for `summary`, runs `body(provider)` and hands its answer
// to the host as the result titled `title`; the progress line is cleared afterwards on every
// path. A declined consent throws Cancelled before anything is sent; provider failures pass
// through.
template <class Body>
void run(const ActionContext& context, const std::string& progress, std::string_view summary, Body&& body,
         const std::string& title, const InboxItem& item) {
    if (!context.intelligence)
        throw TessellarError::aiNotConfigured();
    ActionHost& host = context.requireHost();
    host.reportProgress(progress);
    struct Clear {
        ActionHost& host;
        ~Clear() { host.reportProgress(std::nullopt); }
    } clear{host};
    const ConsentPrompt ask = [&host](const std::string& what, const std::string& provider) {
        return host.confirmSendingOffDevice(what, provider);
    };
    const std::string answer = context.intelligence->run(summary, ask, std::forward<Body>(body));
    host.presentResult(title, answer, item);
}

} // namespace AIRequest

} // namespace tessellar
