#include "cli/CommandInput.h"
#include "cli/Commands.h"
#include "kit/model/InboxItemJSON.h"
#include "kit/storage/AppPaths.h"
#include "kit/storage/SQLiteHistoryStore.h"

#include <charconv>
#include <ostream>

namespace tessellar::cli {
namespace {

constexpr int defaultLimit = 50;
constexpr int maxLimit = 100'000;

constexpr std::string_view usage =
    "Usage: tessellar-cli history [--search QUERY] [--limit N]\n"
    "\n"
    "Prints the stored items, newest first, one JSON object (the item payload) per line.\n"
    "\n"
    "Options:\n"
    "  --search QUERY   only items whose title, facts, link, file name or text contain QUERY\n"
    "  --limit N        at most N items (1 to 100000; default 50)\n"
    "  -h, --help       show this help\n"
    "\n"
    "Exit status: 0 listed (possibly nothing), 1 the history could not be read, 2 bad usage.\n";

std::optional<int> parseLimit(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < 1 || value > maxLimit)
        return std::nullopt;
    return value;
}

} // namespace

int historyCommand(const Invocation& invocation) {
    std::optional<std::string> query;
    int limit = defaultLimit;
    const auto& arguments = invocation.arguments;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& a = arguments[i];
        if (a == "-h" || a == "--help") {
            invocation.out << usage;
            return success;
        }
        const bool takesValue = a == "--search" || a == "--limit";
        if (!takesValue) {
            invocation.err << "tessellar-cli: history takes no argument " << inQuotes(a) << "\n" << usage;
            return badUsage;
        }
        if (i + 1 == arguments.size()) {
            invocation.err << "tessellar-cli: " << a << " needs a value\n" << usage;
            return badUsage;
        }
        const std::string& value = arguments[++i];
        if (a == "--search") {
            query = value;
        } else if (const auto parsed = parseLimit(value)) {
            limit = *parsed;
        } else {
            invocation.err << "tessellar-cli: --limit takes a whole number from 1 to 100000\n" << usage;
            return badUsage;
        }
    }

    SQLiteHistoryStore store(AppPaths::databasePath().string());
    const auto items = query ? store.search(*query, limit) : store.recent(limit);
    for (const auto& item : items)
        invocation.out << item_json::encode(item).dump(-1, ' ', false,
                                                       nlohmann::ordered_json::error_handler_t::replace)
                       << "\n";
    return success;
}

} // namespace tessellar::cli
