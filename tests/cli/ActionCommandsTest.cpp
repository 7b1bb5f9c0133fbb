#include "CliFixture.h"

#include <nlohmann/json.hpp>

namespace tessellar {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;
using ActionCommands = testing::CliTest;

std::vector<std::string> ids(const json& list) {
    std::vector<std::string> out;
    for (const auto& d : list)
        out.push_back(d.at("id"));
    return out;
}

TEST_F(ActionCommands, ActionsListsRankedDescriptorsForALink) {
    const auto r = run({"actions", "https://example.com/a"});
    ASSERT_EQ(r.status, 0) << r.err;
    const json out = r.json();
    EXPECT_EQ(ids(out["primary"]), (std::vector<std::string>{"openURL", "copyURL", "saveForLater", "copy"}));
    // Asking the on-device provider and adding a reminder are offered for any item, and tie
    // with searching by registration order.
    EXPECT_EQ(ids(out["secondary"]), (std::vector<std::string>{"askAI", "createReminder", "searchWeb"}));
    EXPECT_EQ(out["secondary"][2],
              json::parse(R"({"id":"searchWeb","title":"Search the Web","icon":"magnifyingglass",
        "sendsDataOffDevice":true,"isDestructive":false,"relevance":25,"wasCompleted":false})"));
    EXPECT_LT(r.out.find("\"primary\""), r.out.find("\"secondary\""));
}

TEST_F(ActionCommands, RunPrintsTheOutcomeTheCopyAndTheUpdatedItem) {
    const auto r = run({"run", "copyURL", "https://example.com/a"});
    ASSERT_EQ(r.status, 0) << r.err;
    const json out = r.json();
    EXPECT_EQ(out["message"], "Copied link");
    EXPECT_EQ(out["result"], nullptr);
    EXPECT_EQ(out["clipboard"], "https://example.com/a");
    EXPECT_EQ(out["item"]["sourceURL"], "https://example.com/a");
    EXPECT_EQ(out["item"]["completedActionIDs"], json::parse(R"(["copyURL"])"));
    EXPECT_LT(r.out.find("\"message\""), r.out.find("\"result\""));
    EXPECT_LT(r.out.find("\"clipboard\""), r.out.find("\"item\""));

    // A text file without text: Copy puts the file itself on the pasteboard.
    const fs::path blank = dir.path() / "blank notes.txt";
    std::ofstream(blank) << "  \n";
    const auto file = run({"run", "copy", blank.string()});
    ASSERT_EQ(file.status, 0) << file.err;
    EXPECT_EQ(file.json()["message"], "Copied file");
    EXPECT_EQ(file.json()["clipboard"], "file://" + (dir.path() / "blank%20notes.txt").string());
}

TEST_F(ActionCommands, ClipboardOptionHandsTheCopyToTheDesktopTool) {
    const auto missing = run({"run", "--clipboard", "copy", "hello"}, "", "PATH=/nonexistent");
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err,
              "tessellar-cli: Tessellar couldn\u2019t find wl-copy or xclip to reach the clipboard.\n");

    // A stand-in xclip that keeps its arguments and what it was given.
    const fs::path bin = dir.path() / "bin";
    fs::create_directories(bin);
    std::ofstream(bin / "xclip") << "#!/bin/sh\necho \"$@\" > '" << (dir.path() / "xclip.args").string()
                                 << "'\ncat > '" << (dir.path() / "xclip.in").string() << "'\n";
    fs::permissions(bin / "xclip", fs::perms::owner_all);
    const auto written = run({"run", "copy", "--clipboard", "héllo wörld"}, "",
                             "DISPLAY=:99 PATH=" + testing::shellQuoted(bin.string() + ":/usr/bin:/bin"));
    ASSERT_EQ(written.status, 0) << written.err;
    EXPECT_EQ(written.json()["clipboard"], nullptr);
    EXPECT_EQ(written.json()["message"], "Copied");
    EXPECT_EQ(testing::readFile(dir.path() / "xclip.in"), "héllo wörld");
    EXPECT_EQ(testing::readFile(dir.path() / "xclip.args"),
              "-selection clipboard -t text/plain;charset=utf-8\n");
}

TEST_F(ActionCommands, ReminderNeedsConfirmationThenWritesAToDo) {
    const std::string text = "Dentist tomorrow at 3pm";
    const fs::path reminders = data / "tessellar" / "calendars" / "reminders";
    const auto asked = run({"run", "createReminder", text});
    ASSERT_EQ(asked.status, 3) << asked.err;
    EXPECT_EQ(asked.json()["title"], "Add reminder");
    EXPECT_FALSE(fs::exists(reminders));

    const auto done = run({"run", "--yes", "createReminder", text});
    ASSERT_EQ(done.status, 0) << done.err;
    EXPECT_EQ(done.json()["message"], "Added to Reminders");
    // The file itself is checked against the iCalendar rules with the event store; here, once
    // its lines are unfolded, that it holds a to-do due at 3 pm local time (UTC times end in Z).
    std::string ics;
    for (const auto& entry : fs::directory_iterator(reminders))
        if (entry.path().extension() == ".ics")
            ics += testing::readFile(entry.path());
    for (auto fold = ics.find("\r\n "); fold != std::string::npos; fold = ics.find("\r\n "))
        ics.erase(fold, 3);
    EXPECT_NE(ics.find("BEGIN:VTODO"), std::string::npos);
    EXPECT_NE(ics.find("T150000\r\n"), std::string::npos) << ics;
}

} // namespace
} // namespace tessellar
