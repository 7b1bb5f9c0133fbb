#include "cli/CommandLine.h"

#include "cli/CommandInput.h"
#include "cli/Commands.h"
#include "kit/model/TessellarError.h"

#include <iostream>
#include <span>
#include <string>

namespace tessellar::cli {
namespace {

void printUsage(std::ostream& stream) {
    stream << "Usage:\n";
    for (const Command& command : commands())
        stream << "  tessellar-cli " << command.synopsis << "\n";
    stream << "\n"
              "TEXT is the text itself, PATH an existing file, URL an http(s) link; \"-\" or no\n"
              "argument reads standard input. \"tessellar-cli COMMAND --help\" tells more.\n";
}

} // namespace

int run(const std::vector<std::string>& arguments, std::istream& in, std::ostream& out, std::ostream& err) {
    try {
        if (arguments.empty()) {
            printUsage(err);
            return badUsage;
        }
        const std::string& name = arguments.front();
        if (name == "-h" || name == "--help" || name == "help") {
            printUsage(out);
            return success;
        }
        for (const Command& command : commands()) {
            if (command.name == name)
                return command.run(Invocation{std::span(arguments).subspan(1), in, out, err});
        }
        err << "tessellar-cli: unknown command " << inQuotes(name) << "\n";
        printUsage(err);
        return badUsage;
    } catch (const TessellarError& error) {
        err << "tessellar-cli: " << error.message() << "\n";
        return failure;
    } catch (const std::exception& error) {
        err << "tessellar-cli: " << error.what() << "\n";
        return failure;
    }
}

} // namespace tessellar::cli
