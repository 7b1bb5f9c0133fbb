#pragma once

#include "app/SettingsServices.h"

#include <QWidget>

class QListWidget;

namespace tessellar::app {

// The destination folders offered when a file is dropped.
class FoldersSettingsTab : public QWidget {
    Q_OBJECT
public:
    explicit FoldersSettingsTab(SettingsServices& services, QWidget* parent = nullptr);

    QListWidget& list() { return *list_; }
    void refresh();

    void addFolder();
    void chooseFolderForRow(int row);
    void removeRow(int row);

    // The opaque token that stands for access to a folder: its absolute path.
    static std::vector<std::uint8_t> bookmarkFor(const std::string& path);

private:
    SettingsServices& services_;
    QListWidget* list_;
};

} // namespace tessellar::app
