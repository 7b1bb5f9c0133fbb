#include "kit/storage/SQLiteHistoryStore.h"

#include "kit/base/Log.h"
#include "kit/model/InboxItemJSON.h"
#include "kit/model/TessellarError.h"
#include "kit/storage/AppPaths.h"
#include "kit/text/StringHelpers.h"
#include "kit/text/Unicode.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <sqlite3.h>
#include <thread>

namespace tessellar {
namespace {

constexpr const char* journalPragma = "PRAGMA journal_mode = WAL;";
constexpr const char* createTable = "CREATE TABLE IF NOT EXISTS items (\n"
                                    "    id TEXT PRIMARY KEY,\n"
                                    "    created_at REAL NOT NULL,\n"
                                    "    title TEXT NOT NULL,\n"
                                    "    search_text TEXT NOT NULL,\n"
                                    "    payload BLOB NOT NULL\n"
                                    ");";
constexpr const char* createIndex = "CREATE INDEX IF NOT EXISTS items_created_at ON items(created_at DESC);";
constexpr const char* upsertSQL = "INSERT INTO items (id, created_at, title, search_text, payload)\n"
                                  "VALUES (?, ?, ?, ?, ?)\n"
                                  "ON CONFLICT(id) DO UPDATE SET\n"
                                  "    created_at = excluded.created_at,\n"
                                  "    title = excluded.title,\n"
                                  "    search_text = excluded.search_text,\n"
                                  "    payload = excluded.payload;";
constexpr const char* recentSQL = "SELECT payload FROM items ORDER BY created_at DESC LIMIT ?;";
constexpr const char* searchSQL = "SELECT payload FROM items\n"
                                  "WHERE search_text LIKE ? ESCAPE '\\'\n"
                                  "ORDER BY created_at DESC LIMIT ?;";
constexpr const char* itemSQL = "SELECT payload FROM items WHERE id = ? LIMIT 1;";
constexpr const char* deleteSQL = "DELETE FROM items WHERE id = ?;";
constexpr const char* deleteAllSQL = "DELETE FROM items;";
constexpr const char* expiredSQL = "SELECT payload FROM items WHERE created_at < ?;";
constexpr const char* deleteExpiredSQL = "DELETE FROM items WHERE created_at < ?;";

constexpr std::size_t searchTextCharacterLimit = 2000;

// A prepared statement, finalised on every path.
class Statement {
public:
    Statement(sqlite3* db, std::string_view sql) {
        if (sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &statement_, nullptr) !=
            SQLITE_OK) {
            sqlite3_finalize(statement_);
            statement_ = nullptr;
        }
    }
    ~Statement() { sqlite3_finalize(statement_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    explicit operator bool() const { return statement_ != nullptr; }
    sqlite3_stmt* get() const { return statement_; }

private:
    sqlite3_stmt* statement_ = nullptr;
};

void bindText(sqlite3_stmt* statement, int index, std::string_view text) {
    sqlite3_bind_text(statement, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

int boundLimit(int limit) {
    return std::max(limit, 0);
}

// Switching a new file to the write-ahead log needs the file to itself, and SQLite answers
// "busy" at once rather than waiting when another process is opening it at the same moment;
// so each setup statement is tried again for as long as the busy timeout would have waited.
int setUp(sqlite3* database, const char* statement) {
    int result = sqlite3_exec(database, statement, nullptr, nullptr, nullptr);
    for (int attempt = 0; result == SQLITE_BUSY && attempt < 100; ++attempt) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        result = sqlite3_exec(database, statement, nullptr, nullptr, nullptr);
    }
    return result;
}

} // namespace

void SQLiteHistoryStore::Closer::operator()(sqlite3* db) const {
    sqlite3_close_v2(db);
}

SQLiteHistoryStore::SQLiteHistoryStore() : SQLiteHistoryStore(AppPaths::databasePath().string()) {}

SQLiteHistoryStore::SQLiteHistoryStore(const std::string& path) {
    if (path != ":memory:") {
        const auto folder = std::filesystem::path(path).parent_path();
        if (!folder.empty())
            std::filesystem::create_directories(folder); // its own error, as the file system reports it
    }
    sqlite3* raw = nullptr;
    const int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX;
    const int result = sqlite3_open_v2(path.c_str(), &raw, flags, nullptr);
    database_.reset(raw); // closed on every path, including a failed open
    if (result != SQLITE_OK || !raw) {
        Log::error(Log::Category::storage,
                   std::string("SQLite: ") + (raw ? sqlite3_errmsg(raw) : sqlite3_errstr(result)));
        throw TessellarError("Couldn\u2019t open Tessellar\u2019s history database.",
                             {TessellarError::Recovery::retry});
    }
    // The app and the command-line tool may share the file; wait briefly rather than fail.
    sqlite3_busy_timeout(raw, 5000);
    for (const char* statement : {journalPragma, createTable, createIndex})
        if (setUp(raw, statement) != SQLITE_OK)
            fail("set up its history database");
}

SQLiteHistoryStore::~SQLiteHistoryStore() = default;

void SQLiteHistoryStore::fail(std::string_view verbPhrase) const {
    Log::error(Log::Category::storage,
               std::string("SQLite: ") + (database_ ? sqlite3_errmsg(database_.get()) : "unknown error"));
    throw TessellarError::storage(verbPhrase);
}

std::string SQLiteHistoryStore::searchText(const InboxItem& item) {
    const std::string typeName(content_type::displayName(item.contentType));
    std::string text = item.title;
    const auto append = [&text](std::string_view part) {
        text += ' ';
        text += part;
    };
    append(typeName);
    append(item.headline && !item.headline->empty() ? *item.headline : typeName);
    for (const auto& fact : item.metadata.facts)
        append(fact.value);
    if (item.sourceURL)
        append(item.sourceURL->absoluteString());
    if (item.fileURL)
        append(item.fileURL->lastPathComponent());
    if (const auto best = item.bestText())
        append(unicode::characterPrefix(*best, searchTextCharacterLimit));
    return unicode::lowercased(text);
}

std::string SQLiteHistoryStore::likePattern(std::string_view query) {
    std::string escaped;
    for (char c : unicode::lowercased(query)) {
        if (c == '\\' || c == '%' || c == '_')
            escaped += '\\';
        escaped += c;
    }
    return "%" + escaped + "%";
}

void SQLiteHistoryStore::save(const InboxItem& item) {
    const std::string payload = item_json::payload(item);
    const std::string id = item.id.string();
    const std::string search = searchText(item);
    std::lock_guard lock(mutex_);
    Statement statement(database_.get(), upsertSQL);
    if (!statement)
        fail("read its history");
    bindText(statement.get(), 1, id);
    sqlite3_bind_double(statement.get(), 2, item.createdAt.unixSeconds);
    bindText(statement.get(), 3, item.title);
    bindText(statement.get(), 4, search);
    sqlite3_bind_blob(statement.get(), 5, payload.data(), static_cast<int>(payload.size()), SQLITE_TRANSIENT);
    if (sqlite3_step(statement.get()) != SQLITE_DONE)
        fail("save this item");
}

void SQLiteHistoryStore::update(const InboxItem& item) {
    save(item);
}

std::vector<InboxItem> SQLiteHistoryStore::readItems(std::string_view sql,
                                                     const std::function<void(sqlite3_stmt*)>& bind) {
    Statement statement(database_.get(), sql);
    if (!statement)
        fail("read its history");
    bind(statement.get());
    std::vector<InboxItem> items;
    // Stepping stops at the first result that is not a row; a failing step ends the list quietly.
    while (sqlite3_step(statement.get()) == SQLITE_ROW) {
        const auto* bytes = static_cast<const char*>(sqlite3_column_blob(statement.get(), 0));
        const int size = sqlite3_column_bytes(statement.get(), 0);
        if (!bytes || size <= 0)
            continue;
        if (auto item = item_json::decodePayload(std::string_view(bytes, static_cast<std::size_t>(size))))
            items.push_back(std::move(*item));
        else
            Log::error(Log::Category::storage, "Skipped an unreadable history row");
    }
    return items;
}

std::vector<InboxItem> SQLiteHistoryStore::recent(int limit) {
    std::lock_guard lock(mutex_);
    return readItems(recentSQL, [limit](sqlite3_stmt* s) { sqlite3_bind_int(s, 1, boundLimit(limit)); });
}

std::vector<InboxItem> SQLiteHistoryStore::search(std::string_view query, int limit) {
    const std::string trimmedQuery = trimmed(query);
    if (trimmedQuery.empty())
        return recent(limit);
    const std::string pattern = likePattern(trimmedQuery);
    std::lock_guard lock(mutex_);
    return readItems(searchSQL, [&](sqlite3_stmt* s) {
        bindText(s, 1, pattern);
        sqlite3_bind_int(s, 2, boundLimit(limit));
    });
}

std::optional<InboxItem> SQLiteHistoryStore::item(const Uuid& id) {
    const std::string key = id.string();
    std::lock_guard lock(mutex_);
    auto items = readItems(itemSQL, [&](sqlite3_stmt* s) { bindText(s, 1, key); });
    if (items.empty())
        return std::nullopt;
    return std::move(items.front());
}

void SQLiteHistoryStore::deleteItem(const Uuid& id) {
    const std::string key = id.string();
    std::lock_guard lock(mutex_);
    Statement statement(database_.get(), deleteSQL);
    if (!statement)
        fail("read its history");
    bindText(statement.get(), 1, key);
    if (sqlite3_step(statement.get()) != SQLITE_DONE)
        fail("delete this item");
}

void SQLiteHistoryStore::deleteAll() {
    std::lock_guard lock(mutex_);
    if (!database_)
        fail("reach its history database");
    if (sqlite3_exec(database_.get(), deleteAllSQL, nullptr, nullptr, nullptr) != SQLITE_OK)
        fail("set up its history database");
}

std::vector<InboxItem> SQLiteHistoryStore::deleteItems(Timestamp olderThan) {
    const double cutoff = olderThan.unixSeconds;
    std::lock_guard lock(mutex_);
    auto removed = readItems(expiredSQL, [cutoff](sqlite3_stmt* s) { sqlite3_bind_double(s, 1, cutoff); });
    Statement statement(database_.get(), deleteExpiredSQL);
    if (!statement)
        fail("read its history");
    sqlite3_bind_double(statement.get(), 1, cutoff);
    if (sqlite3_step(statement.get()) != SQLITE_DONE)
        fail("clean up old items");
    return removed;
}

} // namespace tessellar
