#include "support/CliRunner.h"
#include "support/Fixtures.h"
#include "support/TempDir.h"

#include <fstream>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sstream>

namespace tessellar {
namespace {

namespace fs = std::filesystem;
using testing::fixture;

using Outcome = testing::CliOutcome;

// Runs the tool with its data (history, images) in a fresh XDG_DATA_HOME.
class AnalyzeHistoryCli : public ::testing::Test {
protected:
    testing::TempDir dir;
    fs::path data = dir / "data";

    Outcome run(const std::vector<std::string>& arguments, const fs::path& input = "/dev/null") {
        return testing::runCli(arguments, input, dir.path(),
                               "XDG_DATA_HOME=" + testing::shellQuoted(data.string()));
    }

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
    EXPECT_NE(analyzed("documents/text-20-pages.pdf")["item"]["metadata"]["facts"].dump().find(
                  R"({"isPrimary":false,"key":"pageCount","value":"20 pages"})"),
              std::string::npos);
    for (const auto* document :
         {"documents/scanned-3-pages.pdf", "documents/letter.docx", "documents/letter.odt",
          "documents/page.html", "documents/note.rtf", "images/code.jpg"}) {
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
    std::ofstream(dir / "blank") << "   \n";
    const auto blank = run({"analyze", "--save", "-"}, dir / "blank");
    EXPECT_EQ(blank.status, 1);
    EXPECT_EQ(blank.err, "tessellar-cli: Tessellar can\u2019t read that yet.\n");
    const auto endless = run({"analyze", "--save"}, "/dev/zero");
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
    std::ofstream(dir / "bom.json") << "\xef\xbb\xbf{\"a\": 1}";
    const auto bom = run({"classify"}, dir / "bom.json");
    EXPECT_EQ(bom.json()["contentType"], "json");
}

} // namespace
} // namespace tessellar
