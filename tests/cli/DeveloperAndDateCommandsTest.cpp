#include "support/TempDir.h"

#include <fstream>
#include <gtest/gtest.h>
#include <libical/ical.h>
#include <memory>
#include <nlohmann/json.hpp>
#include <sys/wait.h>

namespace tessellar {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

struct ComponentFree {
    void operator()(icalcomponent* component) const { icalcomponent_free(component); }
};

std::string read(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

std::string quoted(const std::string& text) {
    std::string out = "'";
    for (const char c : text)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

class DeveloperAndDateCommands : public ::testing::Test {
protected:
    struct Outcome {
        int status = -1;
        std::string out;
        std::string err;
    };

    // Runs tessellar-cli with its data folder inside the test's own folder.
    Outcome run(const std::vector<std::string>& arguments, const std::string& input = "") {
        const fs::path cli =
            fs::read_symlink("/proc/self/exe").parent_path().parent_path() / "src" / "cli" / "tessellar-cli";
        std::ofstream(dir / "stdin", std::ios::binary) << input;
        std::string command = "XDG_DATA_HOME=" + quoted((dir / "data").string()) + " " + quoted(cli.string());
        for (const auto& a : arguments)
            command += " " + quoted(a);
        command += " < " + quoted((dir / "stdin").string()) + " > " + quoted((dir / "stdout").string()) +
                   " 2> " + quoted((dir / "stderr").string());
        const int raw = std::system(command.c_str());
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, read(dir / "stdout"), read(dir / "stderr")};
    }

    fs::path remindersFolder() const { return dir / "data" / "tessellar" / "calendars" / "reminders"; }

    testing::TempDir dir;
};

TEST_F(DeveloperAndDateCommands, FormatJSONPrettyPrintsStandardInput) {
    const auto r = run({"run", "formatJSON", "-"}, R"({"b": [1, 2], "a": {"c": null}})");
    ASSERT_EQ(r.status, 0) << r.err;
    const json out = json::parse(r.out);
    EXPECT_EQ(out["message"], "Copied");
    EXPECT_EQ(out["result"]["title"], "Formatted JSON (copied)");
    EXPECT_EQ(out["clipboard"], out["result"]["body"]);
    const std::string pretty = out["clipboard"];
    EXPECT_LT(pretty.find("\"a\""), pretty.find("\"b\""));
    EXPECT_EQ(json::parse(pretty), json::parse(R"({"a": {"c": null}, "b": [1, 2]})"));

    const auto notJSON = run({"run", "formatJSON", "-"}, "plain words");
    EXPECT_EQ(notJSON.status, 1);
    EXPECT_EQ(notJSON.out, "");
}

TEST_F(DeveloperAndDateCommands, ReminderNeedsConfirmationThenWritesAValidToDo) {
    const std::string text = "Dentist tomorrow at 3pm";
    const auto asked = run({"run", "createReminder", text});
    ASSERT_EQ(asked.status, 3) << asked.err;
    EXPECT_EQ(json::parse(asked.out)["title"], "Add reminder");
    EXPECT_FALSE(fs::exists(remindersFolder()));

    const auto done = run({"run", "--yes", "createReminder", text});
    ASSERT_EQ(done.status, 0) << done.err;
    EXPECT_EQ(json::parse(done.out)["message"], "Added to Reminders");
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(remindersFolder()))
        if (entry.path().extension() == ".ics")
            files.push_back(entry.path());
    ASSERT_EQ(files.size(), 1u);
    const std::unique_ptr<icalcomponent, ComponentFree> calendar(
        icalparser_parse_string(read(files[0]).c_str()));
    ASSERT_TRUE(calendar);
    EXPECT_EQ(icalrestriction_check(calendar.get()), 1);
    icalcomponent* todo = icalcomponent_get_first_component(calendar.get(), ICAL_VTODO_COMPONENT);
    ASSERT_TRUE(todo);
    EXPECT_TRUE(icalcomponent_get_first_component(todo, ICAL_VALARM_COMPONENT));
    const std::string due =
        icalproperty_get_value_as_string(icalcomponent_get_first_property(todo, ICAL_DUE_PROPERTY));
    EXPECT_TRUE(due.ends_with("T150000")) << due;
}

} // namespace
} // namespace tessellar
