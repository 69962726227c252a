#include "forms/TMainForm.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QGuiApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <QWidgetAction>
#include <algorithm>
#include <map>

#include "app/ContextMenu.h"
#include "base/Mnemonics.h"
#include "app/CopyCommands.h"
#include "app/DatabaseCommands.h"
#include "app/PlaylistCommands.h"
#include "app/Lifecycle.h"
#include "app/Session.h"
#include "app/StatusCommands.h"
#include "app/TreeEdits.h"
#include "catalog/Disks.h"
#include "forms/MainFormKeys.h"
#include "forms/PlayerPanel.h"
#include "forms/ProfileBox.h"
#include "forms/RenameTreeView.h"
#include "forms/SearchPanel.h"
#include "forms/SongHints.h"
#include "forms/TAddCDForm.h"
#include "forms/TCopyCDForm.h"
#include "forms/TOptionsForm.h"
#include "forms/WindowPlayerView.h"
#include "forms/WindowTexts.h"
#include "models/IconSet.h"
#include "models/ListModel.h"
#include "models/TreeModel.h"
#include "musicdb/RootFolders.h"
#include "musicdb/Statistics.h"
#include "platform/Drives.h"

namespace velmo::gui {

namespace {

QString qs(const std::string& s) { return QString::fromStdString(s); }

const char* const kListNames[6] = {"", "ListViewMusicList", "ListViewPlayList", "ListViewBlackList",
                                   "ListViewFavorites", "ListViewJustGood"};
const char* const kSheetNames[6] = {"TabSheetMusicDB", "TabSheetMusicList", "TabSheetPlayList",
                                    "TabSheetBlackList", "TabSheetFavorites", "TabSheetJustGood"};
const int kTabIcons[6] = {1, 6, 8, 9, 10, 14};
const char* const kStatusButtons[6] = {"BitBtnUsed", "BitBtnUnUsed", "BitBtnBlack", "BitBtnFav",
                                       "BitBtnPlayList", "BitBtnJustGood"};
constexpr size_t kJustGoodButton = 5;
// The glyph of each status button: the icon of the status it sets.
const int kStatusGlyphs[6] = {7, 6, 9, 10, 8, 14};

// The path of rows from the top: sorting by it gives the display order of a tree.
std::vector<int> rowPath(QModelIndex index) {
    std::vector<int> path;
    for (; index.isValid(); index = index.parent()) path.push_back(index.row());
    std::reverse(path.begin(), path.end());
    return path;
}

} // namespace

TMainForm::TMainForm(Session& session, QWidget* parent)
    : QMainWindow(parent), s_(session), rootControl_(session.db) {
    setObjectName("TMainForm");
    setWindowTitle(kWindowTitle);
    setWindowIcon(IconSet::icon(1));
    resize(1040, 680);

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(4, 4, 4, 0);
    layout->setSpacing(3);

    // Top bar: profiles, then the search panel.
    auto* top = new QWidget(central);
    auto* topLayout = new QHBoxLayout(top);
    topLayout->setContentsMargins(0, 0, 0, 0);
    profileBox_ = new ProfileBox(s_, top);
    topLayout->addWidget(profileBox_);
    topLayout->addSpacing(16);
    searchPanel_ = new SearchPanel(s_, top);
    topLayout->addWidget(searchPanel_, 1);
    layout->addWidget(top);
    connect(profileBox_, &ProfileBox::profileSwitched, this, [this] {
        UpDateText();
        UpDatePlayButton();
    });
    connect(profileBox_, &ProfileBox::profilesChanged, this, [this] {
        UpDateText();
        UpDatePlayButton();
    });

    PageControlTabInt = new QTabWidget(central);
    PageControlTabInt->setObjectName("PageControlTabInt");
    PageControlTabInt->addTab(buildTreeTab(), IconSet::icon(kTabIcons[0]), QString());
    for (int tab = 1; tab <= 5; ++tab)
        PageControlTabInt->addTab(buildListTab(tab), IconSet::icon(kTabIcons[tab]), QString());
    layout->addWidget(PageControlTabInt, 1);
    profileBox_->setFocusAfterEdit(PageControlTabInt);

    playerPanel_ = new PlayerPanel(central);
    layout->addWidget(playerPanel_);

    StatusBar2 = new QLabel(central);
    StatusBar2->setObjectName("StatusBar2");
    StatusBar2->setFrameShape(QFrame::StyledPanel);
    StatusBar1 = new QLabel(central);
    StatusBar1->setObjectName("StatusBar1");
    StatusBar1->setFrameShape(QFrame::StyledPanel);
    for (QLabel* bar : {StatusBar2, StatusBar1}) {
        bar->setMinimumHeight(20);
        bar->setTextInteractionFlags(Qt::NoTextInteraction);
        layout->addWidget(bar);
    }
    setCentralWidget(central);

    buildMenus();
    songHints_ = new SongHints(s_, this);
    auto hint = [this](const TDataRec& rec) { return songHints_->songHint(rec); };
    musicModel_->setHintProvider(hint);
    folderModel_->setHintProvider(hint);
    std::vector<QAbstractItemView*> views{TreeViewMusicTree, TreeViewFolders};
    for (int tab = 1; tab <= 5; ++tab) {
        listModels_[static_cast<size_t>(tab)]->setHintProvider(hint);
        views.push_back(lists_[static_cast<size_t>(tab)]);
    }
    songHints_->watch(views);
    connect(PageControlTabInt, &QTabWidget::currentChanged, this, [this] { PageControlTabIntChange(); });
    setAcceptDrops(true);
    qApp->installEventFilter(this);
    s_.db.addListener(this);
    s_.addListener(this);

    connect(playerPanel_->BitBtnShowCopyProgress, &QPushButton::clicked, this, &TMainForm::BitBtnShowCopyProgressClick);
    for (QPushButton* b : deleteButtons_) connect(b, &QPushButton::clicked, this, &TMainForm::ButtonDeleteClick);
    connect(ContextMenuItemDelete, &QAction::triggered, this, &TMainForm::ButtonDeleteClick);
    searchPanel_->setWindow({[this]() -> const Tree& {
                                 return visibleTree() == TreeViewMusicTree ? s_.db.musicTree() : s_.db.folderTree();
                             },
                             [this] { return selectedNodeOfVisibleTree(); },
                             [this](const TreeNode* hit) { showSearchHit(hit); }});
    buildPlayer();
    lockedDuringCopy_ = {profileBox_, ButtonOptions, ButtonRootControl, PanelRootControl};

    applyTexts(this, s_.texts);
    assignMnemonics();
    refreshProfiles();
    UpDateText();
    UpDatePlayButton();
}

void TMainForm::assignMnemonics() {
    // Buttons with a caption, in the order they were made (the order they stand in).
    auto captioned = [](QWidget* area) {
        QList<QAbstractButton*> buttons;
        for (QAbstractButton* b : area->findChildren<QAbstractButton*>())
            if (!b->text().isEmpty() && !qobject_cast<QToolButton*>(b)) buttons << b;
        return buttons;
    };
    auto mark = [](const QList<QAbstractButton*>& buttons, std::string& taken) {
        std::vector<std::string> captions;
        for (QAbstractButton* b : buttons) captions.push_back(b->text().toStdString());
        const std::vector<std::string> marked = withMnemonics(captions, taken);
        for (qsizetype i = 0; i < buttons.size(); ++i) buttons[i]->setText(qs(marked[static_cast<size_t>(i)]));
    };
    auto markActions = [](const QList<QAction*>& actions) {
        std::vector<std::string> captions;
        for (QAction* a : actions) captions.push_back(a->text().toStdString());
        std::string taken;
        const std::vector<std::string> marked = withMnemonics(captions, taken);
        for (qsizetype i = 0; i < actions.size(); ++i) actions[i]->setText(qs(marked[static_cast<size_t>(i)]));
    };
    // The bars above and below the tabs show beside every tab.
    std::string shared;
    QList<QAbstractButton*> bars = captioned(profileBox_) + captioned(searchPanel_) + captioned(playerPanel_);
    mark(bars, shared);
    for (int tab = 0; tab < PageControlTabInt->count(); ++tab) {
        std::string taken = shared;
        mark(captioned(PageControlTabInt->widget(tab)), taken);
    }
    for (QMenu* menu : {PopupMenuContext, ContextMenuRootItemJustGood}) {
        QList<QAction*> actions;
        for (QAction* a : menu->actions())
            if (!a->isSeparator() && !a->text().isEmpty()) actions << a;
        markActions(actions);
    }
    QList<QAction*> database;
    for (QToolButton* b : PopupMenuManageDB->findChildren<QToolButton*>())
        if (b->defaultAction()) database << b->defaultAction();
    markActions(database);
}

TMainForm::~TMainForm() {
    qApp->removeEventFilter(this);
    s_.db.removeListener(this);
    s_.removeListener(this);
}

QPushButton* TMainForm::makeButton(const QString& name) {
    auto* button = new QPushButton(this);
    button->setObjectName(name);
    return button;
}

QPushButton* TMainForm::makeButton(const char* name) { return makeButton(QString(name)); }

QAction* TMainForm::makeAction(QMenu* menu, const char* name) {
    QAction* action = menu->addAction(QString());
    action->setObjectName(name);
    return action;
}

QWidget* TMainForm::buildStatusButtons(int tab) {
    auto* column = new QWidget(this);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    const QString suffix = tab == 0 ? QString() : QString::number(tab);
    for (size_t i = 0; i < 6; ++i) {
        QPushButton* button = makeButton(kStatusButtons[i] + suffix);
        button->setIcon(IconSet::icon(kStatusGlyphs[i]));
        button->setFixedWidth(36);
        if (tab == 5 && i == kJustGoodButton) connect(button, &QPushButton::clicked, this, [this, button] {
            PopupMenuGood->popup(button->mapToGlobal(QPoint(0, 0)));
        });
        else connect(button, &QPushButton::clicked, this, &TMainForm::BitBtnUsedClick);
        statusButtons_[static_cast<size_t>(tab)][i] = button;
        layout->addWidget(button);
    }
    layout->addStretch(1);
    return column;
}

QWidget* TMainForm::buildTreeTab() {
    auto* page = new QWidget(this);
    page->setObjectName(kSheetNames[0]);
    auto* layout = new QHBoxLayout(page);

    auto* left = new QVBoxLayout;
    treeStack_ = new QStackedWidget(page);
    TreeViewMusicTree = new RenameTreeView(treeStack_);
    TreeViewMusicTree->setObjectName("TreeViewMusicTree");
    TreeViewFolders = new RenameTreeView(treeStack_);
    TreeViewFolders->setObjectName("TreeViewFolders");
    musicModel_ = new TreeModel(s_.db.musicTree(), this);
    folderModel_ = new TreeModel(s_.db.folderTree(), this);
    for (const auto& [tree, model] : {std::pair{TreeViewMusicTree, musicModel_}, std::pair{TreeViewFolders, folderModel_}}) {
        // The lambdas capture a plain copy: clang before 16 refuses to capture a structured binding.
        QTreeView* view = tree;
        view->setModel(model);
        view->setHeaderHidden(true);
        view->setUniformRowHeights(true);
        view->setSelectionMode(QAbstractItemView::ExtendedSelection);
        view->setContextMenuPolicy(Qt::CustomContextMenu);
        treeStack_->addWidget(view);
        connect(view, &QTreeView::collapsed, this, [this, view](const QModelIndex& i) { collapseDeselects(view, i); });
        connect(view->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
            UpDatePlayButton();
            updateRootButtons();
        });
        connect(view, &QWidget::customContextMenuRequested, this, [this, view](const QPoint& pos) {
            if (!view->indexAt(pos).isValid()) {
                view->clearSelection();
                return;
            }
            prepareContextMenu(nullptr);
            PopupMenuContext->popup(view->viewport()->mapToGlobal(pos));
        });
        connect(model, &TreeModel::viewExpandRequested, view, &QTreeView::expand);
        connect(model, &TreeModel::viewCollapseRequested, view, &QTreeView::collapse);
        connect(model, &TreeModel::viewSelectRequested, view, [view](const QModelIndex& i) {
            view->selectionModel()->select(i, QItemSelectionModel::Select);
        });
        connect(model, &TreeModel::viewClearSelectionRequested, view, &QTreeView::clearSelection);
    }
    // Who may be renamed: in the folder tree only songs, renamed through their music-tree node.
    TreeViewMusicTree->setHooks({[this](const QModelIndex& i) -> TreeNode* {
                                     TreeNode* node = musicModel_->nodeAt(i);
                                     return TreeViewMusicTreeEditing(node) ? node : nullptr;
                                 },
                                 [this](TreeNode* node, std::optional<std::string> text) {
                                     renameEnded(TreeViewMusicTree, node, text);
                                 }});
    TreeViewFolders->setHooks({[this](const QModelIndex& i) -> TreeNode* {
                                   const TreeNode* node = folderModel_->nodeAt(i);
                                   return TreeViewFoldersEditing(node) ? node->data()->MusicNode : nullptr;
                               },
                               [this](TreeNode* node, std::optional<std::string> text) {
                                   renameEnded(TreeViewFolders, node, text);
                               }});
    treeStack_->setCurrentWidget(s_.settings.MusicTreeVisible ? TreeViewMusicTree : TreeViewFolders);
    left->addWidget(treeStack_, 1);

    PanelRootControl = new QWidget(page);
    PanelRootControl->setObjectName("PanelRootControl");
    auto* rootLayout = new QHBoxLayout(PanelRootControl);
    rootLayout->setContentsMargins(0, 0, 0, 0);
    ButtonRoot = makeButton("ButtonRoot");
    ButtonSimple = makeButton("ButtonSimple");
    ButtonFinish = makeButton("ButtonFinish");
    for (QPushButton* b : {ButtonRoot, ButtonSimple, ButtonFinish}) rootLayout->addWidget(b);
    connect(ButtonRoot, &QPushButton::clicked, this, [this] {
        rootControl_.markAsRoots(selectedMusicNodes());
        UpDateText();
    });
    connect(ButtonSimple, &QPushButton::clicked, this, [this] {
        rootControl_.clearRootMarks(selectedMusicNodes());
        UpDateText();
    });
    connect(ButtonFinish, &QPushButton::clicked, this, &TMainForm::ButtonFinishClick);
    PanelRootControl->hide();
    left->addWidget(PanelRootControl);
    ButtonRootControl = makeButton("ButtonRootControl");
    connect(ButtonRootControl, &QPushButton::clicked, this, &TMainForm::ButtonRootControlClick);
    left->addWidget(ButtonRootControl);
    layout->addLayout(left, 1);

    auto* buttons = new QVBoxLayout;
    ButtonManageDB = makeButton("ButtonManageDB");
    connect(ButtonManageDB, &QPushButton::clicked, this, &TMainForm::ButtonManageDBClick);
    ButtonMakePlayList = makeButton("ButtonMakePlayList");
    ButtonMakePlayList->setIcon(IconSet::icon(18));
    connect(ButtonMakePlayList, &QPushButton::clicked, this, &TMainForm::ButtonMakePlayListClick);
    ButtonPressToStart = makeButton("ButtonPressToStart");
    ButtonPressToStart->setIcon(IconSet::icon(16));
    connect(ButtonPressToStart, &QPushButton::clicked, this, &TMainForm::ButtonPressToStartClick);
    ButtonSwitchView = makeButton("ButtonSwitchView");
    connect(ButtonSwitchView, &QPushButton::clicked, this, &TMainForm::ButtonSwitchViewClick);
    QPushButton* exit = makeButton("ButtonExit");
    connect(exit, &QPushButton::clicked, this, &QWidget::close);
    deleteButtons_[0] = makeButton("ButtonDelete");
    ButtonOptions = makeButton("ButtonOptions");
    connect(ButtonOptions, &QPushButton::clicked, this, &TMainForm::ButtonOptionsClick);
    for (QPushButton* b : {ButtonManageDB, ButtonOptions, ButtonMakePlayList, ButtonPressToStart,
                           ButtonSwitchView, deleteButtons_[0]})
        buttons->addWidget(b);
    auto* statusRow = new QHBoxLayout;
    statusRow->addStretch(1);
    statusRow->addWidget(buildStatusButtons(0));
    buttons->addLayout(statusRow, 1);
    buttons->addWidget(exit);
    layout->addLayout(buttons);
    // Tab goes down the tree's column, then down the button column as the buttons stand.
    std::vector<QWidget*> order{TreeViewMusicTree, TreeViewFolders, ButtonRoot, ButtonSimple, ButtonFinish,
                                ButtonRootControl, ButtonManageDB, ButtonOptions, ButtonMakePlayList,
                                ButtonPressToStart, ButtonSwitchView, deleteButtons_[0]};
    for (QPushButton* b : statusButtons_[0]) order.push_back(b);
    order.push_back(exit);
    for (size_t i = 1; i < order.size(); ++i) QWidget::setTabOrder(order[i - 1], order[i]);
    return page;
}

QWidget* TMainForm::buildListTab(int tab) {
    auto* page = new QWidget(this);
    page->setObjectName(kSheetNames[tab]);
    auto* layout = new QHBoxLayout(page);
    static ItemList& (MusicDatabase::*const kLists[6])() = {nullptr, &MusicDatabase::musicList, &MusicDatabase::playList,
                                                            &MusicDatabase::blackList, &MusicDatabase::favorites,
                                                            &MusicDatabase::justGood};
    auto* view = new QListView(page);
    view->setObjectName(kListNames[tab]);
    listModels_[static_cast<size_t>(tab)] = new ListModel((s_.db.*kLists[tab])(), this);
    view->setModel(listModels_[static_cast<size_t>(tab)]);
    view->setUniformItemSizes(true);
    view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    view->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    // Grid lines between the rows. An item style replaces the style's own selection look, so
    // the selection is drawn here too (else a selected row is white text on white).
    view->setStyleSheet("QListView::item { border-bottom: 1px solid palette(midlight); }"
                        "QListView::item:selected { background: palette(highlight); color: palette(highlighted-text); }");
    view->viewport()->installEventFilter(this);
    connect(view->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { UpDatePlayButton(); });
    connect(view, &QWidget::customContextMenuRequested, this, [this, view](const QPoint& pos) {
        prepareContextMenu(view);
        PopupMenuContext->popup(view->viewport()->mapToGlobal(pos));
    });
    lists_[static_cast<size_t>(tab)] = view;
    layout->addWidget(view, 1);

    auto* buttons = new QVBoxLayout;
    const QString n = QString::number(tab);
    QPushButton* selectAll = makeButton("ButtonSelectAll" + n);
    connect(selectAll, &QPushButton::clicked, this, [this, tab] { ButtonSelectAllClick(tab); });
    buttons->addWidget(selectAll);
    deleteButtons_[static_cast<size_t>(tab)] = makeButton("ButtonDelete" + n);
    buttons->addWidget(deleteButtons_[static_cast<size_t>(tab)]);
    buttons->addWidget(buildStatusButtons(tab), 1);
    layout->addLayout(buttons);
    return page;
}

void TMainForm::buildDatabaseMenu() {
    // Two columns, the second from "Add to DB...".
    PopupMenuManageDB = new QMenu(this);
    PopupMenuManageDB->setObjectName("PopupMenuManageDB");
    PopupMenuManageDB->setToolTipsVisible(true);
    const char* const columns[2][4] = {{"MenuItemAddDisk", "MenuItemLoadBase", "MenuItemSaveBase", "MenuItemSaveDBAs"},
                                       {"MenuItemAddtoDB", "MenuItemResetIcons", "MenuItemClearDB", nullptr}};
    auto* grid = new QWidget(PopupMenuManageDB);
    auto* gridLayout = new QGridLayout(grid);
    gridLayout->setContentsMargins(2, 2, 2, 2);
    gridLayout->setSpacing(0);
    std::map<std::string, QAction*> items;
    for (int c = 0; c < 2; ++c) {
        for (int r = 0; r < 4 && columns[c][r]; ++r) {
            auto* action = new QAction(this);
            action->setObjectName(columns[c][r]);
            items[columns[c][r]] = action;
            auto* button = new QToolButton(grid);
            button->setDefaultAction(action);
            button->setAutoRaise(true);
            button->setToolButtonStyle(Qt::ToolButtonTextOnly);
            button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
            gridLayout->addWidget(button, r, c);
            connect(action, &QAction::triggered, PopupMenuManageDB, &QMenu::close);
        }
    }
    auto* widgetAction = new QWidgetAction(PopupMenuManageDB);
    widgetAction->setDefaultWidget(grid);
    PopupMenuManageDB->addAction(widgetAction);
    MenuItemAddDisk = items["MenuItemAddDisk"];
    connect(MenuItemAddDisk, &QAction::triggered, this, &TMainForm::ButtonAddCDClick);
    connect(items["MenuItemLoadBase"], &QAction::triggered, this, [this] { runWithWindowDisabled([this] { MenuItemLoadBaseClick(s_); }); });
    connect(items["MenuItemSaveBase"], &QAction::triggered, this, [this] { MenuItemSaveBaseClick(s_); });
    connect(items["MenuItemSaveDBAs"], &QAction::triggered, this, [this] { MenuItemSaveDBAsClick(s_); });
    connect(items["MenuItemAddtoDB"], &QAction::triggered, this, [this] { runWithWindowDisabled([this] { MenuItemAddtoDBClick(s_); }); });
    connect(items["MenuItemResetIcons"], &QAction::triggered, this, [this] { MenuItemResetIconsClick(s_); });
    connect(items["MenuItemClearDB"], &QAction::triggered, this, [this] { MenuItemClearDBClick(s_); });
    for (const char* name : {"MenuItemAddDisk", "MenuItemLoadBase", "MenuItemSaveDBAs", "MenuItemAddtoDB", "MenuItemClearDB"})
        actionsLockedDuringCopy_.push_back(items[name]);
}

void TMainForm::buildMenus() {
    buildDatabaseMenu();

    PopupMenuGood = new QMenu(this);
    PopupMenuGood->setObjectName("PopupMenuGood");
    const std::pair<const char*, int> goodItems[] = {
        {"MenuItemUnUsed", ssGoodUnused}, {"MenuItemUsed", ssGoodUsed}, {"MenuItemPlayList", ssGoodPlayList}};
    std::array<QAction*, 3> good{};
    for (size_t i = 0; i < 3; ++i) {
        const int status = goodItems[i].second;
        good[i] = makeAction(PopupMenuGood, goodItems[i].first);
        connect(good[i], &QAction::triggered, this, [this, status] { runStatus(status, false); });
    }

    PopupMenuContext = new QMenu(this);
    PopupMenuContext->setObjectName("PopupMenuContext");
    PopupMenuContext->setToolTipsVisible(true);
    ContextMenuItemPlayNow = makeAction(PopupMenuContext, "ContextMenuItemPlayNow");
    PopupMenuContext->setDefaultAction(ContextMenuItemPlayNow);
    ContextMenuItemShellOpen = makeAction(PopupMenuContext, "ContextMenuItemShellOpen");
    QAction* reloadTag = makeAction(PopupMenuContext, "ContextMenuItemReloadTag");
    connect(reloadTag, &QAction::triggered, this, &TMainForm::ContextMenuItemReloadTagClick);
    actionsLockedDuringCopy_.push_back(reloadTag);
    ContextMenuItemDelete = makeAction(PopupMenuContext, "ContextMenuItemDelete");
    PopupMenuContext->addSeparator();
    // The status items press the matching button of the active tab.
    const char* const statusItems[6] = {"ContextMenuItemUsed",      "ContextMenuItemUnUsed",   "ContextMenuItemBlack",
                                        "ContextMenuItemFavorites", "ContextMenuItemPlayList", "ContextMenuItemJustGood"};
    for (size_t i = 0; i < 6; ++i) {
        QAction* item = makeAction(PopupMenuContext, statusItems[i]);
        connect(item, &QAction::triggered, this, [this, i] { pressStatusButton(i); });
        if (i == kJustGoodButton) ContextMenuItemJustGood = item;
    }
    ContextMenuRootItemJustGood = PopupMenuContext->addMenu(QString());
    ContextMenuRootItemJustGood->setObjectName("ContextMenuRootItemJustGood");
    const char* const goodContext[3] = {"ContextMenuItemGoodUnUsed", "ContextMenuItemGoodUsed",
                                        "ContextMenuItemGoodPlayList"};
    for (size_t i = 0; i < 3; ++i) {
        QAction* target = good[i];
        connect(makeAction(ContextMenuRootItemJustGood, goodContext[i]), &QAction::triggered, this,
                [target] { target->trigger(); });
    }
}

void TMainForm::prepareContextMenu(QListView* list) {
    ContextMenuPlace place;
    place.onList = list != nullptr;
    place.onJustGoodList = list && list == lists_[5];
    place.onFolderNode = !list && visibleTree() == TreeViewFolders && TreeViewFolders->currentIndex().isValid() &&
                         !isSongImage(folderModel_->nodeAt(TreeViewFolders->currentIndex())->imageIndex());
    place.hasSelection = list ? list->selectionModel()->hasSelection() : visibleTree()->selectionModel()->hasSelection();
    const ContextMenuItems items = contextMenuItems(place);
    ContextMenuRootItemJustGood->menuAction()->setVisible(items.justGoodSubmenu);
    ContextMenuItemJustGood->setVisible(items.justGoodItem);
    ContextMenuItemShellOpen->setEnabled(items.shellOpen);
    ContextMenuItemDelete->setEnabled(items.deleteItem && !copyRunning_);
    ContextMenuItemPlayNow->setEnabled(items.playNow);
}

QTreeView* TMainForm::visibleTree() const {
    return treeStack_->currentWidget() == TreeViewMusicTree ? TreeViewMusicTree : TreeViewFolders;
}

QListView* TMainForm::listOfTab(int tab) const { return tab >= 1 && tab <= 5 ? lists_[static_cast<size_t>(tab)] : nullptr; }

std::vector<TDataRec*> TMainForm::SetSelectionList(bool songs, bool songsUnderFolders) const {
    const int tab = PageControlTabInt->currentIndex();
    if (QListView* list = listOfTab(tab)) {
        QModelIndexList rows = list->selectionModel()->selectedIndexes();
        std::sort(rows.begin(), rows.end(), [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
        std::vector<TDataRec*> out;
        for (const QModelIndex& i : rows)
            if (ListItem* item = listModels_[static_cast<size_t>(tab)]->itemAt(i)) out.push_back(item->data());
        return out;
    }
    QTreeView* tree = visibleTree();
    auto* model = static_cast<TreeModel*>(tree->model());
    QModelIndexList selected = tree->selectionModel()->selectedIndexes();
    std::vector<std::pair<std::vector<int>, const TreeNode*>> ordered;
    for (const QModelIndex& i : selected) ordered.emplace_back(rowPath(i), model->nodeAt(i));
    std::sort(ordered.begin(), ordered.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<const TreeNode*> nodes;
    for (const auto& entry : ordered) nodes.push_back(entry.second);
    return selectionFromTree(nodes, songs, songsUnderFolders);
}

void TMainForm::BitBtnUsedClick() {
    const QString name = sender()->objectName();
    runStatus(statusOfButtonName(name.toStdString()), true);
}

void TMainForm::runStatus(int status, bool fromButton) {
    const std::vector<TDataRec*> selection = SetSelectionList(true, true);
    if (fromButton) runStatusButton(s_, selection, status);
    else SetSelStatus(s_, selection, status);
    if (fromButton) UpDatePlayButton();
}

void TMainForm::pressStatusButton(size_t button) {
    const int tab = PageControlTabInt->currentIndex();
    if (tab < 0 || tab > 5) return;
    if (QPushButton* b = statusButtons_[static_cast<size_t>(tab)][button]) b->click();
}

void TMainForm::ButtonMakePlayListClick() {
    ButtonMakePlayList->setEnabled(false);
    ButtonPressToStart->setEnabled(false);
    MakeNextPlayList(s_);
    UpDatePlayButton();
}

void TMainForm::ButtonSwitchViewClick() {
    treeStack_->setCurrentWidget(visibleTree() == TreeViewMusicTree ? TreeViewFolders : TreeViewMusicTree);
    s_.setMusicTreeVisible(visibleTree() == TreeViewMusicTree);
    if (PageControlTabInt->currentIndex() == 0) visibleTree()->setFocus();
    searchPanel_->reset();
    UpDatePlayButton();
}

void TMainForm::ButtonSelectAllClick(int tab) {
    QListView* list = listOfTab(tab);
    list->selectAll();
    list->setFocus();
}

void TMainForm::ButtonManageDBClick() { PopupMenuManageDB->popup(ButtonManageDB->mapToGlobal(QPoint(0, 0))); }

void TMainForm::PageControlTabIntChange() {
    s_.setActiveTab(PageControlTabInt->currentIndex());
    UpDateText();
    UpDatePlayButton();
}

void TMainForm::collapseDeselects(QTreeView* tree, const QModelIndex& index) {
    // What the user can no longer see is no longer acted on.
    QItemSelectionModel* selection = tree->selectionModel();
    std::vector<QModelIndex> stack{index};
    QItemSelection hidden;
    while (!stack.empty()) {
        QModelIndex parent = stack.back();
        stack.pop_back();
        const int rows = tree->model()->rowCount(parent);
        for (int r = 0; r < rows; ++r) {
            QModelIndex child = tree->model()->index(r, 0, parent);
            if (selection->isSelected(child)) hidden.select(child, child);
            if (tree->model()->hasChildren(child)) stack.push_back(child);
        }
    }
    if (!hidden.isEmpty()) selection->select(hidden, QItemSelectionModel::Deselect);
}

std::vector<TreeNode*> TMainForm::selectedMusicNodes() const {
    std::vector<TreeNode*> nodes;
    for (const QModelIndex& i : TreeViewMusicTree->selectionModel()->selectedIndexes())
        nodes.push_back(musicModel_->nodeAt(i));
    return nodes;
}

void TMainForm::updateRootButtons() {
    const TreeNode* current = musicModel_->nodeAt(TreeViewMusicTree->currentIndex());
    const bool container = current && !isSongImage(current->imageIndex()) &&
                           TreeViewMusicTree->selectionModel()->isSelected(TreeViewMusicTree->currentIndex());
    ButtonRoot->setEnabled(container);
    ButtonSimple->setEnabled(container);
}

void TMainForm::ButtonRootControlClick() {
    rootControl_.enter();
    PanelRootControl->setVisible(rootControl_.active());
    // The panel's Finish ends the mode; the button that opened it has nothing to offer then.
    ButtonRootControl->setVisible(!rootControl_.active());
    if (visibleTree() == TreeViewFolders) ButtonSwitchViewClick();
    ButtonSwitchView->setEnabled(false);
    TreeViewMusicTree->clearSelection();
    PageControlTabInt->setCurrentIndex(0);
    TreeViewMusicTree->setFocus();
    updateRootButtons();
}

void TMainForm::ButtonFinishClick() {
    ButtonFinish->setEnabled(false);
    rootControl_.finish();
    ButtonFinish->setEnabled(true);
    PanelRootControl->setVisible(rootControl_.active());
    ButtonRootControl->setVisible(!rootControl_.active());
    ButtonSwitchView->setEnabled(!rootControl_.active());
    UpDateText();
}

void TMainForm::UpDatePlayButton() {
    const int tab = PageControlTabInt->currentIndex();
    const bool selected = tab == 0 ? visibleTree()->selectionModel()->hasSelection()
                                   : listOfTab(tab)->selectionModel()->hasSelection();
    const CommandStates states = velmo::UpDatePlayButton(s_, selected, copyRunning_);
    playerPanel_->ButtonPlayNow->setEnabled(states.playNow);
    deleteButtons_[static_cast<size_t>(tab)]->setEnabled(states.playNow && !copyRunning_);
    ButtonPressToStart->setEnabled(states.pressToStart);
    ButtonMakePlayList->setEnabled(states.makePlayList);
}

void TMainForm::setCopyRunning(bool running) {
    copyRunning_ = running;
    // The profile, the database commands, the options and the root marks decide where the copy
    // writes and what it reads; adding a disk reshapes the lists the copy was planned from.
    for (QWidget* w : lockedDuringCopy_) w->setEnabled(!running);
    for (QAction* a : actionsLockedDuringCopy_) a->setEnabled(!running);
    if (AddCDForm) AddCDForm->setEnabled(!running);
    // A rename moves the files the copy reads.
    TreeViewMusicTree->setRenameLocked(running);
    TreeViewFolders->setRenameLocked(running);
    if (!running) playerPanel_->BitBtnShowCopyProgress->hide();
    UpDatePlayButton();
}

void TMainForm::copyStateChanged() { setCopyRunning(s_.copyRunning()); }

void TMainForm::setCopyDialog(TCopyCDForm* dialog) {
    CopyCDForm = dialog;
    // Leaving the copy dialog leaves a way back to it.
    connect(dialog, &TCopyCDForm::deactivated, this, [this] {
        if (s_.copyRunning()) playerPanel_->BitBtnShowCopyProgress->show();
    });
}

void TMainForm::ButtonPressToStartClick() {
    if (!CopyCDForm) return;
    ButtonPressToStart->setEnabled(false);
    ButtonMakePlayList->setEnabled(false);
    // The copy runs here, keeping the windows alive through the message pump, and returns when
    // it has ended.
    const CopyRunResult result = velmo::ButtonPressToStartClick(s_, *CopyCDForm);
    UpDateText();
    UpDatePlayButton();
    if (result.focusMakePlaylist) ButtonMakePlayList->setFocus();
    // Exit was pressed during the copy: leave now, through the usual close query.
    if (result.closeProgram) close();
}

void TMainForm::ButtonOptionsClick() {
    if (!OptionsForm) return;
    OptionsForm->ButtonOptionsClick();
    // The player choice and the statistics may have changed.
    UpDateText();
    UpDatePlayButton();
}

void TMainForm::BitBtnShowCopyProgressClick() {
    if (CopyCDForm) CopyCDForm->bringBack();
    playerPanel_->BitBtnShowCopyProgress->hide();
}

void TMainForm::FormActivate() {
    if (s_.copyRunning() && CopyCDForm && CopyCDForm->abortEnabled()) playerPanel_->BitBtnShowCopyProgress->show();
}

void TMainForm::FormDeactivate() { playerPanel_->BitBtnShowCopyProgress->hide(); }

void TMainForm::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange) {
        if (isActiveWindow()) FormActivate();
        else FormDeactivate();
    }
}

void TMainForm::UpDateText() {
    textRefreshPending_ = false;
    const StatCounters& c = s_.db.counters();
    const std::string line = statisticsLine(c, s_.messages, PageControlTabInt->currentIndex());
    StatusBar2->setText(qs("  " + line));
    StatusBar2->setToolTip(qs(line));
    for (int tab = 1; tab <= 5; ++tab) PageControlTabInt->setTabText(tab, qs(tabCaption(tab, c, s_.messages)));
    setWindowTitle(qs(windowCaption(s_.settings.DBName, s_.db.DBModified(), s_.messages)));
}

void TMainForm::statisticsChanged() {
    // Many changes in one user action refresh the texts once, when control returns.
    if (textRefreshPending_) return;
    textRefreshPending_ = true;
    QTimer::singleShot(0, this, [this] {
        if (textRefreshPending_) UpDateText();
        UpDatePlayButton();
    });
}

void TMainForm::languageChanged() {
    applyTexts(this, s_.texts);
    assignMnemonics();
    UpDateText();
}

void TMainForm::databaseCleared() { playerPanel_->ButtonPlayNow->setEnabled(false); }

void TMainForm::refreshProfiles() { profileBox_->refresh(); }

void TMainForm::profilesChanged() { refreshProfiles(); }

void TMainForm::settingsChanged() {
    treeStack_->setCurrentWidget(s_.settings.MusicTreeVisible ? TreeViewMusicTree : TreeViewFolders);
}

void TMainForm::runWithWindowDisabled(const std::function<void()>& work) {
    setEnabled(false);
    work();
    setEnabled(true);
    UpDateText();
    UpDatePlayButton();
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && !profileBox_->editing()) {
        // The window sees each key first, once: at the widget the key was sent to (an
        // unhandled key travels on to the parents, which must not see it again).
        auto* w = qobject_cast<QWidget*>(watched);
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : this;
        auto* key = static_cast<QKeyEvent*>(event);
        // During a rename Esc and Enter belong to its editor.
        const bool editorKey = inPlaceEditing() && (key->key() == Qt::Key_Escape || key->key() == Qt::Key_Return ||
                                                    key->key() == Qt::Key_Enter);
        if (w == target && w->window() == this && !editorKey &&
            (FormKeyDown(key) || deleteKey(key, watched) || contextMenuKey(key, watched)))
            return true;
    }
    // Back from the add-disk dialog the keyboard works in the tree again.
    if (event->type() == QEvent::Hide && AddCDForm && watched == AddCDForm && isVisible())
        QTimer::singleShot(0, this, [this] { focusVisibleView(); });
    if (event->type() == QEvent::Wheel) {
        for (int tab = 1; tab <= 5; ++tab)
            if (watched == lists_[static_cast<size_t>(tab)]->viewport()) return FormMouseWheel(static_cast<QWheelEvent*>(event));
    }
    return QMainWindow::eventFilter(watched, event);
}

bool TMainForm::FormKeyDown(QKeyEvent* key) {
    const int tab = PageControlTabInt->currentIndex();
    const bool inMusicTree = QApplication::focusWidget() == TreeViewMusicTree;
    switch (windowKeyCommand(key->key(), key->modifiers())) {
    case WindowKeyCommand::None: return false;
    case WindowKeyCommand::SearchNext: searchPanel_->pressNext(); return true;
    case WindowKeyCommand::SearchPrev: searchPanel_->pressPrev(); return true;
    case WindowKeyCommand::SwitchView:
        if (ButtonSwitchView->isEnabled()) {
            PageControlTabInt->setCurrentIndex(0);
            ButtonSwitchViewClick();
        }
        return true;
    case WindowKeyCommand::SimpleMark:
        // Ctrl+R and Ctrl+S act in the music tree while root control runs.
        if (!inMusicTree) return false;
        if (rootControl_.active()) ButtonSimple->click();
        return true;
    case WindowKeyCommand::RootMark:
        if (!inMusicTree) return false;
        if (rootControl_.active()) ButtonRoot->click();
        return true;
    case WindowKeyCommand::SaveBase: MenuItemSaveBaseClick(s_); return true;
    case WindowKeyCommand::SelectAll:
        // In a text field (the search, a rename) Ctrl+A selects its text.
        if (qobject_cast<QLineEdit*>(QApplication::focusWidget())) return false;
        // On the trees' tab Ctrl+A selects nothing: a status button would act on everything.
        if (tab >= 1) ButtonSelectAllClick(tab);
        return true;
    case WindowKeyCommand::AddDisk: MenuItemAddDisk->trigger(); return true;
    case WindowKeyCommand::FocusSearch: searchPanel_->focusField(); return true;
    case WindowKeyCommand::RootControl:
        // Through the buttons, so a disabled one (during a copy) does nothing.
        if (rootControl_.active()) ButtonFinish->click();
        else ButtonRootControl->click();
        return true;
    case WindowKeyCommand::Escape:
        // In root control Esc finishes it; otherwise it is Exit.
        if (rootControl_.active() && ButtonFinish->isEnabled()) ButtonFinish->click();
        else close();
        return true;
    }
    return false;
}

bool TMainForm::FormMouseWheel(QWheelEvent* wheel) {
    const int tab = PageControlTabInt->currentIndex();
    QListView* list = listOfTab(tab);
    if (!list) return false;
    const Qt::KeyboardModifiers m = wheel->modifiers();
    const WheelScroll scroll = wheelScroll(wheel->angleDelta().y(), m & Qt::ControlModifier, m & Qt::ShiftModifier,
                                           m & Qt::AltModifier);
    list->verticalScrollBar()->setValue(list->verticalScrollBar()->value() + scroll.dy);
    list->horizontalScrollBar()->setValue(list->horizontalScrollBar()->value() + scroll.dx);
    return true;
}

void TMainForm::closeEvent(QCloseEvent* event) {
    // Exit, Esc or the close box during a copy: the abort question; the window closes once the
    // copy has ended.
    if (s_.copyRunning()) {
        ExitDuringCopy(s_);
        event->ignore();
        return;
    }
    if (quietClose_) {
        event->accept();
        return;
    }
    if (!FormCloseQuery(s_)) {
        event->ignore();
        return;
    }
    Shutdown(s_);
    event->accept();
}

void TMainForm::ContextMenuItemReloadTagClick() {
    const std::vector<TDataRec*> songs = SetSelectionList(true, true);
    if (songs.empty()) return;
    ReloadTags(s_.db, s_.ui, s_.messages, s_.diskPrompt(), songs);
    UpDateText();
}

void TMainForm::ButtonAddCDClick() {
    if (AddCDForm) AddCDForm->ButtonAddCDClick();
}

void TMainForm::ButtonDeleteClick() {
    deleteSelected(QGuiApplication::keyboardModifiers().testFlag(Qt::ShiftModifier));
}

void TMainForm::deleteSelected(bool physical) {
    DeleteSelectedFiles(s_, SetSelectionList(true, true), physical);
    UpDatePlayButton();
    UpDateText();
}

bool TMainForm::deleteKey(QKeyEvent* key, QObject* watched) {
    if (key->key() != Qt::Key_Delete) return false;
    const int tab = PageControlTabInt->currentIndex();
    const bool inView = tab == 0 ? watched == visibleTree() : watched == listOfTab(tab);
    // The tab's delete button says whether there is something to delete and no copy runs.
    if (!inView || inPlaceEditing() || !deleteButtons_[static_cast<size_t>(tab)]->isEnabled()) return false;
    const Qt::KeyboardModifiers mods = key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    deleteSelected(mods == Qt::ShiftModifier);
    return true;
}

bool TMainForm::contextMenuKey(QKeyEvent* key, QObject* watched) {
    // Shift+F10 does what the Menu key does: the context menu at the current item.
    const Qt::KeyboardModifiers mods = key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    if (key->key() != Qt::Key_F10 || mods != Qt::ShiftModifier) return false;
    auto* view = qobject_cast<QAbstractItemView*>(watched);
    if (!view || (view != visibleTree() && view != listOfTab(PageControlTabInt->currentIndex()))) return false;
    const QRect item = view->visualRect(view->currentIndex());
    emit view->customContextMenuRequested(item.isValid() ? item.center() : QPoint(0, 0));
    return true;
}

void TMainForm::focusVisibleView() {
    const int tab = PageControlTabInt->currentIndex();
    if (QListView* list = listOfTab(tab)) list->setFocus();
    else visibleTree()->setFocus();
}

bool TMainForm::inPlaceEditing() const { return TreeViewMusicTree->editing() || TreeViewFolders->editing(); }

void TMainForm::renameEnded(QTreeView* tree, TreeNode* node, const std::optional<std::string>& text) {
    if (!text) return;
    const bool renamed = TreeViewMusicTreeEdited(s_, node, *text);
    // The folder tree was built anew: its song is selected again under its new name.
    if (renamed && tree == TreeViewFolders && node->data() && node->data()->FolderNode) {
        const QModelIndex at = folderModel_->indexOf(node->data()->FolderNode);
        TreeViewFolders->selectionModel()->setCurrentIndex(at, QItemSelectionModel::ClearAndSelect);
        TreeViewFolders->scrollTo(at);
    }
    if (renamed && tree == TreeViewMusicTree) TreeViewMusicTree->scrollTo(musicModel_->indexOf(node));
    UpDateText();
    UpDatePlayButton();
}

const TreeNode* TMainForm::selectedNodeOfVisibleTree() const {
    QTreeView* tree = visibleTree();
    auto* model = static_cast<TreeModel*>(tree->model());
    if (tree->selectionModel()->isSelected(tree->currentIndex())) return model->nodeAt(tree->currentIndex());
    const QModelIndexList selected = tree->selectionModel()->selectedIndexes();
    const auto first = std::min_element(selected.begin(), selected.end(), [](const QModelIndex& a, const QModelIndex& b) {
        return rowPath(a) < rowPath(b);
    });
    return first == selected.end() ? nullptr : model->nodeAt(*first);
}

void TMainForm::showSearchHit(const TreeNode* node) {
    if (PageControlTabInt->currentIndex() != 0) PageControlTabInt->setCurrentIndex(0);
    else PageControlTabIntChange();
    if (!node) return;
    QTreeView* tree = visibleTree();
    const QModelIndex at = static_cast<TreeModel*>(tree->model())->indexOf(node);
    tree->selectionModel()->setCurrentIndex(at, QItemSelectionModel::ClearAndSelect);
    tree->scrollTo(at);
    tree->setFocus();
}

// Files and folders dropped onto the window go to the add-disk dialog.
void TMainForm::dragEnterEvent(QDragEnterEvent* event) {
    if (AddCDForm && MenuItemAddDisk->isEnabled() && !TAddCDForm::droppedPaths(event->mimeData()).empty())
        event->acceptProposedAction();
}

void TMainForm::dropEvent(QDropEvent* event) {
    const std::vector<std::string> paths = TAddCDForm::droppedPaths(event->mimeData());
    if (!AddCDForm || !MenuItemAddDisk->isEnabled() || paths.empty()) return;
    event->acceptProposedAction();
    AddCDForm->dropOnMainWindow(paths, event->modifiers().testFlag(Qt::ShiftModifier));
}

} // namespace velmo::gui
