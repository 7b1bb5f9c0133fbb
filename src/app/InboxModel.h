#pragma once

#include "kit/capture/ImageStore.h"
#include "kit/model/InboxItem.h"
#include "kit/storage/HistoryStore.h"

#include <QAbstractListModel>
#include <QHash>
#include <QImage>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

namespace tessellar::app {

// What the inbox needs from the app: the history (absent when it failed to open, with the
// reason), the image store, and the retention in force.
struct InboxServices {
    HistoryStore* history = nullptr;
    std::optional<std::string> historyFailure;
    ImageStore images{std::filesystem::path()};
    std::function<std::int64_t()> retentionDays = [] { return std::int64_t{30}; };
};

// The stored captures, newest first, grouped by day, as one flat list: a header row
// for each day followed by its items. Queries run on a worker thread; only the result
// of the latest query is shown.
class InboxModel : public QAbstractListModel {
    Q_OBJECT
public:
    struct Group {
        std::string title;
        std::vector<InboxItem> items;
        bool operator==(const Group&) const = default;
    };
    enum Role { SubtitleRole = Qt::UserRole + 1, IsHeaderRole, ItemIdRole };

    static constexpr int limit = 300;
    static constexpr int thumbnailSize = 40;

    explicit InboxModel(InboxServices services, QObject* parent = nullptr);
    ~InboxModel() override;

    // Reloads with the current query; `loaded` follows on the GUI thread.
    void load();
    void setQuery(const QString& query); // reloads when it changed
    const QString& query() const { return query_; }
    // Removes the item and its stored image, then reloads.
    void deleteItem(const InboxItem& item);

    const std::vector<Group>& groups() const { return groups_; }
    int total() const { return total_; }
    QString footerText() const;
    // The item on a row; absent for header rows and rows out of range.
    const InboxItem* itemAt(int row) const;

    // Days in the order first seen, items in their given order; titled relative to `now`.
    static std::vector<Group> group(const std::vector<InboxItem>& items, Timestamp now);
    // The row's second line: the headline (or type name), then " · " and up to three facts.
    static std::string subtitle(const InboxItem& item);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

signals:
    void loaded();
    void deleted();

private:
    struct Row {
        int group;
        int item; // -1 for the header
    };
    void apply(std::uint64_t generation, std::vector<InboxItem> items);
    void requestThumbnail(const InboxItem& item) const;
    void thumbnailLoaded(const QString& key, const QImage& image);
    // The worker: runs the newest submitted job; older ones that never started are dropped.
    void submit(std::function<void()> job);
    void work(std::stop_token stop);

    InboxServices services_;
    QString query_;
    std::vector<Group> groups_;
    std::vector<Row> rows_;
    int total_ = 0;
    std::uint64_t generation_ = 0;
    mutable QHash<QString, QImage> thumbnails_;

    std::mutex mutex_;
    std::condition_variable_any wake_;
    std::function<void()> pending_;
    std::vector<std::function<void()>> mustRun_; // deletions are never dropped
    std::jthread worker_;
};

// Removes items older than the retention (in calendar days before `now`) with their
// images; nothing when the retention is below one day. Returns the removed items.
std::vector<InboxItem> pruneHistory(HistoryStore& history, const ImageStore& images,
                                    std::int64_t retentionDays, Timestamp now);
// The start of the local calendar day `date` falls in.
Timestamp startOfDay(Timestamp date);

} // namespace tessellar::app
