#include "cli/Commands.h"

#include <array>

namespace tessellar::cli {

std::span<const Command> commands() {
    static constexpr std::array table{
        Command{"classify", "classify [TEXT | PATH | -]        rule-based classification, as JSON",
                classifyCommand},
        Command{"config", "config get|set|list|set-key|test    the app's settings and the AI key",
                configCommand},
    };
    return table;
}

} // namespace tessellar::cli
