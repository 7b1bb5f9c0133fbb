#include "kit/actions/files/MoveToFolderAction.h"

#include "kit/actions/files/SecurityScope.h"
#include "support/ActionCases.h"
#include "support/CliRunner.h"
#include "support/ScopedEnvironment.h"
#include "support/TempDir.h"

#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

namespace tessellar {
namespace {

namespace fs = std::filesystem;
using testing::readFile;

class MoveToFolder : public testing::ActionCase {
protected:
    MoveToFolder() {
        fs::create_directory(dir / "in");
        std::ofstream(dir / "in" / "invoice.pdf") << "the invoice";
        item.contentType = ContentType::invoice;
        item.title = "invoice.pdf";
        item.fileURL = Url::fromFilePath(dir / "in" / "invoice.pdf");
    }

    FolderDestination destination(const std::string& name, bool granted = true) {
        const fs::path path = dir / "dest" / name;
        fs::create_directories(path);
        return {Uuid::random(), name, path.string(),
                granted ? std::optional(SecurityScope::bookmark(path)) : std::nullopt};
    }

    testing::TempDir dir;
    MoveToFolderAction action;
};

TEST_F(MoveToFolder, OffersRankedFoldersFirstAndTheRestInStoredOrder) {
    EXPECT_EQ(action.availability(item, context()), ActionAvailability::unavailable());
    EXPECT_EQ(
        testing::thrownError([&] { action.preview(item, context()); }),
        TessellarError("No destination folders are set up yet.", {TessellarError::Recovery::openSettings}));

    const testing::ScopedEnvironment home("HOME", dir.path().string());
    const auto work = destination("Work");
    const auto finance = destination("Finance");
    fixture.folders = {work, finance};
    EXPECT_EQ(relevance(action), 80);
    const std::vector<ActionPreview::Option> folders{
        {finance.id.string(), "Finance", finance.path, "~/dest/Finance"},
        {work.id.string(), "Work", work.path, "~/dest/Work"}};
    EXPECT_EQ(action.preview(item, context()),
              (ActionPreview{"Move invoice.pdf", "Finance", ActionPreview::Style::choice,
                             "Suggested from the document\u2019s contents", "Move", folders, false}));
    EXPECT_EQ(MoveToFolderAction::abbreviatingHome("/home/ann/Documents/Work", "/home/ann"),
              "~/Documents/Work");
    EXPECT_EQ(MoveToFolderAction::abbreviatingHome("/srv/Work", "/home/ann"), "/srv/Work");

    item.contentType = ContentType::plainText;
    EXPECT_EQ(relevance(action), 30);
    const auto unranked = action.preview(item, context());
    EXPECT_EQ(unranked->detail, "Work");
    EXPECT_EQ(unranked->rationale, std::nullopt);

    fs::remove(dir / "in" / "invoice.pdf");
    EXPECT_FALSE(relevance(action));
    item.fileURL.reset();
    EXPECT_EQ(action.preview(item, context()), std::nullopt);
}

TEST_F(MoveToFolder, MovesUnderAFreeNameAndRecordsItOnce) {
    const auto finance = destination("Finance");
    fixture.folders = {finance};
    std::ofstream(fs::path(finance.path) / "invoice.pdf") << "an older invoice";

    const auto outcome = perform(action, finance.path);
    EXPECT_EQ(outcome.message, "Moved to Finance");
    EXPECT_FALSE(outcome.keepsPanelOpen);
    ASSERT_TRUE(outcome.updatedItem);
    const fs::path moved = fs::path(finance.path) / "invoice-2.pdf";
    EXPECT_EQ(outcome.updatedItem->fileURL, Url::fromFilePath(moved));
    EXPECT_EQ(readFile(moved), "the invoice");
    EXPECT_EQ(readFile(fs::path(finance.path) / "invoice.pdf"), "an older invoice");
    EXPECT_FALSE(fs::exists(dir / "in" / "invoice.pdf"));

    const auto work = destination("Work");
    fixture.folders = {finance, work};
    item = *outcome.updatedItem;
    const auto again = perform(action, work.path);
    EXPECT_EQ(again.updatedItem->completedActionIDs, std::vector<ActionID>{ActionID::moveToFolder});
    EXPECT_EQ(readFile(fs::path(work.path) / "invoice-2.pdf"), "the invoice");
    EXPECT_TRUE(fixture.host.calls().empty());

    // A folder deleted since it was set up is made again from its path.
    fs::remove_all(finance.path);
    item = *again.updatedItem;
    EXPECT_EQ(perform(action, finance.path).message, "Moved to Finance");
    EXPECT_EQ(readFile(fs::path(finance.path) / "invoice-2.pdf"), "the invoice");
}

TEST_F(MoveToFolder, CancelsOnEmptyValueOrDeclinedChooser) {
    const auto unGranted = destination("Work", false);
    fixture.folders = {unGranted};
    EXPECT_EQ(perform(action), ActionOutcome::cancelled);
    EXPECT_EQ(perform(action, ""), ActionOutcome::cancelled);
    EXPECT_EQ(perform(action, unGranted.path), ActionOutcome::cancelled);
    EXPECT_EQ(perform(action, "/elsewhere/Taxes"), ActionOutcome::cancelled);
    EXPECT_EQ(fixture.host.calls(), (std::vector<std::string>{"chooseFolder Work", "chooseFolder Taxes"}));
    EXPECT_EQ(readFile(dir / "in" / "invoice.pdf"), "the invoice");

    const auto chosen = destination("Chosen");
    fixture.host.setFolderChoice(chosen);
    EXPECT_EQ(perform(action, unGranted.path).message, "Moved to Chosen");
    EXPECT_TRUE(fs::exists(fs::path(chosen.path) / "invoice.pdf"));
}

TEST_F(MoveToFolder, UnwritableFoldersFailWithTheirTextsAndKeepTheFile) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind root";
    auto locked = destination("Locked");
    fs::permissions(locked.path, fs::perms::owner_read | fs::perms::owner_exec);
    fixture.folders = {locked};
    EXPECT_EQ(failure(action, locked.path), TessellarError("Couldn\u2019t move invoice.pdf to Locked.",
                                                           {TessellarError::Recovery::revealInFinder,
                                                            TessellarError::Recovery::openSettings}));

    auto nested = locked;
    nested.name = "Nested";
    nested.path = locked.path + "/Nested";
    nested.bookmark = SecurityScope::bookmark(nested.path);
    fixture.folders = {nested};
    EXPECT_EQ(
        failure(action, nested.path),
        TessellarError("Couldn\u2019t open Nested. Choose the folder again so Tessellar can write to it.",
                       {TessellarError::Recovery::openSettings}));
    fs::permissions(locked.path, fs::perms::owner_all);
    EXPECT_EQ(readFile(dir / "in" / "invoice.pdf"), "the invoice");
    EXPECT_TRUE(fs::is_empty(locked.path));
}

TEST(SecurityScope, ResolvesOnlyWhileTheFolderExists) {
    testing::TempDir dir;
    const auto token = SecurityScope::bookmark(dir / "a" / ".." / "a");
    EXPECT_EQ(SecurityScope::resolve(token), std::nullopt);
    fs::create_directory(dir / "a");
    EXPECT_EQ(SecurityScope::resolve(token), dir / "a");
    EXPECT_EQ(
        SecurityScope::withAccess(token, [](const fs::path& folder) { return folder.filename().string(); }),
        "a");
    EXPECT_EQ(SecurityScope::resolve({'r', 'e', 'l'}), std::nullopt);
    EXPECT_EQ(SecurityScope::resolve({}), std::nullopt);
}

} // namespace
} // namespace tessellar
