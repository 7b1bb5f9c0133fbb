#pragma once

#include "app/InboxModel.h"

#include <QWidget>
#include <functional>

class QAction;
class QLabel;
class QLineEdit;
class QListView;
class QStackedWidget;

namespace tessellar::app {

// "Recent Items…": the stored captures with a search field; an item opens in the panel.
class InboxWindow : public QWidget {
    Q_OBJECT
public:
    using ItemHandler = std::function<void(const InboxItem&)>;

    // `openItem` shows the item in the panel; `reveal` shows its file in the file manager.
    InboxWindow(InboxServices services, ItemHandler openItem, ItemHandler reveal, QWidget* parent = nullptr);

    InboxModel& model() { return *model_; }
    QLineEdit& searchField() { return *search_; }
    QListView& list() { return *list_; }
    QString emptyTitle() const;
    QString footer() const;

    // The row's context menu, built for `row` (empty for a header row).
    QList<QAction*> actionsForRow(int row);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void refresh();
    void openRow(int row);

    InboxModel* model_;
    ItemHandler openItem_;
    ItemHandler reveal_;
    QLineEdit* search_;
    QAction* clear_;
    QListView* list_;
    QStackedWidget* stack_;
    QLabel* emptyTitle_;
    QLabel* emptyText_;
    QLabel* footer_;
};

} // namespace tessellar::app
