#include "app/FoldersSettingsTab.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace tessellar::app {

FoldersSettingsTab::FoldersSettingsTab(SettingsServices& services, QWidget* parent)
    : QWidget(parent), services_(services) {
    auto* layout = new QVBoxLayout(this);
    auto* note =
        new QLabel(QStringLiteral("Tessellar suggests one of these when you drop a file, and moves it only "
                                  "after you confirm. Choose a folder once so macOS grants access."),
                   this);
    note->setWordWrap(true);
    layout->addWidget(note);
    list_ = new QListWidget(this);
    connect(list_, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { chooseFolderForRow(list_->row(item)); });
    layout->addWidget(list_, 1);
    auto* add = new QPushButton(QStringLiteral("Add Folder\u2026"), this);
    connect(add, &QPushButton::clicked, this, &FoldersSettingsTab::addFolder);
    layout->addWidget(add, 0, Qt::AlignLeft);
    refresh();
}

std::vector<std::uint8_t> FoldersSettingsTab::bookmarkFor(const std::string& path) {
    return {path.begin(), path.end()};
}

void FoldersSettingsTab::refresh() {
    list_->clear();
    const auto destinations = services_.preferences->destinations();
    for (int row = 0; row < static_cast<int>(destinations.size()); ++row) {
        const auto& destination = destinations[row];
        auto* item = new QListWidgetItem(list_);
        auto* widget = new QWidget(list_);
        auto* line = new QHBoxLayout(widget);
        auto* text = new QLabel(QString::fromStdString(destination.name) + QLatin1Char('\n') +
                                    QString::fromStdString(destination.path),
                                widget);
        auto* remove = new QPushButton(QIcon::fromTheme(QStringLiteral("list-remove")),
                                       QStringLiteral("Remove"), widget);
        connect(remove, &QPushButton::clicked, this, [this, id = destination.id] {
            auto all = services_.preferences->destinations();
            std::erase_if(all, [&](const FolderDestination& d) { return d.id == id; });
            services_.preferences->setDestinations(std::move(all));
            refresh();
        });
        line->addWidget(text, 1);
        line->addWidget(remove);
        item->setSizeHint(widget->sizeHint());
        item->setData(Qt::UserRole, QString::fromStdString(destination.id.string()));
        list_->setItemWidget(item, widget);
    }
}

void FoldersSettingsTab::addFolder() {
    if (!services_.chooseFolder)
        return;
    const auto chosen = services_.chooseFolder(QString());
    if (!chosen)
        return;
    auto all = services_.preferences->destinations();
    auto name = std::filesystem::path(*chosen).filename().string();
    if (name.empty())
        name = std::filesystem::path(*chosen).parent_path().filename().string();
    all.push_back({Uuid::random(), name, *chosen, bookmarkFor(*chosen)});
    services_.preferences->setDestinations(std::move(all));
    refresh();
}

void FoldersSettingsTab::chooseFolderForRow(int row) {
    auto all = services_.preferences->destinations();
    if (row < 0 || row >= static_cast<int>(all.size()) || !services_.chooseFolder)
        return;
    const auto id = all[row].id;
    const auto chosen = services_.chooseFolder(QString::fromStdString(all[row].path));
    if (!chosen)
        return;
    // Matched by id: the list may have changed while the chooser was open.
    all = services_.preferences->destinations();
    for (auto& destination : all)
        if (destination.id == id) {
            destination.path = *chosen;
            destination.bookmark = bookmarkFor(*chosen);
        }
    services_.preferences->setDestinations(std::move(all));
    refresh();
}

void FoldersSettingsTab::removeRow(int row) {
    auto all = services_.preferences->destinations();
    if (row < 0 || row >= static_cast<int>(all.size()))
        return;
    all.erase(all.begin() + row);
    services_.preferences->setDestinations(std::move(all));
    refresh();
}

} // namespace tessellar::app
