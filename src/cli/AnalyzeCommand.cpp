#include "cli/CliActionHost.h"
#include "cli/CliServices.h"
#include "cli/CommandInput.h"
#include "cli/Commands.h"
#include "kit/analysis/AnalysisPipeline.h"
#include "kit/model/InboxItemJSON.h"
#include "kit/storage/AppPaths.h"
#include "kit/storage/SQLiteHistoryStore.h"

#include <iostream>
#include <ostream>
#include <vector>

namespace tessellar::cli {
namespace {

constexpr std::string_view usage =
    "Usage: tessellar-cli analyze [--save] [PATH | URL | TEXT | -]\n"
    "\n"
    "Analyses a file, a link or a piece of text as the panel does (document text, text in\n"
    "images, recognition, file facts) and prints {\"item\", \"warning\", \"actions\"} as JSON.\n"
    "\n"
    "  PATH   an existing file, analysed as a dropped file\n"
    "  URL    an http(s) link\n"
    "  TEXT   the text to analyse (quote it)\n"
    "  -      read the text from standard input (also when no argument is given)\n"
    "\n"
    "Options:\n"
    "  --save       keep the item in the history\n"
    "  -h, --help   show this help\n"
    "\n"
    "Progress goes to standard error when it is a terminal.\n"
    "Exit status: 0 analysed, 1 unreadable input or a failure, 2 bad usage.\n";

nlohmann::ordered_json warningJSON(const std::optional<TessellarError>& warning) {
    if (!warning)
        return nullptr;
    nlohmann::ordered_json recovery = nlohmann::ordered_json::array();
    for (const auto choice : warning->recovery())
        recovery.push_back(std::string(TessellarError::rawValue(choice)));
    return {{"message", warning->message()}, {"recovery", std::move(recovery)}};
}

} // namespace

int analyzeCommand(const Invocation& invocation) {
    std::optional<std::string> argument;
    bool save = false;
    if (const auto stop = readOneArgument(invocation, "analyze", usage, argument, {{"--save", &save}}))
        return *stop;

    const bool showProgress = &invocation.err == &std::cerr && ::isatty(STDERR_FILENO) == 1;
    const CliServices services;
    auto result = services.analyze(argument, invocation.in, [&](const AnalysisStage& stage) {
        if (showProgress)
            invocation.err << stage.message() << "\n" << std::flush;
    });
    CapturingPasteboard pasteboard;
    CliActionHost host(std::nullopt, false);
    const auto resolved = services.engine().resolve(result.item, actionContext(pasteboard, host, services));
    result.item.suggestedActionIDs.clear();
    for (const auto& descriptor : resolved.all())
        result.item.suggestedActionIDs.push_back(descriptor.id);
    // Saved only once the whole analysis succeeded: a failure leaves the history untouched.
    if (save)
        SQLiteHistoryStore(AppPaths::databasePath().string()).save(result.item);

    nlohmann::ordered_json json;
    json["item"] = item_json::encode(result.item);
    json["warning"] = warningJSON(result.warning);
    const auto ids = [](const std::vector<ActionEngine::ActionDescriptor>& descriptors) {
        nlohmann::ordered_json list = nlohmann::ordered_json::array();
        for (const auto& descriptor : descriptors)
            list.push_back(descriptor.id.rawValue);
        return list;
    };
    json["actions"] = {{"primary", ids(resolved.primary)}, {"secondary", ids(resolved.secondary)}};
    invocation.out << json.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << "\n";
    return success;
}

} // namespace tessellar::cli
