#include "cli/CliActionHost.h"
#include "cli/CommandInput.h"
#include "cli/Commands.h"
#include "cli/ProvisionalItem.h"
#include "desktop/ICalendarEventStore.h"
#include "kit/actions/ActionCatalog.h"
#include "kit/actions/ActionEngine.h"
#include "kit/actions/dates/RemindersService.h"
#include "kit/model/InboxItemJSON.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <ostream>
#include <sstream>
#include <unistd.h>

namespace tessellar::cli {
namespace {

constexpr std::string_view usage =
    "Usage: tessellar-cli run ACTION [--value V] [--yes] [--clipboard] [PATH | URL | TEXT | -]\n"
    "\n"
    "Recognises the content by rules and runs one of its actions (\"tessellar-cli actions\"\n"
    "lists them), then prints {\"message\", \"result\", \"clipboard\", \"item\"} as JSON.\n"
    "\n"
    "  ACTION        the action's id, such as copy, copyURL or searchWeb\n"
    "  --value V     the answer to the action's confirmation or question (for a choice, an\n"
    "                option's id, label or value)\n"
    "  --yes         accept what the action proposes, and consent to sending data\n"
    "  --clipboard   put what the action copies on the desktop clipboard (wl-copy or xclip)\n"
    "                instead of into the \"clipboard\" field\n"
    "  PATH | URL | TEXT | -   the content, as for \"tessellar-cli actions\"\n"
    "\n"
    "Exit status: 0 done, 1 the action failed or isn\u2019t available, 2 bad usage,\n"
    "3 the action needs a confirmation (its preview is printed; answer with --value or --yes).\n";

std::optional<std::filesystem::path> onPath(std::string_view program) {
    const char* path = std::getenv("PATH");
    std::istringstream folders(path ? path : "");
    for (std::string folder; std::getline(folders, folder, ':');) {
        const auto candidate = std::filesystem::path(folder) / program;
        if (!folder.empty() && ::access(candidate.c_str(), X_OK) == 0)
            return candidate;
    }
    return std::nullopt;
}

// Hands the copied text (or file URL) to the desktop's clipboard tool, which keeps serving it
// after this process ends.
void writeDesktopClipboard(const std::string& text, bool isFile) {
    std::string command;
    const std::string type = isFile ? "text/uri-list" : "text/plain;charset=utf-8";
    if (std::getenv("WAYLAND_DISPLAY") && onPath("wl-copy"))
        command = "wl-copy --type '" + type + "'";
    else if (std::getenv("DISPLAY") && onPath("xclip"))
        command = "xclip -selection clipboard -t '" + type + "' >/dev/null 2>&1";
    else
        throw TessellarError("Tessellar couldn\u2019t find wl-copy or xclip to reach the clipboard.");
    FILE* pipe = ::popen(command.c_str(), "w");
    if (!pipe)
        throw TessellarError("Tessellar couldn\u2019t write to the clipboard.");
    const std::string payload = isFile ? text + "\r\n" : text;
    const bool written = std::fwrite(payload.data(), 1, payload.size(), pipe) == payload.size();
    if (::pclose(pipe) != 0 || !written)
        throw TessellarError("Tessellar couldn\u2019t write to the clipboard.");
}

nlohmann::ordered_json encode(const ActionPreview& preview) {
    nlohmann::ordered_json options = nlohmann::ordered_json::array();
    for (const auto& option : preview.options)
        options.push_back({{"id", option.id},
                           {"label", option.label},
                           {"value", option.value},
                           {"detail", option.detail ? nlohmann::ordered_json(*option.detail) : nullptr}});
    return {{"title", preview.title},
            {"detail", preview.detail},
            {"style", ActionPreview::rawValue(preview.style)},
            {"rationale", preview.rationale ? nlohmann::ordered_json(*preview.rationale) : nullptr},
            {"confirmLabel", preview.confirmLabel},
            {"options", std::move(options)},
            {"warnsAboutNetwork", preview.warnsAboutNetwork}};
}

void print(std::ostream& out, const nlohmann::ordered_json& json) {
    out << json.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) << "\n";
}

} // namespace

int runCommand(const Invocation& invocation) {
    std::vector<std::string> positional;
    std::optional<std::string> value;
    bool yes = false;
    bool desktopClipboard = false;
    bool endOfOptions = false;
    const auto& args = invocation.arguments;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (!endOfOptions && (a == "-h" || a == "--help")) {
            invocation.out << usage;
            return success;
        }
        if (!endOfOptions && a == "--") {
            endOfOptions = true;
        } else if (!endOfOptions && a == "--yes") {
            yes = true;
        } else if (!endOfOptions && a == "--clipboard") {
            desktopClipboard = true;
        } else if (!endOfOptions && a == "--value") {
            if (i + 1 == args.size()) {
                invocation.err << "tessellar-cli: --value needs a value\n" << usage;
                return badUsage;
            }
            value = args[++i];
        } else if (!endOfOptions && a.size() > 1 && a.starts_with("-")) {
            invocation.err << "tessellar-cli: unknown option " << a << "\n" << usage;
            return badUsage;
        } else {
            positional.push_back(a);
        }
    }
    if (positional.empty() || positional.size() > 2) {
        invocation.err << "tessellar-cli: run takes an action and one input; quote text that has blanks\n"
                       << usage;
        return badUsage;
    }

    const ActionEngine engine(ActionCatalog::standard());
    const auto action = engine.action(ActionID(positional[0]));
    if (!action) {
        invocation.err << "tessellar-cli: there\u2019s no action " << inQuotes(positional[0])
                       << "; \u201Ctessellar-cli actions\u201D lists those for an input\n";
        return badUsage;
    }
    const std::optional<std::string> argument =
        positional.size() == 2 ? std::optional(positional[1]) : std::nullopt;
    InboxItem item = provisionalItem(inputFor(argument, invocation.in));

    CapturingPasteboard pasteboard;
    CliActionHost host(value, yes);
    ActionContext context = actionContext(pasteboard, host);
    context.reminders = std::make_shared<RemindersService>(std::make_shared<ICalendarEventStore>());
    if (!action->availability(item, context).isAvailable())
        throw TessellarError(inQuotes(action->title()) + " isn\u2019t available for this item.");

    ActionOutcome outcome = ActionOutcome::cancelled;
    try {
        std::optional<std::string> confirmed;
        const auto preview = action->preview(item, context);
        if (preview)
            confirmed = host.confirm(*preview);
        if (!preview || confirmed)
            outcome = action->perform({item, confirmed}, context);
    } catch (const ConfirmationNeeded& needed) {
        print(invocation.out, encode(needed.preview));
        return needsConfirmation;
    } catch (const Cancelled&) {
        invocation.err << "tessellar-cli: the action was cancelled\n";
        return failure;
    }

    if (outcome.updatedItem)
        item = *outcome.updatedItem;
    if (outcome != ActionOutcome::cancelled)
        item.markCompleted(action->id());

    std::optional<std::string> copied = pasteboard.plainText();
    if (copied && desktopClipboard) {
        writeDesktopClipboard(*copied, !pasteboard.fileURLs().empty());
        copied.reset();
    }
    const auto result = host.result();
    print(invocation.out,
          nlohmann::ordered_json{
              {"message", outcome.message ? nlohmann::ordered_json(*outcome.message) : nullptr},
              {"result", result ? nlohmann::ordered_json{{"title", result->title}, {"body", result->body}}
                                : nlohmann::ordered_json(nullptr)},
              {"clipboard", copied ? nlohmann::ordered_json(*copied) : nullptr},
              {"item", item_json::encode(item)}});
    return success;
}

} // namespace tessellar::cli
