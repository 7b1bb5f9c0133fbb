#include "app/InboxWindow.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace tessellar::app {

InboxWindow::InboxWindow(InboxServices services, ItemHandler openItem, ItemHandler reveal, QWidget* parent)
    : QWidget(parent), model_(new InboxModel(std::move(services), this)), openItem_(std::move(openItem)),
      reveal_(std::move(reveal)) {
    setWindowTitle(QStringLiteral("Tessellar"));
    resize(520, 560);

    search_ = new QLineEdit(this);
    search_->setPlaceholderText(QStringLiteral("Search recent items"));
    search_->addAction(QIcon::fromTheme(QStringLiteral("edit-find")), QLineEdit::LeadingPosition);
    clear_ = search_->addAction(QIcon::fromTheme(QStringLiteral("edit-clear")), QLineEdit::TrailingPosition);
    clear_->setText(QStringLiteral("Clear search"));
    clear_->setToolTip(QStringLiteral("Clear search"));
    clear_->setVisible(false);
    connect(clear_, &QAction::triggered, search_, &QLineEdit::clear);
    // Every keystroke queries; the model shows only the newest answer.
    connect(search_, &QLineEdit::textChanged, this, [this](const QString& text) {
        clear_->setVisible(!text.isEmpty());
        model_->setQuery(text);
    });

    list_ = new QListView(this);
    list_->setModel(model_);
    list_->setUniformItemSizes(false);
    list_->setIconSize(QSize(InboxModel::thumbnailSize, InboxModel::thumbnailSize));
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(list_, &QListView::activated, this, [this](const QModelIndex& index) { openRow(index.row()); });
    connect(list_, &QListView::customContextMenuRequested, this, [this](const QPoint& position) {
        const auto actions = actionsForRow(list_->indexAt(position).row());
        if (actions.isEmpty())
            return;
        QMenu menu;
        menu.addActions(actions);
        menu.exec(list_->viewport()->mapToGlobal(position));
        qDeleteAll(actions);
    });

    auto* empty = new QWidget(this);
    emptyTitle_ = new QLabel(empty);
    emptyText_ = new QLabel(empty);
    QFont bold = emptyTitle_->font();
    bold.setBold(true);
    emptyTitle_->setFont(bold);
    auto* emptyLayout = new QVBoxLayout(empty);
    emptyLayout->addStretch();
    for (auto* label : {emptyTitle_, emptyText_}) {
        label->setAlignment(Qt::AlignCenter);
        label->setWordWrap(true);
        emptyLayout->addWidget(label);
    }
    emptyLayout->addStretch();

    stack_ = new QStackedWidget(this);
    stack_->addWidget(list_);
    stack_->addWidget(empty);

    footer_ = new QLabel(this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(search_);
    layout->addWidget(stack_, 1);
    layout->addWidget(footer_);

    connect(model_, &InboxModel::loaded, this, &InboxWindow::refresh);
    refresh();
}

void InboxWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    model_->load();
}

void InboxWindow::refresh() {
    const bool empty = model_->total() == 0;
    emptyTitle_->setText(model_->query().isEmpty() ? QStringLiteral("Nothing captured yet")
                                                   : QStringLiteral("No matches"));
    emptyText_->setText(model_->query().isEmpty()
                            ? QStringLiteral("Press \u2325Space, then drop a file, link, or screenshot.")
                            : QStringLiteral("Try a different search."));
    stack_->setCurrentIndex(empty ? 1 : 0);
    footer_->setText(model_->footerText());
}

QString InboxWindow::emptyTitle() const {
    return stack_->currentIndex() == 1 ? emptyTitle_->text() + QLatin1Char('\n') + emptyText_->text()
                                       : QString();
}

QString InboxWindow::footer() const {
    return footer_->text();
}

void InboxWindow::openRow(int row) {
    if (const auto* item = model_->itemAt(row); item && openItem_)
        openItem_(*item);
}

QList<QAction*> InboxWindow::actionsForRow(int row) {
    const auto* found = model_->itemAt(row);
    if (!found)
        return {};
    const InboxItem item = *found;
    auto* open = new QAction(QStringLiteral("Open"), this);
    connect(open, &QAction::triggered, this, [this, item] {
        if (openItem_)
            openItem_(item);
    });
    auto* reveal = new QAction(QStringLiteral("Reveal in Finder"), this);
    reveal->setEnabled(item.hasFile() && reveal_);
    connect(reveal, &QAction::triggered, this, [this, item] {
        if (reveal_)
            reveal_(item);
    });
    auto* remove = new QAction(QStringLiteral("Delete"), this);
    connect(remove, &QAction::triggered, this, [this, item] { model_->deleteItem(item); });
    return {open, reveal, remove};
}

} // namespace tessellar::app
