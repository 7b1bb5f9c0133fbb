#include "cli/CliActionHost.h"
#include "cli/CommandInput.h"
#include "cli/Commands.h"
#include "kit/actions/ActionCatalog.h"
#include "kit/actions/ActionEngine.h"

#include <nlohmann/json.hpp>
#include <ostream>

namespace tessellar::cli {
namespace {

constexpr std::string_view usage =
    "Usage: tessellar-cli actions [PATH | URL | TEXT | -]\n"
    "\n"
    "Recognises the content by rules and prints the actions offered for it, ranked as the\n"
    "panel shows them: {\"primary\": [...], \"secondary\": [...]}, each action with its id,\n"
    "title, icon, whether it sends data off the device, relevance and whether it ran already.\n"
    "\n"
    "  PATH   an existing file        URL   an http(s) link\n"
    "  TEXT   the text itself         -     standard input (also when no argument is given)\n"
    "\n"
    "Options:\n"
    "  -h, --help   show this help\n"
    "\n"
    "Exit status: 0 listed, 1 unreadable input, 2 bad usage.\n";

nlohmann::ordered_json encode(const std::vector<ActionEngine::ActionDescriptor>& descriptors) {
    nlohmann::ordered_json list = nlohmann::ordered_json::array();
    for (const auto& d : descriptors)
        list.push_back({{"id", d.id.rawValue},
                        {"title", d.title},
                        {"icon", d.icon},
                        {"sendsDataOffDevice", d.sendsDataOffDevice},
                        {"isDestructive", d.isDestructive},
                        {"relevance", d.relevance},
                        {"wasCompleted", d.wasCompleted}});
    return list;
}

} // namespace

int actionsCommand(const Invocation& invocation) {
    std::optional<std::string> argument;
    if (const auto stop = readOneArgument(invocation, "actions", usage, argument))
        return *stop;

    const CliServices services;
    const InboxItem item = services.analyze(argument, invocation.in).item;
    CapturingPasteboard pasteboard;
    CliActionHost host(std::nullopt, false);
    const auto resolved = services.engine().resolve(item, actionContext(pasteboard, host, services));
    const nlohmann::ordered_json json{{"primary", encode(resolved.primary)},
                                      {"secondary", encode(resolved.secondary)}};
    invocation.out << json.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << "\n";
    return success;
}

} // namespace tessellar::cli
