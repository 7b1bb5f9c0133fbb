#include "kit/storage/SQLiteHistoryStore.h"

#include "kit/model/InboxItemJSON.h"
#include "kit/model/TessellarError.h"
#include "kit/storage/AppPaths.h"
#include "support/ActionCases.h"
#include "support/Items.h"
#include "support/LogCapture.h"
#include "support/ScopedEnvironment.h"
#include "support/TempDir.h"

#include <fstream>
#include <gtest/gtest.h>
#include <set>
#include <sqlite3.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace tessellar {
namespace {

using testing::LogCapture;
using testing::makeItem;
using testing::TempDir;

std::vector<std::string> titles(const std::vector<InboxItem>& items) {
    std::vector<std::string> out;
    for (const auto& item : items)
        out.push_back(item.title);
    return out;
}

// A second, plain connection to the same file, for arranging what the store must cope with.
class RawDatabase {
public:
    explicit RawDatabase(const std::filesystem::path& path) { sqlite3_open(path.c_str(), &db_); }
    ~RawDatabase() { sqlite3_close(db_); }
    void exec(const std::string& sql) const {
        char* error = nullptr;
        ASSERT_EQ(sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &error), SQLITE_OK)
            << (error ? error : "");
    }
    std::string text(const std::string& sql) const {
        sqlite3_stmt* s = nullptr;
        sqlite3_prepare_v2(db_, sql.c_str(), -1, &s, nullptr);
        std::string out;
        if (sqlite3_step(s) == SQLITE_ROW && sqlite3_column_text(s, 0))
            out = reinterpret_cast<const char*>(sqlite3_column_text(s, 0));
        sqlite3_finalize(s);
        return out;
    }

private:
    sqlite3* db_ = nullptr;
};

class SQLiteHistoryStoreTest : public ::testing::Test {
protected:
    TempDir dir;
    std::filesystem::path path = dir / "history.sqlite";
};

TEST_F(SQLiteHistoryStoreTest, CreatesItsFolderAndWriteAheadLogAndReopensWithEverything) {
    const auto nested = dir / "a" / "b" / "history.sqlite";
    SQLiteHistoryStore store(nested.string());
    EXPECT_TRUE(std::filesystem::exists(nested));
    EXPECT_EQ(RawDatabase(nested).text("PRAGMA journal_mode;"), "wal");
    const InboxItem item = makeItem("kept", 123.5, ContentType::json);
    store.save(item);
    EXPECT_EQ(SQLiteHistoryStore(nested.string()).recent(5), std::vector<InboxItem>{item});

    // An in-memory database needs no folder.
    SQLiteHistoryStore memory(":memory:");
    memory.save(item);
    EXPECT_EQ(memory.recent(1).size(), 1u);
    EXPECT_FALSE(std::filesystem::exists(":memory:"));
}

TEST_F(SQLiteHistoryStoreTest, SavingTheSameIdTwiceKeepsOneRowWithTheSecondItem) {
    SQLiteHistoryStore store(path.string());
    InboxItem item = makeItem("First", 1000);
    store.save(item);
    item.title = "Second";
    item.createdAt = Timestamp::fromUnix(2000);
    item.headline = "Updated";
    store.update(item);

    RawDatabase raw(path);
    EXPECT_EQ(raw.text("SELECT count(*) FROM items;"), "1");
    EXPECT_EQ(raw.text("SELECT title FROM items;"), "Second");
    EXPECT_EQ(raw.text("SELECT created_at FROM items;"), "2000.0"); // Unix seconds, not since 2001
    EXPECT_EQ(raw.text("SELECT search_text FROM items;"), "second text updated");
    EXPECT_EQ(store.item(item.id), item);
}

TEST_F(SQLiteHistoryStoreTest, SearchTextGathersTheSearchablePartsLowerCasedAndCapped) {
    InboxItem item = makeItem("Invoice from ACME", 10, ContentType::invoice);
    item.metadata.set("amount", std::string("$120.00"));
    item.metadata.setHidden("secret", std::string("HIDDEN"));
    item.sourceURL = Url::parse("https://Example.com/Bill");
    item.fileURL = Url::fromFilePath("/tmp/Docs/Acme Bill.PDF");
    item.originalText = std::string("Line ONE");
    EXPECT_EQ(SQLiteHistoryStore::searchText(item),
              "invoice from acme invoice invoice $120.00 https://example.com/bill acme bill.pdf line one");
    item.headline = "\u00C9T\u00C9";
    EXPECT_NE(SQLiteHistoryStore::searchText(item).find("\u00E9t\u00E9"), std::string::npos);

    // At most 2000 characters of the best text.
    item = makeItem("t", 1);
    item.extractedText = std::string(1999, 'a') + "\u00E9xyz";
    const std::string text = SQLiteHistoryStore::searchText(item);
    EXPECT_TRUE(text.ends_with(std::string(1999, 'a') + "\u00E9")) << text.substr(text.size() - 10);
}

TEST_F(SQLiteHistoryStoreTest, SearchMatchesLiterallyAndCaseInsensitively) {
    SQLiteHistoryStore store(path.string());
    int at = 0;
    for (const char* title : {"Invoice from Acme", "discount 50% off", "scored 50 points", "file a_b",
                              "file axb", "path C:\\temp"})
        store.save(makeItem(title, ++at));

    for (const auto& [query, title] :
         std::vector<std::pair<std::string, std::string>>{{"INVOICE", "Invoice from Acme"},
                                                          {"50%", "discount 50% off"},
                                                          {"a_b", "file a_b"},
                                                          {"c:\\t", "path C:\\temp"},
                                                          {"  acme \n", "Invoice from Acme"}})
        EXPECT_EQ(titles(store.search(query, 10)), std::vector<std::string>{title}) << query;
    EXPECT_TRUE(store.search("nothing like it", 10).empty());
    EXPECT_EQ(store.search("   ", 3), store.recent(3));
    EXPECT_EQ(store.search("", 10).size(), 6u);
    EXPECT_EQ(titles(store.search("file", 1)), std::vector<std::string>{"file axb"});
}

TEST_F(SQLiteHistoryStoreTest, UnreadableRowsAreSkippedAndLogged) {
    SQLiteHistoryStore store(path.string());
    const InboxItem good = makeItem("good", 10);
    store.save(good);
    RawDatabase raw(path);
    InboxItem spreadsheet = makeItem("bad", 20);
    std::string payload = item_json::payload(spreadsheet);
    payload.replace(payload.find("\"plainText\""), 11, "\"spreadsheet\"");
    raw.exec("INSERT INTO items VALUES ('" + spreadsheet.id.string() + "', 20, 'bad', 'good bad', '" +
             payload + "');");
    raw.exec("INSERT INTO items VALUES ('X', 30, 'junk', 'good junk', x'7b7b');");
    raw.exec("INSERT INTO items VALUES ('Y', 40, 'empty', 'good empty', x'');");

    LogCapture log;
    EXPECT_EQ(titles(store.recent(10)), std::vector<std::string>{"good"});
    EXPECT_EQ(titles(store.search("good", 10)), std::vector<std::string>{"good"});
    EXPECT_FALSE(store.item(spreadsheet.id));
    EXPECT_EQ(store.item(good.id), good);
    const auto records = log.records();
    // Two unreadable rows for recent, two for search, one for item; the empty payload is skipped silently.
    EXPECT_EQ(std::count(records.begin(), records.end(),
                         Log::Record{Log::Category::storage, Log::Level::error,
                                     "Skipped an unreadable history row"}),
              5);
}

TEST_F(SQLiteHistoryStoreTest, RecentIsNewestFirstAndDeletesOneAllOrExpiredItems) {
    SQLiteHistoryStore store(path.string());
    const InboxItem a = makeItem("a", 100), c = makeItem("c", 300), b = makeItem("b", 200);
    for (const auto& item : {a, c, b})
        store.save(item);
    EXPECT_EQ(titles(store.recent(10)), (std::vector<std::string>{"c", "b", "a"})); // newest first
    EXPECT_EQ(titles(store.recent(2)), (std::vector<std::string>{"c", "b"}));
    EXPECT_TRUE(store.recent(0).empty());

    store.deleteItem(Uuid::random()); // not stored: fine
    EXPECT_TRUE(store.deleteItems(Timestamp::fromUnix(50)).empty());

    const auto removed = store.deleteItems(Timestamp::fromUnix(200)); // strictly older
    EXPECT_EQ(titles(removed), std::vector<std::string>{"a"});
    EXPECT_EQ(titles(store.recent(10)), (std::vector<std::string>{"c", "b"}));

    store.deleteItem(c.id);
    EXPECT_EQ(titles(store.recent(10)), std::vector<std::string>{"b"});
    store.deleteAll();
    EXPECT_TRUE(store.recent(10).empty());
}

TEST_F(SQLiteHistoryStoreTest, ConcurrentSavesAndReadsFromSeveralThreads) {
    SQLiteHistoryStore store(path.string());
    constexpr int threads = 4, perThread = 100;
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t)
        workers.emplace_back([&store, t] {
            for (int i = 0; i < perThread; ++i) {
                store.save(makeItem("t" + std::to_string(t) + "-" + std::to_string(i), t * 1000 + i));
                if (i % 10 == 0)
                    (void)store.search("t", 5);
            }
        });
    for (auto& w : workers)
        w.join();
    EXPECT_EQ(store.recent(1000).size(), static_cast<std::size_t>(threads * perThread));
    EXPECT_EQ(store.recent(1).front().title, "t3-99");
}

TEST_F(SQLiteHistoryStoreTest, FailingStatementsThrowTheStorageErrorsAndKeepRows) {
    SQLiteHistoryStore store(path.string());
    InboxItem item = makeItem("original", 100);
    store.save(item);
    RawDatabase raw(path);
    raw.exec("CREATE TRIGGER no_boom BEFORE UPDATE ON items WHEN NEW.title = 'boom' BEGIN SELECT "
             "RAISE(ABORT, 'no boom'); END;");
    raw.exec("CREATE TRIGGER keep BEFORE DELETE ON items BEGIN SELECT RAISE(ABORT, 'kept'); END;");

    LogCapture log;
    item.title = "boom";
    EXPECT_EQ(testing::thrownError([&] { store.save(item); }),
              TessellarError("Tessellar couldn\u2019t save this item.", {TessellarError::Recovery::retry}));
    EXPECT_TRUE(log.contains(Log::Category::storage, Log::Level::error, "SQLite: no boom"));
    EXPECT_EQ(store.item(item.id)->title, "original"); // the previous row is untouched

    const auto message = [](auto&& call) { return testing::thrownError(call).message(); };
    const std::string unreadable = "Tessellar couldn\u2019t read its history.";
    EXPECT_EQ(message([&] { store.deleteItem(item.id); }), "Tessellar couldn\u2019t delete this item.");
    EXPECT_EQ(message([&] { store.deleteItems(Timestamp::fromUnix(1e12)); }),
              "Tessellar couldn\u2019t clean up old items.");
    EXPECT_EQ(message([&] { store.deleteAll(); }), "Tessellar couldn\u2019t set up its history database.");
    EXPECT_EQ(store.recent(10).size(), 1u); // a failed expiry leaves all rows

    raw.exec("DROP TRIGGER keep;");
    raw.exec("DROP TABLE items;");
    // This connection learns of the change while stepping, which ends the list without an error;
    // from then on the statements no longer prepare.
    EXPECT_TRUE(store.recent(1).empty());
    EXPECT_EQ(message([&] { (void)store.recent(1); }), unreadable);
    EXPECT_EQ(message([&] { (void)store.search("x", 1); }), unreadable);
    EXPECT_EQ(message([&] { (void)store.item(item.id); }), unreadable);
    EXPECT_EQ(message([&] { store.save(item); }), unreadable);
    EXPECT_TRUE(log.contains(Log::Category::storage, Log::Level::error, "SQLite: no such table: items"));
}

TEST_F(SQLiteHistoryStoreTest, OpeningFailuresGiveTheirOwnErrors) {
    // A file that is not a database opens, but setting it up fails.
    std::ofstream(path) << std::string(4096, 'x');
    EXPECT_EQ(testing::thrownError([&] { SQLiteHistoryStore store(path.string()); }),
              TessellarError("Tessellar couldn\u2019t set up its history database.",
                             {TessellarError::Recovery::retry}));

    // A folder where the file should be cannot be opened.
    const auto folder = dir / "is-a-folder";
    std::filesystem::create_directory(folder);
    EXPECT_EQ(testing::thrownError([&] { SQLiteHistoryStore store(folder.string()); }),
              TessellarError("Couldn\u2019t open Tessellar\u2019s history database.",
                             {TessellarError::Recovery::retry}));

    // A parent that is a file cannot be created: the file system's own error.
    const auto blocker = dir / "blocker";
    std::ofstream(blocker) << "x";
    EXPECT_THROW(SQLiteHistoryStore((blocker / "sub" / "history.sqlite").string()),
                 std::filesystem::filesystem_error);
}

TEST(AppPaths, FollowXDGDataHome) {
    const testing::ScopedEnvironment data("XDG_DATA_HOME", "/data/home");
    EXPECT_EQ(AppPaths::databasePath(), "/data/home/Tessellar/history.sqlite");
    EXPECT_EQ(AppPaths::imagesDirectory(), "/data/home/Tessellar/Images");
    const testing::ScopedEnvironment relative("XDG_DATA_HOME", "relative/path"); // ignored, as XDG requires
    const testing::ScopedEnvironment home("HOME", "/home/ana");
    EXPECT_EQ(AppPaths::supportDirectory(), "/home/ana/.local/share/Tessellar");
}

// Two Tessellar processes (the app and the CLI) write one history file at the same time.
constexpr int processCount = 2;
constexpr int itemsPerProcess = 150;

// Saves this process's items into `path` once `go` is readable; the exit status says how it went.
[[noreturn]] void writer(const std::string& path, int process, int go) {
    int status = 0;
    try {
        SQLiteHistoryStore store(path);
        char byte = 0;
        if (read(go, &byte, 1) < 0)
            _exit(3);
        for (int i = 0; i < itemsPerProcess; ++i) {
            auto item = makeItem("p" + std::to_string(process) + "-" + std::to_string(i),
                                 1'700'000'000.0 + process * itemsPerProcess + i);
            item.originalText =
                std::string(2'000, static_cast<char>('a' + i % 26)); // pages fill, the log grows
            store.save(item);
        }
    } catch (...) {
        status = 2;
    }
    _exit(status);
}

TEST(SQLiteHistoryStoreProcesses, TwoProcessesSavingAtOnceLoseNothing) {
    TempDir dir;
    const std::string path = (dir / "history.sqlite").string();
    int pipeEnds[2];
    ASSERT_EQ(pipe(pipeEnds), 0);
    std::vector<pid_t> children;
    for (int process = 0; process < processCount; ++process) {
        const pid_t pid = fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            close(pipeEnds[1]);
            writer(path, process, pipeEnds[0]);
        }
        children.push_back(pid);
    }
    close(pipeEnds[0]);
    close(pipeEnds[1]); // both writers start together
    for (const pid_t pid : children) {
        int status = -1;
        ASSERT_EQ(waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "writer status " << status;
    }

    SQLiteHistoryStore store(path);
    const std::vector<InboxItem> all = store.recent(10'000);
    ASSERT_EQ(all.size(), static_cast<std::size_t>(processCount * itemsPerProcess));
    std::set<std::string> seen;
    for (const InboxItem& item : all) {
        EXPECT_TRUE(seen.insert(item.title).second) << item.title << " twice";
        EXPECT_EQ(store.item(item.id), item);
        EXPECT_EQ(item.originalText->size(), 2'000u);
    }
}

} // namespace
} // namespace tessellar
