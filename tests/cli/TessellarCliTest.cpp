#include "support/CliRunner.h"
#include "support/TempDir.h"

#include <fstream>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sys/stat.h>

namespace tessellar {
namespace {

namespace fs = std::filesystem;

using testing::cliPath;
using Outcome = testing::CliOutcome;

void write(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

class TessellarCli : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(fs::exists(cliPath())) << "build the tessellar-cli target first"; }

    Outcome invoke(const std::vector<std::string>& arguments, const std::string& input = "") {
        write(dir / "stdin", input);
        return testing::runCli(arguments, dir / "stdin", dir.path());
    }

    testing::TempDir dir;
};

TEST_F(TessellarCli, UnreadableInputExitsOneWithAMessage) {
    const auto binary = invoke({"classify"}, std::string("\xff\xfe\x00junk\xc3", 8));
    EXPECT_EQ(binary.status, 1);
    EXPECT_EQ(binary.out, "");
    EXPECT_EQ(binary.err, "tessellar-cli: The input isn\u2019t valid UTF-8 text.\n");

    const auto invalidArgument = invoke({"classify", std::string("caf\xe9")});
    EXPECT_EQ(invalidArgument.status, 1);

    ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0600), 0);
    const auto fifo = invoke({"classify", (dir / "pipe").string()});
    EXPECT_EQ(fifo.status, 1);
    EXPECT_NE(fifo.err.find("isn\u2019t a file Tessellar can read."), std::string::npos);

    // Only a regular file is a file: an existing folder's name is text.
    fs::create_directory(dir / "folder");
    const auto folder = invoke({"classify", (dir / "folder").string()});
    EXPECT_EQ(folder.status, 0);
    EXPECT_EQ(nlohmann::json::parse(folder.out)["title"], (dir / "folder").string());
}

// Standard input from a file is mapped, through a pipe it is read: both give the same answer,
// from the file's current offset on, without a leading byte-order mark.
TEST_F(TessellarCli, StandardInputFromAFileOrAPipeIsTheSameText) {
    const std::string json = "\xEF\xBB\xBF{\"name\": \"Ann\", \"id\": 7}\n";
    write(dir / "stdin", json);
    const auto piped =
        testing::runCli({"classify"}, dir / "stdin", dir.path(), "sh -c 'cat | \"$0\" \"$@\"'");
    const auto mapped = testing::runCli({"classify"}, dir / "stdin", dir.path());
    ASSERT_EQ(mapped.status, 0) << mapped.err;
    EXPECT_EQ(mapped.json()["contentType"], "json");
    EXPECT_EQ(mapped.json()["title"], "Ann");
    EXPECT_EQ(piped.out, mapped.out);

    // The shell has read the first line; the rest is one JSON object.
    write(dir / "stdin", "not json\n" + json.substr(3));
    const auto afterLine = testing::runCli({"classify", "-"}, dir / "stdin", dir.path(),
                                           "sh -c 'read -r line; exec \"$0\" \"$@\"'");
    EXPECT_EQ(afterLine.out, mapped.out);

    EXPECT_EQ(invoke({"classify"}, "").out, "null\n");
}

TEST_F(TessellarCli, AnExistingPathIsClassifiedAsAFile) {
    write(dir / "Scan.PDF", "%PDF-1.4\n%\xe2\xe3\xcf\xd3\n");
    const auto pdf = nlohmann::json::parse(invoke({"classify", (dir / "Scan.PDF").string()}).out);
    EXPECT_EQ(pdf["contentType"], "pdf");
    EXPECT_EQ(pdf["title"], "Scan.PDF");
    EXPECT_EQ(pdf["confidence"], 0.5);

    write(dir / "notes.txt", "Agenda\nDiscuss the roadmap");
    const auto notes = nlohmann::json::parse(invoke({"classify", (dir / "notes.txt").string()}).out);
    EXPECT_EQ(notes["contentType"], "document");
    EXPECT_EQ(notes["confidence"], 0.65);
    EXPECT_EQ(notes["metadata"]["facts"][0]["value"], "Agenda");

    write(dir / "Screenshot 2026-03-01 at 09.30.05.png", "\x89PNG\r\n\x1a\n");
    const auto shot = nlohmann::json::parse(
        invoke({"classify", (dir / "Screenshot 2026-03-01 at 09.30.05.png").string()}).out);
    EXPECT_EQ(shot["contentType"], "screenshot");
    EXPECT_EQ(shot["recommendedActionIDs"][0], "openInAgent");
}

// Each row of the fixture table: arguments, standard input, the exit status and what the tool
// prints (out, err exactly; outStart, errStart as the beginning; json, values at JSON pointers
// into the output). The settings, data and home are the test's own, and no row may write settings.
TEST_F(TessellarCli, AnswersEachRowOfTheTable) {
    const std::string environment =
        "env -u WAYLAND_DISPLAY -u DISPLAY HOME=" + testing::shellQuoted(dir.path().string()) +
        " XDG_CONFIG_HOME=" + testing::shellQuoted((dir / "config").string()) +
        " XDG_DATA_HOME=" + testing::shellQuoted((dir / "data").string());
    const auto rows =
        nlohmann::json::parse(std::ifstream(std::string(TESSELLAR_FIXTURES_DIR) + "/cli-cases.json"));
    ASSERT_GE(rows.size(), 36u);
    for (const auto& row : rows) {
        write(dir / "stdin", row.value("stdin", ""));
        const auto r = testing::runCli(row["args"].get<std::vector<std::string>>(), dir / "stdin", dir.path(),
                                       environment);
        EXPECT_EQ(r.status, row["status"]) << row;
        for (const auto& [key, printed] : {std::pair{"out", r.out}, std::pair{"err", r.err}}) {
            if (row.contains(key)) {
                EXPECT_EQ(printed, row[key]) << row;
            }
            if (const auto start = row.value(std::string(key) + "Start", std::string()); !start.empty()) {
                EXPECT_TRUE(printed.starts_with(start)) << printed << row;
            }
        }
        const auto values = row.value("json", nlohmann::json::object());
        for (const auto& [pointer, expected] : values.items())
            EXPECT_EQ(r.json().at(nlohmann::json::json_pointer(pointer)), expected) << pointer << row;
    }
    EXPECT_FALSE(fs::exists(dir / "config" / "tessellar" / "tessellar.conf"));
}

} // namespace
} // namespace tessellar
