#include "kit/actions/ai/AgentApp.h"

#include <array>
#include <utility>

namespace tessellar::AgentApps {

std::vector<AgentApp> installed(Workspace& workspace) {
    static const std::array<std::pair<const char*, const char*>, 2> known{{
        {"com.anthropic.claudefordesktop", "Claude"},
        {"com.openai.codex", "ChatGPT"},
    }};
    std::vector<AgentApp> found;
    for (const auto& [identifier, name] : known)
        if (auto location = workspace.urlForApplication(identifier))
            found.push_back({identifier, name, std::move(*location)});
    return found;
}

} // namespace tessellar::AgentApps
