#include "app/InboxWindow.h"
#include "app/TrayController.h"
#include "kit/base/Clock.h"
#include "kit/storage/SQLiteHistoryStore.h"
#include "support/TempDir.h"

#include <QAction>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace tessellar::app {
namespace {

// On a real X server: the tray menu's "Recent Items…" opens the inbox, and typing into its
// search field finds an item saved in a real history file.
TEST(InboxFromTray, RecentItemsOpensTheInboxAndSearchFindsTheItem) {
    testing::TempDir folder;
    SQLiteHistoryStore history((folder / "history.sqlite").string());
    for (int i = 0; i < 500; ++i) {
        InboxItem filler;
        filler.id = Uuid::random();
        filler.createdAt = Clock::now().advanced(-i);
        filler.title = "Note " + std::to_string(i);
        history.save(filler);
    }
    InboxItem invoice;
    invoice.id = Uuid::random();
    invoice.createdAt = Clock::now().advanced(-1000);
    invoice.contentType = ContentType::invoice;
    invoice.title = "Invoice from Acme";
    history.save(invoice);

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

    QAction* recent = nullptr;
    for (auto* action : tray.menu()->actions())
        if (action->text() == QStringLiteral("Recent Items\u2026"))
            recent = action;
    ASSERT_NE(recent, nullptr);
    ASSERT_TRUE(recent->isEnabled());
    QSignalSpy loaded(&inbox.model(), &InboxModel::loaded);
    recent->trigger();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&inbox));
    if (loaded.isEmpty()) {
        ASSERT_TRUE(loaded.wait(5000));
    }
    EXPECT_EQ(inbox.model().total(), InboxModel::limit);

    QTest::keyClicks(&inbox.searchField(), "acme");
    // Wait until the answer to the whole query is in.
    for (int i = 0; i < 50 && inbox.model().total() != 1; ++i)
        loaded.wait(200);
    ASSERT_EQ(inbox.model().total(), 1);
    ASSERT_NE(inbox.model().itemAt(1), nullptr);
    EXPECT_EQ(inbox.model().itemAt(1)->title, "Invoice from Acme");
    EXPECT_EQ(inbox.footer(), "1 item \u00B7 Kept for 30 days");

    inbox.list().setCurrentIndex(inbox.model().index(1));
    QTest::keyClick(&inbox.list(), Qt::Key_Return);
    EXPECT_EQ(opened, std::vector<std::string>{"Invoice from Acme"});
}

} // namespace
} // namespace tessellar::app
