#pragma once

#include <iosfwd>
#include <span>
#include <string>
#include <string_view>

namespace tessellar::cli {

// Exit codes: success, a failure the user can act on (message on stderr), bad usage, and an
// action that waits for a confirmation the command line did not give.
enum ExitCode : int { success = 0, failure = 1, badUsage = 2, needsConfirmation = 3 };

// Everything one command sees: its own arguments (after the command name) and the streams.
struct Invocation {
    std::span<const std::string> arguments;
    std::istream& in;
    std::ostream& out;
    std::ostream& err;
};

struct Command {
    std::string_view name;
    std::string_view synopsis; // one line for the overall help, after "tessellar-cli "
    int (*run)(const Invocation& invocation);
};

// Every command, in the order the help lists them (one line per command in Commands.cpp).
std::span<const Command> commands();

// One command's implementation each, in its own file.
int classifyCommand(const Invocation& invocation);
int actionsCommand(const Invocation& invocation);
int runCommand(const Invocation& invocation);

} // namespace tessellar::cli
