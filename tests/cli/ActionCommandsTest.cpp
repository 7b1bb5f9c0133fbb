#include "support/CliRunner.h"
#include "support/TempDir.h"

#include <fstream>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace tessellar {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

using testing::cliPath;
using testing::shellQuoted;
using Outcome = testing::CliOutcome;

std::vector<std::string> ids(const json& list) {
    std::vector<std::string> out;
    for (const auto& d : list)
        out.push_back(d.at("id"));
    return out;
}

class ActionCommands : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(fs::exists(cliPath())) << "build the tessellar-cli target first"; }

    // Runs the tool with `environment` ("NAME=value …" for env) in front.
    Outcome invoke(const std::vector<std::string>& arguments, const std::string& input = "",
                   const std::string& environment = "") {
        std::ofstream(dir.path() / "stdin", std::ios::binary) << input;
        return testing::runCli(arguments, dir.path() / "stdin", dir.path(),
                               "env -u WAYLAND_DISPLAY -u DISPLAY " + environment);
    }

    testing::TempDir dir;
};

TEST_F(ActionCommands, ActionsListsRankedDescriptorsForALink) {
    const auto r = invoke({"actions", "https://example.com/a"});
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
    const auto r = invoke({"run", "copyURL", "https://example.com/a"});
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
    const auto file = invoke({"run", "copy", blank.string()});
    ASSERT_EQ(file.status, 0) << file.err;
    EXPECT_EQ(file.json()["message"], "Copied file");
    EXPECT_EQ(file.json()["clipboard"], "file://" + (dir.path() / "blank%20notes.txt").string());

    const auto saved = invoke({"run", "saveForLater", "--", "-"}, "keep this for later");
    ASSERT_EQ(saved.status, 0) << saved.err;
    EXPECT_EQ(saved.json()["message"], "Saved to your inbox");
    EXPECT_EQ(saved.json()["clipboard"], nullptr);
    EXPECT_TRUE(saved.json()["item"]["metadata"]["hidden"].contains("saved"));
    EXPECT_EQ(saved.json()["item"]["completedActionIDs"], json::parse(R"(["saveForLater"])"));
}

TEST_F(ActionCommands, ClipboardOptionHandsTheCopyToTheDesktopTool) {
    const auto missing = invoke({"run", "--clipboard", "copy", "hello"}, "", "PATH=/nonexistent");
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err,
              "tessellar-cli: Tessellar couldn\u2019t find wl-copy or xclip to reach the clipboard.\n");

    // A stand-in xclip that keeps its arguments and what it was given.
    const fs::path bin = dir.path() / "bin";
    fs::create_directories(bin);
    std::ofstream(bin / "xclip") << "#!/bin/sh\necho \"$@\" > '" << (dir.path() / "xclip.args").string()
                                 << "'\ncat > '" << (dir.path() / "xclip.in").string() << "'\n";
    fs::permissions(bin / "xclip", fs::perms::owner_all);
    const auto written = invoke({"run", "copy", "--clipboard", "héllo wörld"}, "",
                                "DISPLAY=:99 PATH=" + shellQuoted(bin.string() + ":/usr/bin:/bin"));
    ASSERT_EQ(written.status, 0) << written.err;
    EXPECT_EQ(written.json()["clipboard"], nullptr);
    EXPECT_EQ(written.json()["message"], "Copied");
    EXPECT_EQ(testing::readFile(dir.path() / "xclip.in"), "héllo wörld");
    EXPECT_EQ(testing::readFile(dir.path() / "xclip.args"),
              "-selection clipboard -t text/plain;charset=utf-8\n");
}

} // namespace
} // namespace tessellar
