#pragma once
#include <QMainWindow>
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <memory>
#include <vector>

#include "app/RootControl.h"
#include "app/SessionListener.h"
#include "musicdb/MusicDatabase.h"

class QTabWidget;
class QTreeView;
class QListView;
class QLabel;
class QMenu;
class QPushButton;
class QStackedWidget;
class QWidget;
class QAction;

namespace velmo {
struct Session;
class BuiltInPlayer;
}

namespace velmo::gui {

class TreeModel;
class ListModel;
class TAddCDForm;
class TCopyCDForm;
class TOptionsForm;
class ProfileBox;
class SearchPanel;
class PlayerPanel;
class SongHints;
class RenameTreeView;
class QtMediaPlayer;
class WindowPlayerView;

// The main window: six tabs over the core's trees and lists, the status and database
// commands, the profile box, the statistics line. Handlers read the widgets, call the core
// and show the result; the rules live in the core.
class TMainForm : public QMainWindow, private DatabaseListener, private SessionListener {
    Q_OBJECT
public:
    explicit TMainForm(Session& session, QWidget* parent = nullptr);
    ~TMainForm() override;

    // Refreshes the statistics line, tab captions and window caption now.
    void UpDateText();
    // Refreshes the enabled state of Play now, Delete, Make playlist and Press to start.
    void UpDatePlayButton();
    // While a copy runs, the playlist commands and every command that would change where the
    // copy writes or free what it reads are disabled; status commands and browsing stay.
    // Follows the session's copy state; the one place that locks and unlocks them.
    void setCopyRunning(bool running);
    // Closing without the exit question or saving (a screenshot run).
    void setQuietClose(bool quiet) { quietClose_ = quiet; }
    // The add-disk dialog that "Add disk..." and drops onto this window open.
    void setAddDiskDialog(TAddCDForm* dialog) { AddCDForm = dialog; }
    TAddCDForm* addDiskDialog() const { return AddCDForm; }
    // The copy dialog that "Press to start" shows; its deactivation offers the button that
    // brings it back.
    void setCopyDialog(TCopyCDForm* dialog);
    // The options dialog the Options button opens.
    void setOptionsDialog(TOptionsForm* dialog) { OptionsForm = dialog; }
    // Where passing messages and progress show (the lower status bar).
    QLabel* statusLabel() const { return StatusBar1; }

    // The records a command acts on, from the active tree or list.
    std::vector<TDataRec*> SetSelectionList(bool songs, bool songsUnderFolders) const;

    QTreeView* visibleTree() const;
    QListView* listOfTab(int tab) const;
    QTabWidget* tabs() const { return PageControlTabInt; }
    QMenu* contextMenu() const { return PopupMenuContext; }
    // Prepares the context menu for a list (or a tree when `list` is null), as before it opens.
    void prepareContextMenu(QListView* list);
    // The built-in player and its panel.
    BuiltInPlayer& builtInPlayer() const { return *builtInPlayer_; }
    PlayerPanel* playerPanel() const { return playerPanel_; }
    // "Play now !" (the button, the context menu, a double click, Enter), unless a name is
    // being edited in a tree.
    void ButtonPlayNowClick();
    // "Explorer" (the context menu, Shift+Enter): the shell command on the selected item.
    void ContextMenuItemShellOpenClick();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void statisticsChanged() override;
    void databaseCleared() override;
    void profilesChanged() override;
    void settingsChanged() override;
    void copyStateChanged() override;
    void languageChanged() override;
    // Alt+letter for the buttons and menu items, none twice among those shown together.
    void assignMnemonics();
    // The profile box shows the session's profile list.
    void refreshProfiles();

    QWidget* buildTreeTab();
    QWidget* buildListTab(int tab);
    QWidget* buildStatusButtons(int tab);
    QPushButton* makeButton(const char* name);
    QPushButton* makeButton(const QString& name);
    QAction* makeAction(QMenu* menu, const char* name);
    void buildDatabaseMenu();
    void buildMenus();

    void BitBtnUsedClick();
    void runStatus(int status, bool fromButton);
    void ButtonMakePlayListClick();
    void ButtonPressToStartClick();
    void BitBtnShowCopyProgressClick();
    void FormActivate();
    void FormDeactivate();
    void ButtonSwitchViewClick();
    void ButtonSelectAllClick(int tab);
    void ButtonManageDBClick();
    void ButtonOptionsClick();
    void PageControlTabIntChange();
    void pressStatusButton(size_t button);
    void collapseDeselects(QTreeView* tree, const QModelIndex& index);
    bool FormKeyDown(QKeyEvent* key);
    bool FormMouseWheel(QWheelEvent* wheel);
    void runWithWindowDisabled(const std::function<void()>& work);
    std::vector<TreeNode*> selectedMusicNodes() const;
    void ButtonRootControlClick();
    void ButtonFinishClick();
    void updateRootButtons();
    void ContextMenuItemReloadTagClick();
    // "Add disk...": opens the add-disk dialog and its chooser.
    void ButtonAddCDClick();
    // Delete of the selected songs; Shift held deletes their files too.
    void ButtonDeleteClick();
    void deleteSelected(bool physical);
    // The Delete key in a tree or list of the active tab; true when it was taken.
    bool deleteKey(QKeyEvent* key, QObject* watched);
    // Shift+F10 in a tree or a list of the active tab; true when it was taken.
    bool contextMenuKey(QKeyEvent* key, QObject* watched);
    // The keyboard goes to the tree or list of the active tab.
    void focusVisibleView();
    // A node of either tree is being renamed in place.
    bool inPlaceEditing() const;
    void renameEnded(QTreeView* tree, TreeNode* node, const std::optional<std::string>& text);
    // Search: the visible tree's selected node, and a hit shown on the first tab.
    const TreeNode* selectedNodeOfVisibleTree() const;
    void showSearchHit(const TreeNode* node);
    // The player panel, Play now and shell open wired to the core (TMainFormPlayer.cpp).
    void buildPlayer();
    // Enter and Shift+Enter in a tree or a list; true when the key was used.
    bool playKeyPressed(QWidget* view, QKeyEvent* key);
    // The music-tree node shell open acts on: the selected node of the tab's tree or list.
    const TreeNode* shellOpenNode() const;

    Session& s_;
    QTabWidget* PageControlTabInt = nullptr;
    QStackedWidget* treeStack_ = nullptr;
    RenameTreeView* TreeViewMusicTree = nullptr;
    RenameTreeView* TreeViewFolders = nullptr;
    std::array<QListView*, 6> lists_{};
    TreeModel* musicModel_ = nullptr;
    TreeModel* folderModel_ = nullptr;
    std::array<ListModel*, 6> listModels_{};
    QLabel* StatusBar1 = nullptr;
    QLabel* StatusBar2 = nullptr;
    ProfileBox* profileBox_ = nullptr;
    SearchPanel* searchPanel_ = nullptr;
    PlayerPanel* playerPanel_ = nullptr;
    SongHints* songHints_ = nullptr;

    // Tab 0's command buttons.
    QPushButton* ButtonManageDB = nullptr;
    QPushButton* ButtonMakePlayList = nullptr;
    QPushButton* ButtonPressToStart = nullptr;
    QPushButton* ButtonSwitchView = nullptr;
    QPushButton* ButtonOptions = nullptr;
    QPushButton* ButtonRootControl = nullptr;
    QWidget* PanelRootControl = nullptr;
    QPushButton* ButtonRoot = nullptr;
    QPushButton* ButtonSimple = nullptr;
    QPushButton* ButtonFinish = nullptr;
    // Per tab: the delete button ("ButtonDelete", "ButtonDelete1" ...) and the six status
    // buttons in the order of kStatusButtons.
    std::array<QPushButton*, 6> deleteButtons_{};
    std::array<std::array<QPushButton*, 6>, 6> statusButtons_{};

    QMenu* PopupMenuManageDB = nullptr;
    QMenu* PopupMenuContext = nullptr;
    QMenu* PopupMenuGood = nullptr;
    QMenu* ContextMenuRootItemJustGood = nullptr;
    QAction* MenuItemAddDisk = nullptr;
    QAction* ContextMenuItemPlayNow = nullptr;
    QAction* ContextMenuItemShellOpen = nullptr;
    QAction* ContextMenuItemDelete = nullptr;
    QAction* ContextMenuItemJustGood = nullptr;
    // What a running copy disables besides the playlist buttons (see setCopyRunning).
    std::vector<QWidget*> lockedDuringCopy_;
    std::vector<QAction*> actionsLockedDuringCopy_;

    bool copyRunning_ = false;
    bool quietClose_ = false;
    bool textRefreshPending_ = false;
    RootControl rootControl_;
    TAddCDForm* AddCDForm = nullptr;
    TCopyCDForm* CopyCDForm = nullptr;
    TOptionsForm* OptionsForm = nullptr;

    friend class WindowPlayerView;
    // Declared in this order so that the player goes before what it uses.
    QtMediaPlayer* media_ = nullptr;
    std::unique_ptr<WindowPlayerView> playerView_;
    std::unique_ptr<BuiltInPlayer> builtInPlayer_;
};

} // namespace velmo::gui
