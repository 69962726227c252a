#pragma once
#include <QDialog>
#include <optional>
#include <string>

#include "base/TextTable.h"
#include "platform/Drives.h"

class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace velmo::gui {

// The folder chooser: the drives of Drives.ini at the first level ("C:\ (/)"), their folders
// below, hidden ones included, read when a node is first opened. Its own window, so it stays
// usable while the main window is disabled.
class TOpenFolderForm : public QDialog {
    Q_OBJECT
public:
    // The captions and hints come from `texts`.
    explicit TOpenFolderForm(const TextTable& texts, QWidget* parent = nullptr);

    // Shows the chooser modally over these drives; the chosen folder as the catalogue sees it
    // ("E:\Pop\Old\", "E:\" for a whole drive), nullopt on Cancel.
    std::optional<std::string> chooseFolder(const platform::DriveTable& drives, const std::string& caption);

    // Lists the drives afresh, nothing selected. The table must outlive the listing (it is the
    // session's).
    void loadDrives(const platform::DriveTable& drives);
    // The selected drive or folder as "E:\Pop\"; nullopt when nothing is selected.
    std::optional<std::string> selectedPath() const;
    // The node of a catalogue folder ("E:\Pop\Old\"), opening the nodes above it; null when
    // there is none.
    QTreeWidgetItem* itemOf(const std::string& catalogPath);

private:
    void fillChildren(QTreeWidgetItem* item);
    void ShellTreeViewChange();

    QTreeWidget* ShellTreeView = nullptr;
    QPushButton* ButtonChoose = nullptr;
    QPushButton* ButtonCancel = nullptr;
    const platform::DriveTable* drives_ = nullptr;
};

} // namespace velmo::gui
