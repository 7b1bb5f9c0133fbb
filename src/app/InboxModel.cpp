#include "app/InboxModel.h"

#include "kit/base/Clock.h"
#include "kit/base/Log.h"
#include "kit/model/ContentType.h"
#include "kit/model/TessellarError.h"
#include "kit/text/Formatting.h"

#include <QCoreApplication>
#include <QFont>
#include <QMetaObject>
#include <QPointer>
#include <QThreadPool>
#include <cmath>
#include <ctime>

namespace tessellar::app {
namespace {

QString qt(const std::string& text) {
    return QString::fromStdString(text);
}

} // namespace

Timestamp startOfDay(Timestamp date) {
    const auto seconds = static_cast<std::time_t>(std::floor(date.unixSeconds));
    std::tm local{};
    localtime_r(&seconds, &local);
    local.tm_hour = 0;
    local.tm_min = 0;
    local.tm_sec = 0;
    local.tm_isdst = -1;
    return Timestamp::fromUnix(static_cast<double>(std::mktime(&local)));
}

std::vector<InboxItem> pruneHistory(HistoryStore& history, const ImageStore& images,
                                    std::int64_t retentionDays, Timestamp now) {
    if (retentionDays < 1)
        return {};
    // Calendar days, so a daylight-saving change does not move the cut-off by an hour.
    const auto seconds = static_cast<std::time_t>(std::floor(now.unixSeconds));
    std::tm local{};
    localtime_r(&seconds, &local);
    local.tm_mday -= static_cast<int>(std::min<std::int64_t>(retentionDays, 1'000'000));
    local.tm_isdst = -1;
    const auto cutoffSeconds = std::mktime(&local);
    const auto cutoff = cutoffSeconds == static_cast<std::time_t>(-1)
                            ? Timestamp::fromUnix(-1e12) // the distant past: nothing is old enough
                            : Timestamp::fromUnix(static_cast<double>(cutoffSeconds) +
                                                  (now.unixSeconds - std::floor(now.unixSeconds)));
    auto removed = history.deleteItems(cutoff);
    for (const auto& item : removed)
        images.remove(item.imagePath);
    return removed;
}

InboxModel::InboxModel(InboxServices services, QObject* parent)
    : QAbstractListModel(parent), services_(std::move(services)),
      worker_([this](std::stop_token stop) { work(stop); }) {}

InboxModel::~InboxModel() {
    worker_.request_stop();
    wake_.notify_all();
}

void InboxModel::submit(std::function<void()> job) {
    {
        std::lock_guard lock(mutex_);
        pending_ = std::move(job);
    }
    wake_.notify_all();
}

void InboxModel::work(std::stop_token stop) {
    for (;;) {
        std::vector<std::function<void()>> jobs;
        {
            std::unique_lock lock(mutex_);
            if (!wake_.wait(lock, stop, [this] { return pending_ || !mustRun_.empty(); }))
                return;
            jobs = std::move(mustRun_);
            mustRun_.clear();
            if (pending_)
                jobs.push_back(std::exchange(pending_, nullptr));
        }
        for (auto& job : jobs)
            job();
    }
}

void InboxModel::load() {
    const auto generation = ++generation_;
    if (!services_.history) {
        apply(generation, {});
        return;
    }
    submit([this, generation, history = services_.history, query = query_.toStdString()] {
        std::vector<InboxItem> items;
        try {
            items = history->search(query, limit);
        } catch (const TessellarError& error) {
            Log::error(Log::Category::ui, "Inbox search failed: " + error.message());
        }
        QMetaObject::invokeMethod(
            this,
            [this, generation, items = std::move(items)]() mutable { apply(generation, std::move(items)); },
            Qt::QueuedConnection);
    });
}

void InboxModel::setQuery(const QString& query) {
    if (query == query_)
        return;
    query_ = query;
    load();
}

void InboxModel::deleteItem(const InboxItem& item) {
    if (!services_.history)
        return;
    {
        std::lock_guard lock(mutex_);
        mustRun_.push_back([this, history = services_.history, images = services_.images, item] {
            try {
                history->deleteItem(item.id);
            } catch (const TessellarError& error) {
                Log::error(Log::Category::ui, "Inbox delete failed: " + error.message());
            }
            images.remove(item.imagePath); // a file already gone is fine
            QMetaObject::invokeMethod(
                this,
                [this] {
                    emit deleted();
                    load();
                },
                Qt::QueuedConnection);
        });
    }
    wake_.notify_all();
}

void InboxModel::apply(std::uint64_t generation, std::vector<InboxItem> items) {
    if (generation != generation_)
        return; // an answer to a query the user has already replaced
    beginResetModel();
    total_ = static_cast<int>(items.size());
    groups_ = group(items, Clock::now());
    rows_.clear();
    for (int g = 0; g < static_cast<int>(groups_.size()); ++g) {
        rows_.push_back({g, -1});
        for (int i = 0; i < static_cast<int>(groups_[g].items.size()); ++i)
            rows_.push_back({g, i});
    }
    endResetModel();
    emit loaded();
}

std::vector<InboxModel::Group> InboxModel::group(const std::vector<InboxItem>& items, Timestamp now) {
    std::vector<Group> groups;
    std::vector<Timestamp> days;
    for (const auto& item : items) {
        const auto day = startOfDay(item.createdAt);
        std::size_t index = 0;
        while (index < days.size() && days[index] != day)
            ++index;
        if (index == days.size()) {
            days.push_back(day);
            groups.push_back({Formatting::relativeDayHeader(day, now), {}});
        }
        groups[index].items.push_back(item);
    }
    return groups;
}

std::string InboxModel::subtitle(const InboxItem& item) {
    auto label = item.displayHeadline();
    const auto summary = item.metadata.summaryLine(3);
    if (!summary.empty())
        label += " \u00B7 " + summary;
    return label;
}

QString InboxModel::footerText() const {
    if (services_.historyFailure)
        return qt(*services_.historyFailure);
    QString text =
        QString::number(total_) + (total_ == 1 ? QStringLiteral(" item") : QStringLiteral(" items"));
    const auto days = services_.retentionDays ? services_.retentionDays() : 0;
    text += QStringLiteral(" \u00B7 ");
    text +=
        days < 1 ? QStringLiteral("Kept until you clear them") : QStringLiteral("Kept for %1 days").arg(days);
    return text;
}

const InboxItem* InboxModel::itemAt(int row) const {
    if (row < 0 || row >= static_cast<int>(rows_.size()) || rows_[row].item < 0)
        return nullptr;
    return &groups_[rows_[row].group].items[rows_[row].item];
}

int InboxModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

QVariant InboxModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= static_cast<int>(rows_.size()))
        return {};
    const auto& row = rows_[index.row()];
    if (row.item < 0) {
        switch (role) {
        case Qt::DisplayRole:
            return qt(groups_[row.group].title);
        case IsHeaderRole:
            return true;
        case Qt::FontRole: {
            QFont font;
            font.setBold(true);
            return font;
        }
        default:
            return {};
        }
    }
    const auto& item = groups_[row.group].items[row.item];
    switch (role) {
    case Qt::DisplayRole:
        return qt(item.title) + QLatin1Char('\n') + qt(subtitle(item));
    case Qt::ToolTipRole:
        return qt(item.title);
    case SubtitleRole:
        return qt(subtitle(item));
    case IsHeaderRole:
        return false;
    case ItemIdRole:
        return qt(item.id.string());
    case Qt::DecorationRole: {
        if (!item.imagePath)
            return {};
        const auto key = qt(item.id.string());
        const auto cached = thumbnails_.constFind(key);
        if (cached != thumbnails_.constEnd())
            return cached->isNull() ? QVariant() : QVariant::fromValue(*cached);
        requestThumbnail(item);
        return {};
    }
    default:
        return {};
    }
}

Qt::ItemFlags InboxModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    return rows_[index.row()].item < 0 ? Qt::ItemIsEnabled : Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

// Decoded off the GUI thread when a row first needs it; a missing file stays blank.
void InboxModel::requestThumbnail(const InboxItem& item) const {
    const auto key = qt(item.id.string());
    thumbnails_.insert(key, QImage());
    const auto path = qt(item.imagePath->path());
    // The pool may finish after the model is gone: the answer goes through the application
    // object and finds the model only if it still exists.
    QPointer<InboxModel> model(const_cast<InboxModel*>(this));
    QThreadPool::globalInstance()->start([model, key, path] {
        QImage image(path);
        if (!image.isNull())
            image = image.scaled(thumbnailSize, thumbnailSize, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        QMetaObject::invokeMethod(
            QCoreApplication::instance(),
            [model, key, image] {
                if (model)
                    model->thumbnailLoaded(key, image);
            },
            Qt::QueuedConnection);
    });
}

void InboxModel::thumbnailLoaded(const QString& key, const QImage& image) {
    thumbnails_.insert(key, image);
    for (int row = 0; row < static_cast<int>(rows_.size()); ++row)
        if (const auto* item = itemAt(row); item && qt(item->id.string()) == key)
            emit dataChanged(index(row), index(row), {Qt::DecorationRole});
}

} // namespace tessellar::app
