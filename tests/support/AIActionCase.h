#pragma once

#include "kit/intelligence/IntelligenceGateway.h"
#include "support/ActionCases.h"
#include "support/ScriptedHttpServer.h"

#include <memory>

namespace tessellar::testing {

// An action case whose context has an intelligence gateway: on the device until `useServer`
// points it at a local scripted server speaking the OpenAI-compatible protocol.
class AIActionCase : public ActionCase {
protected:
    ActionContext context() override {
        ActionContext context = fixture.context();
        context.intelligence = gateway;
        return context;
    }
    void useServer(bool consent) {
        gateway->update({IntelligenceGateway::ProviderKind::openAICompatible, *Url::parse(server.url("/v1")),
                         "tiny", "key", consent});
    }

    ScriptedHttpServer server;
    std::shared_ptr<IntelligenceGateway> gateway =
        std::make_shared<IntelligenceGateway>(IntelligenceGateway::Settings{});
};

} // namespace tessellar::testing
