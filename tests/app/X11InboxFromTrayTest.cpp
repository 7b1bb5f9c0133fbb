#include "AppHarness.h"
#include "app/InboxWindow.h"
#include "app/TrayController.h"
#include "kit/base/Clock.h"
#include "kit/storage/SQLiteHistoryStore.h"

namespace tessellar::app {
namespace {

using testing::makeItem;

// On a real X server: the tray menu's "Recent Items…" opens the inbox, and typing into its
// search field finds an item saved in a real history file behind a full page of newer ones.
TEST(InboxFromTray, RecentItemsOpensTheInboxAndSearchFindsTheItem) {
    testing::TempDir folder;
    SQLiteHistoryStore history((folder / "history.sqlite").string());
    for (int i = 0; i < 500; ++i)
        history.save(makeItem("Note " + std::to_string(i), Clock::now().advanced(-i)));
    history.save(makeItem("Invoice from Acme", Clock::now().advanced(-1000), ContentType::invoice));

    std::vector<std::string> opened;
    InboxWindow inbox(
        {&history, std::nullopt, ImageStore(folder / "Images"), [] { return 30; }},
        [&](const InboxItem& item) { opened.push_back(item.title); }, nullptr);
    TrayController tray;
    tray.setWindowsAvailable(true);
    QObject::connect(&tray, &TrayController::openInboxRequested, &inbox, [&] {
        inbox.show();
        inbox.raise();
        inbox.activateWindow();
    });
    const auto actions = tray.menu()->actions();
    const auto recent = std::find_if(actions.begin(), actions.end(),
                                     [](QAction* action) { return action->text() == "Recent Items\u2026"; });
    ASSERT_NE(recent, actions.end());
    ASSERT_TRUE((*recent)->isEnabled());
    testing::awaitSignal(&inbox.model(), &InboxModel::loaded, [&] { (*recent)->trigger(); });
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&inbox));
    EXPECT_EQ(inbox.model().total(), InboxModel::limit);

    // Keys are typed one by one; wait until the answer to the whole query is in.
    QTest::keyClicks(&inbox.searchField(), "acme");
    ASSERT_TRUE(testing::eventually([&] { return inbox.model().total() == 1; }));
    ASSERT_NE(inbox.model().itemAt(1), nullptr);
    EXPECT_EQ(inbox.model().itemAt(1)->title, "Invoice from Acme");

    inbox.list().setCurrentIndex(inbox.model().index(1));
    QTest::keyClick(&inbox.list(), Qt::Key_Return);
    EXPECT_EQ(opened, std::vector<std::string>{"Invoice from Acme"});
}

} // namespace
} // namespace tessellar::app
