#include "cli/Commands.h"

#include <array>

namespace tessellar::cli {

std::span<const Command> commands() {
    static constexpr std::array table{
        Command{"classify", "classify [TEXT | PATH | -]        rule-based classification, as JSON",
                classifyCommand},
        Command{"actions", "actions [PATH | URL | TEXT | -]   the ranked actions for the content, as JSON",
                actionsCommand},
        Command{"run",
                "run ACTION [--value V] [--yes] [--clipboard] [PATH | URL | TEXT | -]   run one action",
                runCommand},
    };
    return table;
}

} // namespace tessellar::cli
