#include "cli/ClassificationJSON.h"
#include "cli/CommandInput.h"
#include "cli/Commands.h"
#include "kit/classify/RuleBasedClassifier.h"
#include "kit/json/JSONTree.h"

#include <ostream>

namespace tessellar::cli {
namespace {

constexpr std::string_view usage =
    "Usage: tessellar-cli classify [TEXT | PATH | -]\n"
    "\n"
    "Recognises what a piece of content is, on this machine and by rules only, and prints\n"
    "the classification as one JSON object (or null when nothing was recognised).\n"
    "\n"
    "  TEXT   the text to classify (quote it)\n"
    "  PATH   an existing file, classified as a dropped file (its document text is read)\n"
    "  -      read the text from standard input (also when no argument is given)\n"
    "\n"
    "Options:\n"
    "  -h, --help   show this help\n"
    "\n"
    "Exit status: 0 classified (or null), 1 unreadable input, 2 bad usage.\n";

} // namespace

int classifyCommand(const Invocation& invocation) {
    std::optional<std::string> argument;
    if (const auto stop = readOneArgument(invocation, "classify", usage, argument))
        return *stop;

    std::optional<Classification> classification;
    if (const auto mapped = mappedInput(argument, invocation.in))
        classification = RuleBasedClassifier::classifyText(mapped->text, JSONTree::inPlacePadding);
    else
        classification = RuleBasedClassifier().classify(inputFor(argument, invocation.in));
    const nlohmann::ordered_json json =
        classification ? classification_json::encode(*classification) : nlohmann::ordered_json(nullptr);
    invocation.out << json.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << "\n";
    return success;
}

} // namespace tessellar::cli
