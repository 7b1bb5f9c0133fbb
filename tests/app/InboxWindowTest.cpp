#include "app/InboxWindow.h"

#include "AppHarness.h"
#include "app/AppEnvironment.h"
#include "kit/base/Clock.h"
#include "kit/storage/SQLiteHistoryStore.h"

namespace tessellar::app {
namespace {

using testing::makeItem;

// A local wall-clock time in the pinned zone.
Timestamp local(int year, int month, int day, int hour, int minute) {
    return Timestamp::fromUnix(
        double(QDateTime(QDate(year, month, day), QTime(hour, minute)).toSecsSinceEpoch()));
}

// The inbox over a real SQLite history and image folder in a temporary directory.
class InboxTest : public ::testing::Test {
protected:
    testing::TempDir folder;
    SQLiteHistoryStore history{(folder / "history.sqlite").string()};
    ImageStore images{folder / "Images"};
    std::int64_t retention = 30;

    InboxServices services() {
        return {&history, std::nullopt, images, [this] { return retention; }};
    }
    static void waitForLoad(InboxModel& model, const std::function<void()>& start) {
        testing::awaitSignal(&model, &InboxModel::loaded, start);
    }
};

TEST_F(InboxTest, RowsShowTitleSubtitleAndHeadersAndTheFooterCountsThemAndNamesTheRetention) {
    auto invoice = makeItem("Invoice from Acme", Clock::now(), ContentType::invoice);
    EXPECT_EQ(InboxModel::subtitle(invoice), "Invoice");
    invoice.headline = "";
    EXPECT_EQ(InboxModel::subtitle(invoice), "Invoice") << "an empty headline falls back to the type";
    invoice.headline = "Due soon";
    invoice.metadata.set(ItemMetadata::Key::amount, "$120.00");
    invoice.metadata.set(ItemMetadata::Key::company, "Acme");
    invoice.metadata.set(ItemMetadata::Key::dueDate, "Mar 3");
    invoice.metadata.set(ItemMetadata::Key::invoiceNumber, "INV-7");
    EXPECT_EQ(InboxModel::subtitle(invoice), "Due soon \u00B7 $120.00 \u00B7 Acme \u00B7 Mar 3");

    history.save(invoice);
    InboxModel model(services());
    waitForLoad(model, [&] { model.load(); });
    ASSERT_EQ(model.rowCount(), 2);
    EXPECT_TRUE(model.data(model.index(0), InboxModel::IsHeaderRole).toBool());
    EXPECT_FALSE(model.flags(model.index(0)) & Qt::ItemIsSelectable);
    EXPECT_EQ(model.itemAt(0), nullptr);
    ASSERT_NE(model.itemAt(1), nullptr);
    EXPECT_EQ(model.itemAt(1)->title, "Invoice from Acme");
    EXPECT_EQ(model.data(model.index(1), InboxModel::SubtitleRole).toString().toStdString(),
              InboxModel::subtitle(invoice));
    EXPECT_EQ(model.itemAt(2), nullptr);
    EXPECT_EQ(model.footerText(), "1 item \u00B7 Kept for 30 days");

    history.save(makeItem("Receipt", Clock::now()));
    waitForLoad(model, [&] { model.load(); });
    for (auto [days, footer] : {std::pair{30, "2 items \u00B7 Kept for 30 days"},
                                {0, "2 items \u00B7 Kept until you clear them"},
                                {7, "2 items \u00B7 Kept for 7 days"}}) {
        retention = days;
        EXPECT_EQ(model.footerText(), footer);
    }
    InboxModel broken(
        {nullptr, "Tessellar couldn\u2019t open its history database.", images, [] { return 30; }});
    waitForLoad(broken, [&] { broken.load(); });
    EXPECT_EQ(broken.footerText(), "Tessellar couldn\u2019t open its history database.");
    EXPECT_EQ(broken.rowCount(), 0);
}

TEST_F(InboxTest, GroupsByLocalDayInOrderOfFirstAppearance) {
    const auto late = makeItem("late", local(2026, 3, 9, 23, 59));
    const auto early = makeItem("early", local(2026, 3, 10, 0, 1));
    const auto earlier = makeItem("earlier", local(2026, 3, 10, 0, 0));
    Clock::ScopedOverride now(local(2026, 3, 10, 12, 0));
    EXPECT_EQ(InboxModel::group({early, earlier, late}, Clock::now()),
              (std::vector<InboxModel::Group>{{"Today", {early, earlier}}, {"Yesterday", {late}}}));
    EXPECT_TRUE(InboxModel::group({}, Clock::now()).empty());
}

TEST_F(InboxTest, SearchIsLiteralAndTheLatestQueryWins) {
    history.save(makeItem("Discount 50% off", Clock::now()));
    history.save(makeItem("Room 502", Clock::now().advanced(1)));
    InboxWindow window(services(), nullptr, nullptr);
    waitForLoad(window.model(), [&] { window.show(); });
    EXPECT_EQ(window.model().total(), 2);

    // Typing queries on every key; only the answer to the whole text is shown.
    waitForLoad(window.model(), [&] { QTest::keyClicks(&window.searchField(), "50%"); });
    EXPECT_EQ(window.model().query(), "50%");
    ASSERT_EQ(window.model().total(), 1);
    EXPECT_EQ(window.model().itemAt(1)->title, "Discount 50% off");

    waitForLoad(window.model(), [&] { window.searchField().setText("zzz"); });
    EXPECT_EQ(window.emptyTitle(), "No matches\nTry a different search.");
    EXPECT_EQ(window.footer(), "0 items \u00B7 Kept for 30 days");
    waitForLoad(window.model(), [&] { window.searchField().clear(); });
    EXPECT_EQ(window.model().total(), 2);
    EXPECT_EQ(window.emptyTitle(), "");

    history.deleteAll();
    InboxWindow fresh(services(), nullptr, nullptr);
    waitForLoad(fresh.model(), [&] { fresh.show(); });
    EXPECT_EQ(fresh.emptyTitle(),
              "Nothing captured yet\nPress \u2325Space, then drop a file, link, or screenshot.");
}

TEST_F(InboxTest, OpenRevealAndDeleteFromTheRow) {
    auto withImage = makeItem("Screenshot", Clock::now());
    withImage.imagePath = Url::fromFilePath(images.directory() / (withImage.id.string() + ".png"));
    auto gone = makeItem("Photo whose file is gone", Clock::now().advanced(-10));
    gone.imagePath = Url::fromFilePath(images.directory() / (gone.id.string() + ".png"));
    std::filesystem::create_directories(images.directory());
    QImage picture(200, 100, QImage::Format_RGB32);
    picture.fill(Qt::red);
    ASSERT_TRUE(picture.save(QString::fromStdString(withImage.imagePath->path()), "PNG"));
    history.save(withImage);
    history.save(gone);

    QList<std::string> opened;
    InboxWindow window(
        services(), [&](const InboxItem& item) { opened.append(item.title); }, nullptr);
    waitForLoad(window.model(), [&] { window.show(); });
    ASSERT_EQ(window.model().rowCount(), 3);

    // The thumbnail is decoded only once a row asks for it.
    auto& model = window.model();
    ASSERT_TRUE(
        testing::eventually([&] { return !model.data(model.index(1), Qt::DecorationRole).isNull(); }));
    const auto thumbnail = model.data(model.index(1), Qt::DecorationRole).value<QImage>();
    EXPECT_EQ(thumbnail.size(), QSize(40, 20));
    QSignalSpy none(&model, &InboxModel::dataChanged);
    model.data(model.index(2), Qt::DecorationRole);
    none.wait(300);
    EXPECT_TRUE(model.data(model.index(2), Qt::DecorationRole).isNull()) << "a missing file has no thumbnail";

    auto actions = window.actionsForRow(2);
    ASSERT_EQ(actions.size(), 3);
    EXPECT_EQ(actions[0]->text(), "Open");
    EXPECT_EQ(actions[1]->text(), "Reveal in Finder");
    EXPECT_FALSE(actions[1]->isEnabled()) << "no file to reveal";
    EXPECT_EQ(actions[2]->text(), "Delete");
    EXPECT_TRUE(window.actionsForRow(0).isEmpty()) << "a day header has no menu";
    actions[0]->trigger();
    EXPECT_EQ(opened, QList<std::string>{"Photo whose file is gone"});
    emit window.list().activated(model.index(1));
    EXPECT_EQ(opened.last(), "Screenshot");

    QSignalSpy deleted(&model, &InboxModel::deleted);
    actions[2]->trigger();
    ASSERT_TRUE(deleted.wait(5000));
    EXPECT_FALSE(history.item(gone.id)) << "deleting succeeds although the image was already gone";
    model.deleteItem(withImage);
    ASSERT_TRUE(deleted.wait(5000));
    EXPECT_FALSE(history.item(withImage.id));
    EXPECT_FALSE(std::filesystem::exists(withImage.imagePath->path()));
    EXPECT_TRUE(testing::eventually([&] { return model.total() == 0; }));
    qDeleteAll(actions);
}

TEST_F(InboxTest, RetentionRemovesOldItemsWithTheirImages) {
    const auto now = local(2026, 3, 20, 12, 0);
    auto old = makeItem("old", local(2026, 3, 13, 11, 59));
    old.imagePath = images.store(std::vector<std::uint8_t>{1, 2, 3}, old.id);
    const auto kept = makeItem("kept", local(2026, 3, 13, 12, 1));
    history.save(old);
    history.save(kept);

    EXPECT_TRUE(pruneHistory(history, images, 0, now).empty()) << "0 keeps everything";
    EXPECT_TRUE(pruneHistory(history, images, -3, now).empty());
    EXPECT_EQ(history.recent(10).size(), 2u);

    const auto removed = pruneHistory(history, images, 7, now);
    ASSERT_EQ(removed.size(), 1u);
    EXPECT_EQ(removed[0].title, "old");
    EXPECT_FALSE(std::filesystem::exists(old.imagePath->path()));
    EXPECT_EQ(history.recent(10), std::vector<InboxItem>{kept});
    EXPECT_TRUE(pruneHistory(history, images, 1'000'000'000, now).empty())
        << "an absurd retention is no crash";
}

// The tests run in America/New_York, where 2024-03-10 loses an hour.
TEST(AppEnvironment, RetentionCountsCalendarDaysAcrossADaylightSavingChange) {
    const Timestamp noonAfterChange = Timestamp::fromUnix(1710259200); // 2024-03-12T16:00Z, 12:00 EDT
    const Timestamp cutoff = AppEnvironment::retentionCutoff(noonAfterChange, 7);
    // 2024-03-05 12:00 EST is 17:00Z: seven calendar days, one hour short of 7 × 24 h.
    EXPECT_EQ(cutoff.unixSeconds, 1709658000);
    EXPECT_EQ(AppEnvironment::retentionCutoff(noonAfterChange, 1).unixSeconds, 1710259200 - 86400);
    // A day count past any calendar keeps everything rather than failing.
    EXPECT_LT(AppEnvironment::retentionCutoff(noonAfterChange, 1'000'000'000).unixSeconds, 0);
}

} // namespace
} // namespace tessellar::app
