#include "cli/CommandInput.h"
#include "cli/Commands.h"
#include "kit/analysis/AnalysisPipeline.h"
#include "kit/classify/RuleBasedClassifier.h"
#include "kit/model/InboxItemJSON.h"
#include "kit/storage/AppPaths.h"
#include "kit/storage/SQLiteHistoryStore.h"

#include <iostream>
#include <ostream>
#include <unistd.h>

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
    bool endOfOptions = false;
    for (const auto& a : invocation.arguments) {
        if (!endOfOptions && (a == "-h" || a == "--help")) {
            invocation.out << usage;
            return success;
        }
        if (!endOfOptions && a == "--") {
            endOfOptions = true;
        } else if (!endOfOptions && a == "--save") {
            save = true;
        } else if (!endOfOptions && a.size() > 1 && a.starts_with("-")) {
            invocation.err << "tessellar-cli: unknown option " << a << "\n" << usage;
            return badUsage;
        } else if (argument) {
            invocation.err << "tessellar-cli: analyze takes one argument; quote text that has blanks\n"
                           << usage;
            return badUsage;
        } else {
            argument = a;
        }
    }

    const CapturedContent content = captureFor(argument, invocation.in);
    const bool showProgress = &invocation.err == &std::cerr && ::isatty(STDERR_FILENO) == 1;
    AnalysisPipeline pipeline(std::make_shared<TextExtractor>(), std::make_shared<OCRService>(),
                              ImageStore(AppPaths::imagesDirectory()),
                              std::make_shared<RuleBasedClassifier>());
    const auto result = pipeline.analyze(content, [&](const AnalysisStage& stage) {
        if (showProgress)
            invocation.err << stage.message() << "\n" << std::flush;
    });
    // Saved only once the whole analysis succeeded: a failure leaves the history untouched.
    if (save)
        SQLiteHistoryStore(AppPaths::databasePath().string()).save(result.item);

    nlohmann::ordered_json json;
    json["item"] = item_json::encode(result.item);
    json["warning"] = warningJSON(result.warning);
    // The ranked actions come from the action engine; until it is wired in, both lists are empty.
    json["actions"] = {{"primary", nlohmann::ordered_json::array()},
                       {"secondary", nlohmann::ordered_json::array()}};
    invocation.out << json.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << "\n";
    return success;
}

} // namespace tessellar::cli
