#include "kit/actions/files/SmartRenameAction.h"

#include "kit/actions/files/SecurityScope.h"
#include "support/AIActionCase.h"
#include "support/CliRunner.h"
#include "support/TempDir.h"

#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

namespace tessellar {
namespace {

namespace fs = std::filesystem;
using testing::readFile;
using namespace std::string_literals;

class SmartRename : public testing::AIActionCase {
protected:
    SmartRename() {
        std::ofstream(dir / "scan.pdf") << "the scan";
        item.title = "scan.pdf";
        item.contentType = ContentType::invoice;
        item.originalText = "Invoice date: July 14, 2024\nDue date: August 13, 2024";
        item.fileURL = Url::fromFilePath(dir / "scan.pdf");
    }

    void suggestingName(const std::string& name) {
        useServer(true);
        server.respond(200, testing::chatReply(name));
    }

    const TessellarError notEnough{"There isn\u2019t enough in this file to suggest a better name.",
                                   {TessellarError::Recovery::revealInFinder}};
    testing::TempDir dir;
    SmartRenameAction action;
};

TEST_F(SmartRename, NeedsAFile) {
    item.fileURL.reset();
    EXPECT_EQ(action.preview(item, context()), std::nullopt);
    EXPECT_EQ(failure(action, "x"), TessellarError("This item isn\u2019t a file."));
}

TEST_F(SmartRename, LocalProposalAsksNoAI) {
    suggestingName("ignored.pdf");
    EXPECT_EQ(action.preview(item, context()),
              (ActionPreview{"Rename file", "invoice-2024-07.pdf", ActionPreview::Style::editableValue,
                             "From the document\u2019s contents", "Rename",
                             std::vector<ActionPreview::Option>(), false}));
    EXPECT_TRUE(server.requests().empty());
    EXPECT_TRUE(fixture.host.calls().empty());
}

TEST_F(SmartRename, FallsBackToTheProviderOnlyWhenItIsReady) {
    item.contentType = ContentType::unknown;
    item.originalText.reset();
    EXPECT_EQ(testing::thrownError([&] { action.preview(item, context()); }), notEnough);
    EXPECT_TRUE(fixture.host.calls().empty());

    suggestingName("Lease Agreement 2026.pdf");
    const auto preview = action.preview(item, context());
    EXPECT_EQ(preview->detail, "lease-agreement-2026.pdf");
    EXPECT_EQ(preview->rationale, "Suggested by AI provider (tiny)");
    EXPECT_EQ(fixture.host.calls(),
              (std::vector<std::string>{"progress Suggesting a name\u2026", "progress (cleared)"}));

    for (const char* answer : {"SCAN.PDF", ""}) {
        suggestingName(answer);
        EXPECT_EQ(testing::thrownError([&] { action.preview(item, context()); }), notEnough) << answer;
    }
    server.respond(500, "{}");
    EXPECT_EQ(testing::thrownError([&] { action.preview(item, context()); }), notEnough);
    EXPECT_EQ(fixture.host.calls().back(), "progress (cleared)");
}

TEST_F(SmartRename, RenamesSafelyAndKeepsTheExtension) {
    std::ofstream(dir / "acme-invoice.pdf") << "another file";
    item.title = "scan.pdf";
    const auto outcome = perform(action, "  Acme Invoice ");
    EXPECT_EQ(outcome.message, "Renamed to acme-invoice-2.pdf");
    EXPECT_EQ(outcome.updatedItem->title, "acme-invoice-2.pdf");
    EXPECT_EQ(outcome.updatedItem->fileURL, Url::fromFilePath(dir / "acme-invoice-2.pdf"));
    EXPECT_EQ(outcome.updatedItem->completedActionIDs, std::vector<ActionID>{ActionID::smartRename});
    EXPECT_EQ(readFile(dir / "acme-invoice.pdf"), "another file");
    EXPECT_EQ(readFile(dir / "acme-invoice-2.pdf"), "the scan");
    EXPECT_FALSE(fs::exists(dir / "scan.pdf"));

    item = *outcome.updatedItem;
    item.title = "July invoice";
    const auto again = perform(action, "a/b\0c"s);
    EXPECT_EQ(again.updatedItem->title, "July invoice");
    const std::string renamed = again.updatedItem->fileURL->lastPathComponent();
    EXPECT_EQ(renamed.find('/'), std::string::npos);
    EXPECT_EQ(renamed.find('\0'), std::string::npos);
    EXPECT_TRUE(renamed.ends_with(".pdf"));
    EXPECT_EQ(readFile(dir / renamed), "the scan");
    EXPECT_EQ(again.updatedItem->completedActionIDs, std::vector<ActionID>{ActionID::smartRename});

    item = *again.updatedItem;
    const auto huge = perform(action, std::string(10'000, 'q'));
    ASSERT_TRUE(huge.updatedItem);
    EXPECT_LE(huge.updatedItem->fileURL->lastPathComponent().size(), 255u);
    EXPECT_EQ(readFile(huge.updatedItem->fileURL->filePath()), "the scan");
}

TEST_F(SmartRename, NothingToDoCancels) {
    for (const std::optional<std::string>& value :
         {std::optional<std::string>(), std::optional<std::string>(" \n"), std::optional<std::string>("!!!"),
          std::optional<std::string>("scan")})
        EXPECT_EQ(perform(action, value), ActionOutcome::cancelled);
    EXPECT_EQ(readFile(dir / "scan.pdf"), "the scan");
    fs::remove(dir / "scan.pdf");
    EXPECT_EQ(failure(action, "new"), TessellarError::fileMissing("scan.pdf"));
}

TEST_F(SmartRename, PermissionRefusalAsksForTheFolderOnce) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind root";
    const std::string folder = dir.path().filename().string();
    fs::permissions(dir.path(), fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_EQ(perform(action, "new name"), ActionOutcome::cancelled);
    EXPECT_EQ(fixture.host.calls(),
              std::vector<std::string>{"accessBookmark " + Url::fromFilePath(dir.path()).absoluteString()});

    fixture.host.setBookmark(std::vector<std::uint8_t>{'g', 'o', 'n', 'e'});
    EXPECT_EQ(failure(action, "new name"), TessellarError("Tessellar couldn\u2019t use its permission for " +
                                                              folder + ". Try granting it again.",
                                                          {TessellarError::Recovery::revealInFinder}));

    fixture.host.setBookmark(SecurityScope::bookmark(dir.path()));
    EXPECT_EQ(failure(action, "new name"),
              TessellarError("Tessellar still isn\u2019t allowed to rename files in " + folder +
                                 ". Move it to a folder you picked instead.",
                             {TessellarError::Recovery::revealInFinder}));
    fs::permissions(dir.path(), fs::perms::owner_all);
    EXPECT_EQ(readFile(dir / "scan.pdf"), "the scan");
}

} // namespace
} // namespace tessellar
