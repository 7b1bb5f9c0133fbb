#include "CliFixture.h"
#include "support/Fixtures.h"

#include <nlohmann/json.hpp>
#include <sstream>
#include <sys/stat.h>

namespace tessellar {
namespace {

namespace fs = std::filesystem;
using testing::fixture;
using TessellarCli = testing::CliTest;
using ConfigCommand = testing::CliTest;

void write(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

TEST_F(TessellarCli, UnreadableInputExitsOneWithAMessage) {
    const auto binary = run({"classify"}, std::string("\xff\xfe\x00junk\xc3", 8));
    EXPECT_EQ(binary.status, 1);
    EXPECT_EQ(binary.out, "");
    EXPECT_EQ(binary.err, "tessellar-cli: The input isn\u2019t valid UTF-8 text.\n");

    const auto invalidArgument = run({"classify", std::string("caf\xe9")});
    EXPECT_EQ(invalidArgument.status, 1);

    ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0600), 0);
    const auto fifo = run({"classify", (dir / "pipe").string()});
    EXPECT_EQ(fifo.status, 1);
    EXPECT_NE(fifo.err.find("isn\u2019t a file Tessellar can read."), std::string::npos);

    // Only a regular file is a file: an existing folder's name is text.
    fs::create_directory(dir / "folder");
    const auto folder = run({"classify", (dir / "folder").string()});
    EXPECT_EQ(folder.status, 0);
    EXPECT_EQ(nlohmann::json::parse(folder.out)["title"], (dir / "folder").string());
}

// Standard input from a file is mapped, through a pipe it is read: both give the same answer,
// from the file's current offset on, without a leading byte-order mark.
TEST_F(TessellarCli, StandardInputFromAFileOrAPipeIsTheSameText) {
    const std::string json = "\xEF\xBB\xBF{\"name\": \"Ann\", \"id\": 7}\n";
    const auto mapped = run({"classify"}, json);
    ASSERT_EQ(mapped.status, 0) << mapped.err;
    EXPECT_EQ(mapped.json()["contentType"], "json");
    EXPECT_EQ(mapped.json()["title"], "Ann");
    EXPECT_EQ(run({"classify"}, json, "sh -c 'cat | \"$0\" \"$@\"'").out, mapped.out);

    // The shell has read the first line; the rest is one JSON object.
    const auto afterLine =
        run({"classify", "-"}, "not json\n" + json.substr(3), "sh -c 'read -r line; exec \"$0\" \"$@\"'");
    EXPECT_EQ(afterLine.out, mapped.out);

    EXPECT_EQ(run({"classify"}, "").out, "null\n");
}

TEST_F(TessellarCli, AnExistingPathIsClassifiedAsAFile) {
    write(dir / "Scan.PDF", "%PDF-1.4\n%\xe2\xe3\xcf\xd3\n");
    const auto pdf = run({"classify", (dir / "Scan.PDF").string()}).json();
    EXPECT_EQ(pdf["contentType"], "pdf");
    EXPECT_EQ(pdf["title"], "Scan.PDF");
    EXPECT_EQ(pdf["confidence"], 0.5);

    write(dir / "notes.txt", "Agenda\nDiscuss the roadmap");
    const auto notes = run({"classify", (dir / "notes.txt").string()}).json();
    EXPECT_EQ(notes["contentType"], "document");
    EXPECT_EQ(notes["confidence"], 0.65);
    EXPECT_EQ(notes["metadata"]["facts"][0]["value"], "Agenda");

    write(dir / "Screenshot 2026-03-01 at 09.30.05.png", "\x89PNG\r\n\x1a\n");
    const auto shot = run({"classify", (dir / "Screenshot 2026-03-01 at 09.30.05.png").string()}).json();
    EXPECT_EQ(shot["contentType"], "screenshot");
    EXPECT_EQ(shot["recommendedActionIDs"][0], "openInAgent");
}

// Each row of the fixture table: arguments, standard input, the exit status and what the tool
// prints (out, err exactly; outStart, errStart as the beginning; json, values at JSON pointers
// into the output). The settings, data and home are the test's own, and no row may write settings.
TEST_F(TessellarCli, AnswersEachRowOfTheTable) {
    const auto rows = testing::jsonFixture("cli-cases.json");
    ASSERT_GE(rows.size(), 36u);
    for (const auto& row : rows) {
        const auto r = run(row["args"].get<std::vector<std::string>>(), row.value("stdin", ""));
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

TEST_F(ConfigCommand, SetsAndReadsSettingsInTheSettingsFile) {
    EXPECT_EQ(run({"config", "get", "general.retentionDays"}).out, "30\n");
    for (const auto& [key, value] : std::vector<std::pair<std::string, std::string>>{
             {"general.retentionDays", "90"},
             {"ai.providerKind", "openAICompatible"},
             {"ai.baseURL", "http://localhost:11434/v1"},
             {"general.shortcut", R"({"keyCode":0,"modifiers":4352})"}})
        EXPECT_EQ(run({"config", "set", key, value}).status, 0) << key;
    EXPECT_EQ(run({"config", "get", "general.retentionDays"}).out, "90\n");
    EXPECT_EQ(run({"config", "get", "ai.baseURL"}).out, "http://localhost:11434/v1\n");
    const std::string file = testing::readFile(dir / "config" / "tessellar" / "tessellar.conf");
    EXPECT_NE(file.find("general.retentionDays=90\n"), std::string::npos);
    EXPECT_NE(file.find("ai.providerKind=openAICompatible\n"), std::string::npos);
    EXPECT_NE(run({"config", "list"}).out.find("general.shortcut={\"keyCode\":0,\"modifiers\":4352}\n"),
              std::string::npos);
}

TEST_F(ConfigCommand, AKeyThatCannotBeSavedIsNeverWrittenInPlainText) {
    run({"config", "set", "ai.model", "tiny"});
    const auto outcome = run({"config", "set-key"}, "  sk-from-stdin  \n");
    EXPECT_EQ(outcome.status, 1);
    EXPECT_NE(
        outcome.err.find("tessellar-cli: Tessellar couldn\u2019t save the API key because no keyring (Secret "
                         "Service) is available, so AI stays on this computer.\n"),
        std::string::npos);
    for (const auto& entry : fs::recursive_directory_iterator(dir.path()))
        if (entry.is_regular_file() && entry.path().filename() != "stdin") {
            EXPECT_EQ(testing::readFile(entry.path()).find("sk-from-stdin"), std::string::npos)
                << entry.path();
        }
    // With no key the configured service falls back to the on-device provider.
    run({"config", "set", "ai.providerKind", "openAICompatible"});
    const auto test = run({"config", "test"});
    EXPECT_EQ(test.status, 0);
    EXPECT_NE((test.out + test.err).find("On-device (no key): connection works.\n"), std::string::npos);
}

class AnalyzeHistoryCli : public testing::CliTest {
protected:
    std::vector<nlohmann::json> history(const std::vector<std::string>& options = {}) {
        std::vector<std::string> arguments{"history"};
        arguments.insert(arguments.end(), options.begin(), options.end());
        const auto r = run(arguments);
        EXPECT_EQ(r.status, 0) << r.err;
        std::vector<nlohmann::json> items;
        std::istringstream lines(r.out);
        for (std::string line; std::getline(lines, line);)
            items.push_back(nlohmann::json::parse(line));
        return items;
    }
};

TEST_F(AnalyzeHistoryCli, AnalyzeSavePrintsTheResultAndHistoryFindsIt) {
    const auto r = run({"analyze", "--save", fixture("documents/text-1-page.pdf").string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "") << "no progress when standard error is no terminal";
    const auto json = r.json();
    EXPECT_EQ(json["item"]["contentType"], "invoice");
    EXPECT_EQ(json["warning"], nullptr);
    // The engine's ranking for a dropped invoice file: renaming it first, then its due date.
    EXPECT_EQ(json["actions"]["primary"],
              nlohmann::json::parse(R"(["smartRename","createReminder","copy","quickLook"])"));
    EXPECT_EQ(json["item"]["suggestedActionIDs"][0], "smartRename");

    const auto found = history({"--search", "INV-2291"});
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0], json["item"]);
    EXPECT_TRUE(history({"--search", "no such words"}).empty());

    ASSERT_EQ(run({"analyze", "--save", "Call Ana at 555-0100 tomorrow"}).status, 0);
    ASSERT_EQ(run({"analyze", "not saved at all"}).status, 0);
    const auto all = history();
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[0]["originalText"], "Call Ana at 555-0100 tomorrow") << "newest first";
    EXPECT_EQ(history({"--limit", "1"}).size(), 1u);
}

TEST_F(AnalyzeHistoryCli, AnalyzesEachKindOfFixture) {
    const auto analyzed = [&](const std::string& relative) {
        const auto r = run({"analyze", fixture(relative).string()});
        EXPECT_EQ(r.status, 0) << relative << ": " << r.err;
        return r.status == 0 ? r.json() : nlohmann::json();
    };
    // What each reader finds is checked with the readers; here, that each kind is read as text.
    for (const auto* document :
         {"documents/text-20-pages.pdf", "documents/scanned-3-pages.pdf", "documents/letter.docx",
          "documents/letter.odt", "documents/page.html", "documents/note.rtf", "images/code.jpg"}) {
        const std::string text = analyzed(document)["item"]["extractedText"];
        EXPECT_TRUE(!text.empty() && text.find('<') == std::string::npos) << document << ": " << text;
    }
    const auto receipt = analyzed("images/receipt.png");
    EXPECT_NE(receipt["item"]["extractedText"].get<std::string>().find("Total 11.75"), std::string::npos);
    const std::string image = receipt["item"]["imagePath"];
    EXPECT_EQ(image, "file://" + (data / "Tessellar" / "Images").string() + "/" +
                         receipt["item"]["id"].get<std::string>() + ".png");

    const auto truncated = analyzed("documents/truncated.pdf");
    EXPECT_EQ(truncated["warning"]["message"], "Couldn\u2019t extract text from truncated.pdf.");
    EXPECT_EQ(truncated["warning"]["recovery"], nlohmann::json::parse(R"(["openFile","tryAI"])"));
}

TEST_F(AnalyzeHistoryCli, FailuresSaveNothing) {
    const auto blank = run({"analyze", "--save", "-"}, "   \n");
    EXPECT_EQ(blank.status, 1);
    EXPECT_EQ(blank.err, "tessellar-cli: Tessellar can\u2019t read that yet.\n");
    const auto endless = runFrom("/dev/zero", {"analyze", "--save"});
    EXPECT_EQ(endless.status, 1);
    EXPECT_EQ(endless.err,
              "tessellar-cli: That text is larger than 32 MB, the most Tessellar reads at once.\n");
    EXPECT_TRUE(history().empty());
}

TEST_F(AnalyzeHistoryCli, LinksThatLeadNowhereAreMissingFiles) {
    fs::create_symlink(dir / "nowhere", dir / "dangling");
    fs::create_symlink(dir / "loop", dir / "loop");
    for (const auto* name : {"dangling", "loop"}) {
        const auto r = run({"classify", (dir / name).string()});
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.err,
                  "tessellar-cli: There\u2019s no file at \u201C" + (dir / name).string() + "\u201D.\n");
    }
}

TEST_F(AnalyzeHistoryCli, ClassifyReadsDocumentTextAndDropsAByteOrderMark) {
    const auto latin = run({"classify", fixture("documents/invoice-latin1.txt").string()});
    EXPECT_EQ(latin.json()["contentType"], "invoice");
    const auto docx = run({"classify", fixture("documents/letter.docx").string()});
    EXPECT_EQ(docx.json()["metadata"]["facts"][0]["value"], "Dear Ms. Silva,");
    std::ofstream(dir / "logo.svg")
        << "<svg xmlns=\"http://www.w3.org/2000/svg\"><text>function f() {}</text></svg>";
    EXPECT_EQ(run({"classify", (dir / "logo.svg").string()}).json()["contentType"], "image");
    const auto bom = run({"classify"}, "\xef\xbb\xbf{\"a\": 1}");
    EXPECT_EQ(bom.json()["contentType"], "json");
}

} // namespace
} // namespace tessellar
