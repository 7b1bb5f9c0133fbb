#include "kit/actions/developer/DecodeJWTAction.h"

#include "kit/base/Clock.h"
#include "kit/detect/JWTDetector.h"
#include "kit/text/Formatting.h"

namespace tessellar {

ActionID DecodeJWTAction::id() const {
    return ActionID::decodeJWT;
}
std::string DecodeJWTAction::title() const {
    return "Decode Token";
}
std::string DecodeJWTAction::icon() const {
    return "key";
}

ActionAvailability DecodeJWTAction::availability(const InboxItem& item, const ActionContext&) const {
    if (item.contentType != ContentType::jwt || !item.bestText())
        return ActionAvailability::unavailable();
    return ActionAvailability::available(96);
}

ActionOutcome DecodeJWTAction::perform(const ActionInvocation& invocation,
                                       const ActionContext& context) const {
    const auto text = invocation.item.bestText();
    const auto token = text ? JWTDetector::token(*text) : std::nullopt;
    if (!token)
        throw TessellarError("This doesn\u2019t decode as a JSON Web Token.");
    std::string body = "HEADER\n" + token->header + "\n\nPAYLOAD\n" + token->payload;
    if (token->isExpired(Clock::now()))
        body = "This token expired " + Formatting::dayAndTime(*token->expiresAt) + ".\n\n" + body;
    body += "\n\nThe signature is not verified \u2014 that needs the signing key.";
    // Asked again rather than remembered: the clock may have passed the expiry meanwhile.
    const std::string title = token->isExpired(Clock::now()) ? "Expired token" : "Decoded token";
    context.requireHost().presentResult(title, body, invocation.item);
    return {std::nullopt, std::nullopt, true};
}

} // namespace tessellar
