#pragma once

#include "kit/storage/HistoryStore.h"

#include <functional>
#include <memory>
#include <mutex>
#include <string>

struct sqlite3;
struct sqlite3_stmt;

namespace tessellar {

// The history in one SQLite file: the whole item as a JSON payload plus the columns
// needed to order, look up and search. One mutex serialises every operation.
class SQLiteHistoryStore final : public HistoryStore {
public:
    // Opens (creating if needed) the database at `path`; ":memory:" is an in-memory database.
    // Throws the file system's error when the folder cannot be created, TessellarError otherwise.
    explicit SQLiteHistoryStore(const std::string& path);
    // The database at AppPaths::databasePath().
    SQLiteHistoryStore();
    ~SQLiteHistoryStore() override;

    SQLiteHistoryStore(const SQLiteHistoryStore&) = delete;
    SQLiteHistoryStore& operator=(const SQLiteHistoryStore&) = delete;

    void save(const InboxItem& item) override;
    void update(const InboxItem& item) override;
    std::vector<InboxItem> recent(int limit) override;
    std::vector<InboxItem> search(std::string_view query, int limit) override;
    std::optional<InboxItem> item(const Uuid& id) override;
    void deleteItem(const Uuid& id) override;
    void deleteAll() override;
    std::vector<InboxItem> deleteItems(Timestamp olderThan) override;

    // What a search matches against: title, type names, headline, fact values, link,
    // file name and the start of the best text, lower-cased.
    static std::string searchText(const InboxItem& item);
    // The LIKE pattern for a trimmed query: lower-cased, "\", "%" and "_" escaped, wrapped in "%".
    static std::string likePattern(std::string_view query);

private:
    struct Closer {
        void operator()(sqlite3* db) const;
    };

    [[noreturn]] void fail(std::string_view verbPhrase) const;
    std::vector<InboxItem> readItems(std::string_view sql, const std::function<void(sqlite3_stmt*)>& bind);

    mutable std::mutex mutex_;
    std::unique_ptr<sqlite3, Closer> database_;
};

} // namespace tessellar
