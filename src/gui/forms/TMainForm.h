#pragma once
#include <QMainWindow>
#include <QPoint>
#include <array>
#include <vector>

#include "musicdb/MusicDatabase.h"

class QTabWidget;
class QTreeView;
class QListView;
class QLabel;
class QMenu;
class QComboBox;
class QLineEdit;
class QPushButton;
class QStackedWidget;
class QWidget;
class QAction;
class QAbstractItemView;

namespace velmo {
struct Session;
}

namespace velmo::gui {

class TreeModel;
class ListModel;
class TAddCDForm;

// The main window: six tabs over the core's trees and lists, the status and database
// commands, the profile box, the statistics line. Handlers read the widgets, call the core
// and show the result; the rules live in the core.
class TMainForm : public QMainWindow, private DatabaseListener {
    Q_OBJECT
public:
    explicit TMainForm(Session& session, QWidget* parent = nullptr);
    ~TMainForm() override;

    // Refreshes the statistics line, tab captions and window caption now.
    void UpDateText();
    // Refreshes the enabled state of Play now, Delete, Make playlist and Press to start.
    void UpDatePlayButton();
    // The profile box shows the session's profile list.
    void refreshProfiles();
    // A copy keeps Make playlist and Press to start disabled (set by the copy engine).
    void setCopyRunning(bool running);
    // Closing without the exit question or saving (a screenshot run).
    void setQuietClose(bool quiet) { quietClose_ = quiet; }
    // The add-disk dialog that "Add disk..." and drops onto this window open.
    void setAddDiskDialog(TAddCDForm* dialog) { AddCDForm = dialog; }
    TAddCDForm* addDiskDialog() const { return AddCDForm; }

    // The records a command acts on, from the active tree or list.
    std::vector<TDataRec*> SetSelectionList(bool songs, bool songsUnderFolders) const;

    QTreeView* visibleTree() const;
    QListView* listOfTab(int tab) const;
    QTabWidget* tabs() const { return PageControlTabInt; }
    QMenu* contextMenu() const { return PopupMenuContext; }
    // Prepares the context menu for a list (or a tree when `list` is null), as before it opens.
    void prepareContextMenu(QListView* list);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void statisticsChanged() override;
    void databaseCleared() override;

    QWidget* buildTreeTab();
    QWidget* buildListTab(int tab);
    QWidget* buildStatusButtons(const QString& suffix, bool withJustGoodMenu);
    QPushButton* makeButton(const QString& name, const QString& textKey = {});
    QAction* makeAction(QMenu* menu, const QString& name);
    void buildMenus();
    void buildProfileBox(QWidget* bar);

    void BitBtnUsedClick();
    void runStatus(int status, bool fromButton);
    void ButtonMakePlayListClick();
    void ButtonSwitchViewClick();
    void ButtonSelectAllClick(int tab);
    void ButtonManageDBClick();
    void PageControlTabIntChange();
    void pressTabButton(const QString& prefix);
    void collapseDeselects(QTreeView* tree, const QModelIndex& index);
    bool FormKeyDown(QKeyEvent* key);
    bool FormMouseWheel(QWheelEvent* wheel);
    void ComboBoxProfilesChange(int index);
    void startProfileEdit(int mode);
    void endProfileEdit();
    void profileEditEnter();
    void runWithWindowDisabled(const std::function<void()>& work);
    std::vector<TreeNode*> selectedMusicNodes() const;
    void ButtonRootControlClick();
    void ButtonFinishClick();
    void updateRootButtons();
    QString songHint(const TDataRec& rec) const;
    void showKeyboardHint(QAbstractItemView* view);
    void ContextMenuItemReloadTagClick();

    Session& s_;
    QTabWidget* PageControlTabInt = nullptr;
    QStackedWidget* treeStack_ = nullptr;
    QTreeView* TreeViewMusicTree = nullptr;
    QTreeView* TreeViewFolders = nullptr;
    std::array<QListView*, 6> lists_{};
    TreeModel* musicModel_ = nullptr;
    TreeModel* folderModel_ = nullptr;
    std::array<ListModel*, 6> listModels_{};
    QLabel* StatusBar1 = nullptr;
    QLabel* StatusBar2 = nullptr;
    QMenu* PopupMenuManageDB = nullptr;
    QMenu* PopupMenuContext = nullptr;
    QMenu* PopupMenuGood = nullptr;
    QMenu* PopupMenuProfile = nullptr;
    QMenu* ContextMenuRootItemJustGood = nullptr;
    QComboBox* ComboBoxProfiles = nullptr;
    QLineEdit* EditNewProfile = nullptr;
    QWidget* PanelRootControl = nullptr;
    int ProfileEditMode = 2;
    bool copyRunning_ = false;
    bool quietClose_ = false;
    bool textRefreshPending_ = false;
    // After a keyboard hint, mouse hints wait until the mouse moves on both axes.
    bool HintSuppressed = false;
    QPoint LastHintPoint;
    bool isSongViewport(QObject* watched) const;
    // Set when root control changed a mark; the folder tree is rebuilt at Finish.
    bool RootsChanged = false;
    // "Add disk...": opens the add-disk dialog and its chooser.
    void ButtonAddCDClick();
    TAddCDForm* AddCDForm = nullptr;
};

} // namespace velmo::gui
