#include "support/CliRunner.h"
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

using testing::readFile;
using testing::shellQuoted;

class DeveloperAndDateCommands : public ::testing::Test {
protected:
    // Runs tessellar-cli with its data folder inside the test's own folder.
    testing::CliOutcome run(const std::vector<std::string>& arguments, const std::string& input = "") {
        std::ofstream(dir / "stdin", std::ios::binary) << input;
        return testing::runCli(arguments, dir / "stdin", dir.path(),
                               "XDG_DATA_HOME=" + shellQuoted((dir / "data").string()));
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
        icalparser_parse_string(readFile(files[0]).c_str()));
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
