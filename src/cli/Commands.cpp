#include "cli/Commands.h"

#include <array>

namespace tessellar::cli {

std::span<const Command> commands() {
    static constexpr std::array table{
        Command{"classify", "classify [TEXT | PATH | -]        rule-based classification, as JSON",
                classifyCommand},
    };
    return table;
}

} // namespace tessellar::cli
