#include "support/CliRunner.h"
#include "support/TempDir.h"

#include <fstream>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace tessellar {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

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

// Formatting JSON from standard input is a row of the tool's table (TessellarCliTest).
TEST_F(DeveloperAndDateCommands, ReminderNeedsConfirmationThenWritesAValidToDo) {
    const std::string text = "Dentist tomorrow at 3pm";
    const auto asked = run({"run", "createReminder", text});
    ASSERT_EQ(asked.status, 3) << asked.err;
    EXPECT_EQ(json::parse(asked.out)["title"], "Add reminder");
    EXPECT_FALSE(fs::exists(remindersFolder()));

    const auto done = run({"run", "--yes", "createReminder", text});
    ASSERT_EQ(done.status, 0) << done.err;
    EXPECT_EQ(json::parse(done.out)["message"], "Added to Reminders");
    // The file itself is checked against the iCalendar rules with the event store; here, after
    // unfolding its lines, that it is a to-do with an alarm due at 3 pm local time.
    std::vector<std::string> files;
    for (const auto& entry : fs::directory_iterator(remindersFolder()))
        if (entry.path().extension() == ".ics")
            files.push_back(readFile(entry.path()));
    ASSERT_EQ(files.size(), 1u);
    std::string ics = files[0];
    for (auto fold = ics.find("\r\n "); fold != std::string::npos; fold = ics.find("\r\n "))
        ics.erase(fold, 3);
    EXPECT_NE(ics.find("BEGIN:VTODO"), std::string::npos);
    EXPECT_NE(ics.find("BEGIN:VALARM"), std::string::npos);
    const auto due = ics.find("\r\nDUE");
    ASSERT_NE(due, std::string::npos);
    EXPECT_EQ(ics.substr(ics.find("\r\n", due + 2) - 7, 7), "T150000") << ics;
}

} // namespace
} // namespace tessellar
