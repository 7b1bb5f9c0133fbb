#include "cli/Commands.h"

#include <array>

namespace tessellar::cli {

std::span<const Command> commands() {
    static constexpr std::array table{
        Command{"classify", "classify [TEXT | PATH | -]        rule-based classification, as JSON",
                classifyCommand},
        Command{"analyze", "analyze [--save] [PATH | URL | TEXT | -]   full analysis, as JSON",
                analyzeCommand},
        Command{"history", "history [--search QUERY] [--limit N]      stored items, newest first",
                historyCommand},
        Command{"actions", "actions [PATH | URL | TEXT | -]   the ranked actions for the content, as JSON",
                actionsCommand},
        Command{"run", "run ACTION [OPTIONS] [INPUT]      one action on the content, run without asking",
                runCommand},
        Command{"config", "config get|set|list|set-key|test    the app's settings and the AI key",
                configCommand},
    };
    return table;
}

} // namespace tessellar::cli
