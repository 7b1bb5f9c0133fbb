#include "kit/actions/files/MoveToFolderAction.h"

#include "kit/actions/files/SecurityScope.h"
#include "support/ActionFixture.h"
#include "support/ScopedEnvironment.h"
#include "support/TempDir.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <unistd.h>

namespace tessellar {
namespace {

namespace fs = std::filesystem;

std::string read(const fs::path& path) {
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class MoveToFolder : public ::testing::Test {
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

    ActionOutcome perform(const std::optional<std::string>& value) {
        return action.perform({item, value}, fixture.context());
    }

    TessellarError failure(const std::optional<std::string>& value) {
        try {
            perform(value);
        } catch (const TessellarError& error) {
            return error;
        }
        ADD_FAILURE() << "perform did not fail";
        return TessellarError("");
    }

    testing::TempDir dir;
    ActionFixture fixture;
    MoveToFolderAction action;
    InboxItem item;
};

TEST_F(MoveToFolder, OffersRankedFoldersFirstAndTheRestInStoredOrder) {
    EXPECT_EQ(action.availability(item, fixture.context()), ActionAvailability::unavailable());
    EXPECT_THROW(action.preview(item, fixture.context()), TessellarError);

    const auto work = destination("Work");
    const auto finance = destination("Finance");
    fixture.folders = {work, finance};
    EXPECT_EQ(action.availability(item, fixture.context()).relevance(), 80);
    const auto preview = action.preview(item, fixture.context());
    ASSERT_TRUE(preview);
    EXPECT_EQ(preview->title, "Move invoice.pdf");
    EXPECT_EQ(preview->detail, "Finance");
    EXPECT_EQ(preview->style, ActionPreview::Style::choice);
    EXPECT_EQ(preview->rationale, "Suggested from the document\u2019s contents");
    EXPECT_EQ(preview->confirmLabel, "Move");
    ASSERT_EQ(preview->options.size(), 2u);
    EXPECT_EQ(preview->options[0].label, "Finance");
    EXPECT_EQ(preview->options[0].value, finance.path);
    EXPECT_EQ(preview->options[0].id, finance.id.string());
    EXPECT_EQ(preview->options[1].label, "Work");

    item.contentType = ContentType::plainText;
    EXPECT_EQ(action.availability(item, fixture.context()).relevance(), 30);
    const auto unranked = action.preview(item, fixture.context());
    EXPECT_EQ(unranked->detail, "Work");
    EXPECT_EQ(unranked->rationale, std::nullopt);

    fs::remove(dir / "in" / "invoice.pdf");
    EXPECT_FALSE(action.availability(item, fixture.context()).isAvailable());
    item.fileURL.reset();
    EXPECT_EQ(action.preview(item, fixture.context()), std::nullopt);
}

TEST_F(MoveToFolder, NoFoldersAndPathsUnderHome) {
    try {
        action.preview(item, fixture.context());
        ADD_FAILURE();
    } catch (const TessellarError& error) {
        EXPECT_EQ(error, TessellarError("No destination folders are set up yet.",
                                        {TessellarError::Recovery::openSettings}));
    }
    EXPECT_EQ(MoveToFolderAction::abbreviatingHome("/home/ann/Documents/Work", "/home/ann"),
              "~/Documents/Work");
    EXPECT_EQ(MoveToFolderAction::abbreviatingHome("/srv/Work", "/home/ann"), "/srv/Work");

    const testing::ScopedEnvironment home("HOME", dir.path().string());
    fixture.folders = {destination("Work")};
    const auto preview = action.preview(item, fixture.context());
    EXPECT_EQ(preview->options[0].detail, "~/dest/Work");
    EXPECT_EQ(preview->options[0].value, (dir / "dest" / "Work").string());
}

TEST_F(MoveToFolder, MovesUnderAFreeNameAndRecordsItOnce) {
    const auto finance = destination("Finance");
    fixture.folders = {finance};
    std::ofstream(fs::path(finance.path) / "invoice.pdf") << "an older invoice";

    const auto outcome = perform(finance.path);
    EXPECT_EQ(outcome.message, "Moved to Finance");
    EXPECT_FALSE(outcome.keepsPanelOpen);
    ASSERT_TRUE(outcome.updatedItem);
    const fs::path moved = fs::path(finance.path) / "invoice-2.pdf";
    EXPECT_EQ(outcome.updatedItem->fileURL, Url::fromFilePath(moved));
    EXPECT_EQ(read(moved), "the invoice");
    EXPECT_EQ(read(fs::path(finance.path) / "invoice.pdf"), "an older invoice");
    EXPECT_FALSE(fs::exists(dir / "in" / "invoice.pdf"));

    const auto work = destination("Work");
    fixture.folders = {finance, work};
    item = *outcome.updatedItem;
    const auto again = perform(work.path);
    EXPECT_EQ(again.updatedItem->completedActionIDs, std::vector<ActionID>{ActionID::moveToFolder});
    EXPECT_EQ(read(fs::path(work.path) / "invoice-2.pdf"), "the invoice");
    EXPECT_TRUE(fixture.host.calls().empty());
}

TEST_F(MoveToFolder, CancelsOnEmptyValueOrDeclinedChooser) {
    const auto unGranted = destination("Work", false);
    fixture.folders = {unGranted};
    EXPECT_EQ(perform(std::nullopt), ActionOutcome::cancelled);
    EXPECT_EQ(perform(""), ActionOutcome::cancelled);
    EXPECT_EQ(perform(unGranted.path), ActionOutcome::cancelled);
    EXPECT_EQ(perform("/elsewhere/Taxes"), ActionOutcome::cancelled);
    EXPECT_EQ(fixture.host.calls(), (std::vector<std::string>{"chooseFolder Work", "chooseFolder Taxes"}));
    EXPECT_EQ(read(dir / "in" / "invoice.pdf"), "the invoice");

    const auto chosen = destination("Chosen");
    fixture.host.setFolderChoice(chosen);
    EXPECT_EQ(perform(unGranted.path).message, "Moved to Chosen");
    EXPECT_TRUE(fs::exists(fs::path(chosen.path) / "invoice.pdf"));
}

TEST_F(MoveToFolder, DeletedFolderIsRecreatedFromItsPath) {
    auto finance = destination("Finance");
    fs::remove(finance.path);
    fixture.folders = {finance};
    EXPECT_EQ(perform(finance.path).message, "Moved to Finance");
    EXPECT_EQ(read(fs::path(finance.path) / "invoice.pdf"), "the invoice");
}

TEST_F(MoveToFolder, UnwritableFoldersFailWithTheirTextsAndKeepTheFile) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "permissions do not bind root";
    auto locked = destination("Locked");
    fs::permissions(locked.path, fs::perms::owner_read | fs::perms::owner_exec);
    fixture.folders = {locked};
    EXPECT_EQ(failure(locked.path), TessellarError("Couldn\u2019t move invoice.pdf to Locked.",
                                                   {TessellarError::Recovery::revealInFinder,
                                                    TessellarError::Recovery::openSettings}));

    auto nested = locked;
    nested.name = "Nested";
    nested.path = locked.path + "/Nested";
    nested.bookmark = SecurityScope::bookmark(nested.path);
    fixture.folders = {nested};
    EXPECT_EQ(
        failure(nested.path),
        TessellarError("Couldn\u2019t open Nested. Choose the folder again so Tessellar can write to it.",
                       {TessellarError::Recovery::openSettings}));
    fs::permissions(locked.path, fs::perms::owner_all);
    EXPECT_EQ(read(dir / "in" / "invoice.pdf"), "the invoice");
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
