#include "forms/TMainForm.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFocusEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTimer>
#include <QToolTip>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <QWidgetAction>
#include <algorithm>

#include "app/DatabaseCommands.h"
#include "app/Lifecycle.h"
#include "app/Session.h"
#include "app/StatusCommands.h"
#include "catalog/Disks.h"
#include "catalog/ID3v1.h"
#include "musicdb/RootFolders.h"
#include "platform/Drives.h"
#include "forms/MainFormTexts.h"
#include "forms/TAddCDForm.h"
#include "models/IconSet.h"
#include "models/ListModel.h"
#include "models/TreeModel.h"
#include "musicdb/Statistics.h"
#include "app/PlaylistCommands.h"
#include "app/Profiles.h"

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
// The glyph of each status button: the icon of the status it sets.
const int kStatusGlyphs[6] = {7, 6, 9, 10, 8, 14};
constexpr char kRefusedProfileCharacters[] = "\\/:*?\"<>|";

ControlText textOf(const QString& name) {
    const auto& texts = mainFormTexts();
    auto it = texts.find(name.toStdString());
    return it == texts.end() ? ControlText{"", ""} : it->second;
}

// The path of rows from the top: sorting by it gives the display order of a tree.
std::vector<int> rowPath(QModelIndex index) {
    std::vector<int> path;
    for (; index.isValid(); index = index.parent()) path.push_back(index.row());
    std::reverse(path.begin(), path.end());
    return path;
}

} // namespace

TMainForm::TMainForm(Session& session, QWidget* parent) : QMainWindow(parent), s_(session) {
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
    buildProfileBox(top);
    layout->addWidget(top);

    PageControlTabInt = new QTabWidget(central);
    PageControlTabInt->setObjectName("PageControlTabInt");
    PageControlTabInt->addTab(buildTreeTab(), IconSet::icon(kTabIcons[0]), textOf("TabSheetMusicDB").caption);
    for (int tab = 1; tab <= 5; ++tab)
        PageControlTabInt->addTab(buildListTab(tab), IconSet::icon(kTabIcons[tab]), "");
    layout->addWidget(PageControlTabInt, 1);

    // The player panel: Play now (the built-in player fills it later).
    auto* player = new QWidget(central);
    player->setObjectName("PanelPlayer");
    auto* playerLayout = new QHBoxLayout(player);
    playerLayout->setContentsMargins(0, 0, 0, 0);
    playerLayout->addWidget(makeButton("ButtonPlayNow"));
    playerLayout->addStretch(1);
    auto* copyProgress = makeButton("BitBtnShowCopyProgress");
    copyProgress->setIcon(IconSet::icon(16));
    copyProgress->hide();
    playerLayout->addWidget(copyProgress);
    layout->addWidget(player);

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
    // Song hints: the tag and size, on a light blue ground like the program always had.
    QPalette tips = QToolTip::palette();
    tips.setColor(QPalette::ToolTipBase, QColor(181, 230, 238));
    tips.setColor(QPalette::ToolTipText, Qt::black);
    QToolTip::setPalette(tips);
    auto hint = [this](const TDataRec& rec) { return songHint(rec); };
    musicModel_->setHintProvider(hint);
    folderModel_->setHintProvider(hint);
    for (int tab = 1; tab <= 5; ++tab) listModels_[static_cast<size_t>(tab)]->setHintProvider(hint);
    for (QAbstractItemView* view : std::initializer_list<QAbstractItemView*>{TreeViewMusicTree, TreeViewFolders}) {
        view->installEventFilter(this);
        view->viewport()->installEventFilter(this);
        view->viewport()->setMouseTracking(true);
    }
    for (int tab = 1; tab <= 5; ++tab) lists_[static_cast<size_t>(tab)]->installEventFilter(this);
    connect(findChild<QAction*>("ContextMenuItemReloadTag"), &QAction::triggered, this,
            &TMainForm::ContextMenuItemReloadTagClick);
    connect(PageControlTabInt, &QTabWidget::currentChanged, this, [this] { PageControlTabIntChange(); });
    connect(findChild<QAction*>("MenuItemAddDisk"), &QAction::triggered, this, &TMainForm::ButtonAddCDClick);
    setAcceptDrops(true);
    qApp->installEventFilter(this);
    s_.db.addListener(this);

    // Control hints go to the lower status bar, as the program has always shown them.
    for (QWidget* w : findChildren<QWidget*>())
        if (!w->toolTip().isEmpty()) w->setStatusTip(w->toolTip());

    refreshProfiles();
    UpDateText();
    UpDatePlayButton();
}

TMainForm::~TMainForm() {
    qApp->removeEventFilter(this);
    s_.db.removeListener(this);
}

QPushButton* TMainForm::makeButton(const QString& name, const QString& textKey) {
    auto* button = new QPushButton(this);
    button->setObjectName(name);
    const ControlText t = textOf(textKey.isEmpty() ? name : textKey);
    button->setText(t.caption);
    button->setToolTip(t.hint);
    return button;
}

QAction* TMainForm::makeAction(QMenu* menu, const QString& name) {
    const ControlText t = textOf(name);
    QAction* action = menu->addAction(t.caption);
    action->setObjectName(name);
    action->setToolTip(t.hint);
    action->setStatusTip(t.hint);
    return action;
}

QWidget* TMainForm::buildStatusButtons(const QString& suffix, bool withJustGoodMenu) {
    auto* column = new QWidget(this);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    for (int i = 0; i < 6; ++i) {
        const QString base = kStatusButtons[i];
        const bool menuButton = withJustGoodMenu && base == "BitBtnJustGood";
        QPushButton* button = makeButton(base + suffix, menuButton ? "BitBtnJustGood5" : base);
        button->setIcon(IconSet::icon(kStatusGlyphs[i]));
        button->setFixedWidth(36);
        if (menuButton) connect(button, &QPushButton::clicked, this, [this, button] {
            PopupMenuGood->popup(button->mapToGlobal(QPoint(0, 0)));
        });
        else connect(button, &QPushButton::clicked, this, &TMainForm::BitBtnUsedClick);
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
    TreeViewMusicTree = new QTreeView(treeStack_);
    TreeViewMusicTree->setObjectName("TreeViewMusicTree");
    TreeViewFolders = new QTreeView(treeStack_);
    TreeViewFolders->setObjectName("TreeViewFolders");
    musicModel_ = new TreeModel(s_.db.musicTree(), this);
    folderModel_ = new TreeModel(s_.db.folderTree(), this);
    for (auto [view, model] : {std::pair{TreeViewMusicTree, musicModel_}, std::pair{TreeViewFolders, folderModel_}}) {
        view->setModel(model);
        view->setHeaderHidden(true);
        view->setUniformRowHeights(true);
        view->setSelectionMode(QAbstractItemView::ExtendedSelection);
        view->setEditTriggers(QAbstractItemView::NoEditTriggers);
        view->setContextMenuPolicy(Qt::CustomContextMenu);
        treeStack_->addWidget(view);
        QTreeView* tree = view;
        connect(view, &QTreeView::collapsed, this, [this, tree](const QModelIndex& i) { collapseDeselects(tree, i); });
        connect(view->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
            UpDatePlayButton();
            updateRootButtons();
        });
        connect(view, &QWidget::customContextMenuRequested, this, [this, tree](const QPoint& pos) {
            if (!tree->indexAt(pos).isValid()) {
                tree->clearSelection();
                return;
            }
            prepareContextMenu(nullptr);
            PopupMenuContext->popup(tree->viewport()->mapToGlobal(pos));
        });
        connect(model, &TreeModel::viewExpandRequested, view, &QTreeView::expand);
        connect(model, &TreeModel::viewCollapseRequested, view, &QTreeView::collapse);
        connect(model, &TreeModel::viewSelectRequested, view, [tree](const QModelIndex& i) {
            tree->selectionModel()->select(i, QItemSelectionModel::Select);
        });
        connect(model, &TreeModel::viewClearSelectionRequested, view, &QTreeView::clearSelection);
    }
    treeStack_->setCurrentWidget(s_.settings.MusicTreeVisible ? TreeViewMusicTree : TreeViewFolders);
    left->addWidget(treeStack_, 1);

    PanelRootControl = new QWidget(page);
    PanelRootControl->setObjectName("PanelRootControl");
    auto* rootLayout = new QHBoxLayout(PanelRootControl);
    rootLayout->setContentsMargins(0, 0, 0, 0);
    QPushButton* root = makeButton("ButtonRoot");
    QPushButton* simple = makeButton("ButtonSimple");
    QPushButton* finish = makeButton("ButtonFinish");
    for (QPushButton* b : {root, simple, finish}) rootLayout->addWidget(b);
    connect(root, &QPushButton::clicked, this, [this] {
        RootsChanged |= RootFolders(s_.db).ButtonRootClick(selectedMusicNodes());
        UpDateText();
    });
    connect(simple, &QPushButton::clicked, this, [this] {
        RootsChanged |= RootFolders(s_.db).ButtonSimpleClick(selectedMusicNodes());
        UpDateText();
    });
    connect(finish, &QPushButton::clicked, this, &TMainForm::ButtonFinishClick);
    PanelRootControl->hide();
    left->addWidget(PanelRootControl);
    QPushButton* rootControl = makeButton("ButtonRootControl");
    connect(rootControl, &QPushButton::clicked, this, &TMainForm::ButtonRootControlClick);
    left->addWidget(rootControl);
    layout->addLayout(left, 1);

    auto* buttons = new QVBoxLayout;
    QPushButton* manage = makeButton("ButtonManageDB");
    connect(manage, &QPushButton::clicked, this, &TMainForm::ButtonManageDBClick);
    QPushButton* make = makeButton("ButtonMakePlayList");
    make->setIcon(IconSet::icon(18));
    connect(make, &QPushButton::clicked, this, &TMainForm::ButtonMakePlayListClick);
    QPushButton* press = makeButton("ButtonPressToStart");
    press->setIcon(IconSet::icon(16));
    QPushButton* switchView = makeButton("ButtonSwitchView");
    connect(switchView, &QPushButton::clicked, this, &TMainForm::ButtonSwitchViewClick);
    QPushButton* exit = makeButton("ButtonExit");
    connect(exit, &QPushButton::clicked, this, &QWidget::close);
    for (QPushButton* b : {manage, makeButton("ButtonOptions"), make, press, switchView, makeButton("ButtonDelete")})
        buttons->addWidget(b);
    auto* statusRow = new QHBoxLayout;
    statusRow->addStretch(1);
    statusRow->addWidget(buildStatusButtons("", false));
    buttons->addLayout(statusRow, 1);
    buttons->addWidget(exit);
    layout->addLayout(buttons);
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
    // Grid lines between the rows.
    view->setStyleSheet("QListView::item { border-bottom: 1px solid palette(midlight); }");
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
    QPushButton* selectAll = makeButton("ButtonSelectAll" + n, "ButtonSelectAll1");
    connect(selectAll, &QPushButton::clicked, this, [this, tab] { ButtonSelectAllClick(tab); });
    buttons->addWidget(selectAll);
    buttons->addWidget(makeButton("ButtonDelete" + n, "ButtonDelete"));
    buttons->addWidget(buildStatusButtons(n, tab == 5), 1);
    layout->addLayout(buttons);
    return page;
}

void TMainForm::buildProfileBox(QWidget* bar) {
    auto* layout = new QHBoxLayout(bar);
    layout->setContentsMargins(0, 0, 0, 0);
    ComboBoxProfiles = new QComboBox(bar);
    ComboBoxProfiles->setObjectName("ComboBoxProfiles");
    ComboBoxProfiles->setToolTip(textOf("ComboBoxProfiles").hint);
    ComboBoxProfiles->setMinimumWidth(160);
    connect(ComboBoxProfiles, &QComboBox::activated, this, &TMainForm::ComboBoxProfilesChange);
    layout->addWidget(ComboBoxProfiles);
    QPushButton* profile = makeButton("ButtonProfile");
    connect(profile, &QPushButton::clicked, this, [this, profile] {
        PopupMenuProfile->popup(profile->mapToGlobal(QPoint(0, 0)));
    });
    layout->addWidget(profile);

    // The inline name editor lies over the profile box while a name is typed.
    EditNewProfile = new QLineEdit(ComboBoxProfiles);
    EditNewProfile->setObjectName("EditNewProfile");
    EditNewProfile->setToolTip(textOf("EditNewProfile").hint);
    EditNewProfile->setFrame(false);
    EditNewProfile->hide();
    EditNewProfile->installEventFilter(this);

    layout->addSpacing(16);
    auto* search = new QWidget(bar);
    search->setObjectName("PanelSearch");
    auto* searchLayout = new QHBoxLayout(search);
    searchLayout->setContentsMargins(0, 0, 0, 0);
    auto* edit = new QLineEdit(search);
    edit->setObjectName("EditSearch");
    edit->setToolTip(textOf("EditSearch").hint);
    searchLayout->addWidget(edit, 1);
    for (const char* name : {"ButtonSearch", "ButtonSearchPrev", "ButtonSearchNext"}) {
        QPushButton* b = makeButton(name);
        b->setEnabled(false);
        searchLayout->addWidget(b);
    }
    layout->addWidget(search, 1);
}

void TMainForm::buildMenus() {
    // The database menu: two columns, the second from "Add to DB...".
    PopupMenuManageDB = new QMenu(this);
    PopupMenuManageDB->setObjectName("PopupMenuManageDB");
    PopupMenuManageDB->setToolTipsVisible(true);
    const char* const columns[2][4] = {{"MenuItemAddDisk", "MenuItemLoadBase", "MenuItemSaveBase", "MenuItemSaveDBAs"},
                                       {"MenuItemAddtoDB", "MenuItemResetIcons", "MenuItemClearDB", nullptr}};
    auto* grid = new QWidget(PopupMenuManageDB);
    auto* gridLayout = new QGridLayout(grid);
    gridLayout->setContentsMargins(2, 2, 2, 2);
    gridLayout->setSpacing(0);
    for (int c = 0; c < 2; ++c) {
        for (int r = 0; r < 4 && columns[c][r]; ++r) {
            const QString name = columns[c][r];
            auto* action = new QAction(textOf(name).caption, this);
            action->setObjectName(name);
            action->setToolTip(textOf(name).hint);
            action->setStatusTip(textOf(name).hint);
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
    auto act = [this](const char* name) { return findChild<QAction*>(name); };
    connect(act("MenuItemLoadBase"), &QAction::triggered, this, [this] { runWithWindowDisabled([this] { MenuItemLoadBaseClick(s_); }); });
    connect(act("MenuItemSaveBase"), &QAction::triggered, this, [this] { MenuItemSaveBaseClick(s_); });
    connect(act("MenuItemSaveDBAs"), &QAction::triggered, this, [this] { MenuItemSaveDBAsClick(s_); });
    connect(act("MenuItemAddtoDB"), &QAction::triggered, this, [this] { runWithWindowDisabled([this] { MenuItemAddtoDBClick(s_); }); });
    connect(act("MenuItemResetIcons"), &QAction::triggered, this, [this] { MenuItemResetIconsClick(s_); });
    connect(act("MenuItemClearDB"), &QAction::triggered, this, [this] { MenuItemClearDBClick(s_); });

    PopupMenuGood = new QMenu(this);
    PopupMenuGood->setObjectName("PopupMenuGood");
    const std::pair<const char*, int> goodItems[] = {
        {"MenuItemUnUsed", ssGoodUnused}, {"MenuItemUsed", ssGoodUsed}, {"MenuItemPlayList", ssGoodPlayList}};
    for (auto [name, status] : goodItems)
        connect(makeAction(PopupMenuGood, name), &QAction::triggered, this, [this, status] { runStatus(status, false); });

    PopupMenuContext = new QMenu(this);
    PopupMenuContext->setObjectName("PopupMenuContext");
    PopupMenuContext->setToolTipsVisible(true);
    QAction* play = makeAction(PopupMenuContext, "ContextMenuItemPlayNow");
    PopupMenuContext->setDefaultAction(play);
    makeAction(PopupMenuContext, "ContextMenuItemShellOpen");
    makeAction(PopupMenuContext, "ContextMenuItemReloadTag");
    makeAction(PopupMenuContext, "ContextMenuItemDelete");
    PopupMenuContext->addSeparator();
    const std::pair<const char*, const char*> statusItems[] = {
        {"ContextMenuItemUsed", "BitBtnUsed"},         {"ContextMenuItemUnUsed", "BitBtnUnUsed"},
        {"ContextMenuItemBlack", "BitBtnBlack"},       {"ContextMenuItemFavorites", "BitBtnFav"},
        {"ContextMenuItemPlayList", "BitBtnPlayList"}, {"ContextMenuItemJustGood", "BitBtnJustGood"}};
    for (auto [name, button] : statusItems) {
        const QString prefix = button;
        connect(makeAction(PopupMenuContext, name), &QAction::triggered, this, [this, prefix] { pressTabButton(prefix); });
    }
    ContextMenuRootItemJustGood = PopupMenuContext->addMenu(textOf("ContextMenuRootItemJustGood").caption);
    ContextMenuRootItemJustGood->setObjectName("ContextMenuRootItemJustGood");
    const std::pair<const char*, const char*> goodContext[] = {{"ContextMenuItemGoodUnUsed", "MenuItemUnUsed"},
                                                               {"ContextMenuItemGoodUsed", "MenuItemUsed"},
                                                               {"ContextMenuItemGoodPlayList", "MenuItemPlayList"}};
    for (auto [name, target] : goodContext) {
        const QString item = target;
        connect(makeAction(ContextMenuRootItemJustGood, name), &QAction::triggered, this,
                [this, item] { PopupMenuGood->findChild<QAction*>(item)->trigger(); });
    }

    PopupMenuProfile = new QMenu(this);
    PopupMenuProfile->setObjectName("PopupMenuProfile");
    connect(makeAction(PopupMenuProfile, "NewProfileMenuItem"), &QAction::triggered, this, [this] { startProfileEdit(0); });
    connect(makeAction(PopupMenuProfile, "RenameProfileMenuItem"), &QAction::triggered, this, [this] { startProfileEdit(1); });
    connect(makeAction(PopupMenuProfile, "DeleteProfileMenuItem"), &QAction::triggered, this, [this] {
        ProfileEditMode = 2;
        runWithWindowDisabled([this] { DeleteProfile(s_); });
        refreshProfiles();
    });
}

void TMainForm::prepareContextMenu(QListView* list) {
    const bool justGoodList = list && list == lists_[5];
    ContextMenuRootItemJustGood->menuAction()->setVisible(justGoodList);
    findChild<QAction*>("ContextMenuItemJustGood")->setVisible(!justGoodList);
    const bool folderNode = !list && visibleTree() == TreeViewFolders && TreeViewFolders->currentIndex().isValid() &&
                            !isSongImage(folderModel_->nodeAt(TreeViewFolders->currentIndex())->imageIndex());
    findChild<QAction*>("ContextMenuItemShellOpen")->setEnabled(!folderNode);
    findChild<QAction*>("ContextMenuItemDelete")->setEnabled(true);
    const bool hasSelection = list ? list->selectionModel()->hasSelection() : visibleTree()->selectionModel()->hasSelection();
    findChild<QAction*>("ContextMenuItemPlayNow")->setEnabled(hasSelection);
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
    for (const auto& [path, node] : ordered) nodes.push_back(node);
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

void TMainForm::pressTabButton(const QString& prefix) {
    const int tab = PageControlTabInt->currentIndex();
    const QString name = tab == 0 ? prefix : prefix + QString::number(tab);
    if (auto* button = findChild<QPushButton*>(name)) button->click();
}

void TMainForm::ButtonMakePlayListClick() {
    auto* make = findChild<QPushButton*>("ButtonMakePlayList");
    auto* press = findChild<QPushButton*>("ButtonPressToStart");
    make->setEnabled(false);
    press->setEnabled(false);
    MakeNextPlayList(s_);
    UpDatePlayButton();
}

void TMainForm::ButtonSwitchViewClick() {
    treeStack_->setCurrentWidget(visibleTree() == TreeViewMusicTree ? TreeViewFolders : TreeViewMusicTree);
    s_.settings.MusicTreeVisible = visibleTree() == TreeViewMusicTree;
    if (PageControlTabInt->currentIndex() == 0) visibleTree()->setFocus();
    findChild<QLineEdit*>("EditSearch")->clear();
    findChild<QPushButton*>("ButtonSearchPrev")->setEnabled(false);
    findChild<QPushButton*>("ButtonSearchNext")->setEnabled(false);
    UpDatePlayButton();
}

void TMainForm::ButtonSelectAllClick(int tab) {
    QListView* list = listOfTab(tab);
    list->selectAll();
    list->setFocus();
}

void TMainForm::ButtonManageDBClick() {
    auto* button = findChild<QPushButton*>("ButtonManageDB");
    PopupMenuManageDB->popup(button->mapToGlobal(QPoint(0, 0)));
}

void TMainForm::PageControlTabIntChange() {
    s_.settings.ActiveTab = PageControlTabInt->currentIndex();
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
    findChild<QPushButton*>("ButtonRoot")->setEnabled(container);
    findChild<QPushButton*>("ButtonSimple")->setEnabled(container);
}

void TMainForm::ButtonRootControlClick() {
    PanelRootControl->show();
    if (visibleTree() == TreeViewFolders) ButtonSwitchViewClick();
    findChild<QPushButton*>("ButtonSwitchView")->setEnabled(false);
    TreeViewMusicTree->clearSelection();
    PageControlTabInt->setCurrentIndex(0);
    TreeViewMusicTree->setFocus();
    updateRootButtons();
}

void TMainForm::ButtonFinishClick() {
    auto* finish = findChild<QPushButton*>("ButtonFinish");
    if (RootsChanged) {
        finish->setEnabled(false);
        RootFolders(s_.db).ReloadRootTree();
    }
    finish->setEnabled(true);
    PanelRootControl->hide();
    findChild<QPushButton*>("ButtonSwitchView")->setEnabled(true);
    UpDateText();
}

void TMainForm::UpDatePlayButton() {
    const int tab = PageControlTabInt->currentIndex();
    const bool selected = tab == 0 ? visibleTree()->selectionModel()->hasSelection()
                                   : listOfTab(tab)->selectionModel()->hasSelection();
    const CommandStates states = velmo::UpDatePlayButton(s_, selected, copyRunning_);
    findChild<QPushButton*>("ButtonPlayNow")->setEnabled(states.playNow);
    findChild<QPushButton*>(tab == 0 ? QString("ButtonDelete") : "ButtonDelete" + QString::number(tab))
        ->setEnabled(states.playNow);
    findChild<QPushButton*>("ButtonPressToStart")->setEnabled(states.pressToStart);
    findChild<QPushButton*>("ButtonMakePlayList")->setEnabled(states.makePlayList);
}

void TMainForm::setCopyRunning(bool running) {
    copyRunning_ = running;
    UpDatePlayButton();
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

void TMainForm::databaseCleared() { findChild<QPushButton*>("ButtonPlayNow")->setEnabled(false); }

void TMainForm::refreshProfiles() {
    ComboBoxProfiles->clear();
    for (const std::string& name : s_.Profiles) ComboBoxProfiles->addItem(qs(name));
    ComboBoxProfiles->setCurrentIndex(s_.SelectedProfile);
}

void TMainForm::runWithWindowDisabled(const std::function<void()>& work) {
    setEnabled(false);
    work();
    setEnabled(true);
    UpDateText();
    UpDatePlayButton();
}

void TMainForm::ComboBoxProfilesChange(int index) {
    if (index < 0 || static_cast<size_t>(index) >= s_.Profiles.size()) return;
    const std::string name = s_.Profiles[static_cast<size_t>(index)];
    runWithWindowDisabled([&] { SwitchProfile(s_, name); });
    treeStack_->setCurrentWidget(s_.settings.MusicTreeVisible ? TreeViewMusicTree : TreeViewFolders);
    refreshProfiles();
}

void TMainForm::startProfileEdit(int mode) {
    ProfileEditMode = mode;
    ComboBoxProfiles->setEnabled(false);
    EditNewProfile->setText(mode == 0 ? qs(s_.messages[37]) : ComboBoxProfiles->currentText());
    EditNewProfile->setGeometry(ComboBoxProfiles->rect());
    EditNewProfile->setParent(this);
    EditNewProfile->setGeometry(QRect(ComboBoxProfiles->mapTo(this, QPoint(0, 0)), ComboBoxProfiles->size()));
    EditNewProfile->show();
    EditNewProfile->raise();
    EditNewProfile->selectAll();
    EditNewProfile->setFocus();
}

void TMainForm::endProfileEdit() {
    ProfileEditMode = 2;
    EditNewProfile->hide();
    ComboBoxProfiles->setEnabled(true);
    PageControlTabInt->setFocus();
}

void TMainForm::profileEditEnter() {
    const std::string name = EditNewProfile->text().toStdString();
    if (refuseProfileName(s_, name)) {
        EditNewProfile->selectAll();
        return;
    }
    const int mode = ProfileEditMode;
    endProfileEdit();
    if (mode == 0) {
        s_.CurrentProfile = name;
        MakeProfile(s_);
    } else {
        RenameProfile(s_, name);
    }
    refreshProfiles();
    UpDateText();
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == EditNewProfile && EditNewProfile->isVisible()) {
        if (event->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
                profileEditEnter();
                return true;
            }
            if (key->key() == Qt::Key_Escape) {
                endProfileEdit();
                return true;
            }
            // A refused character never reaches the name; nor does anything while the text
            // already holds one (after a paste).
            const QString text = key->text();
            const QString current = EditNewProfile->text();
            for (const char c : std::string_view(kRefusedProfileCharacters)) {
                if (!text.isEmpty() && (text.contains(QChar(c)) || current.contains(QChar(c)))) return true;
            }
        } else if (event->type() == QEvent::FocusOut) {
            // Leaving for another control ends the edit; a message box or a menu over it does not.
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) endProfileEdit();
        }
        return false;
    }
    if (event->type() == QEvent::KeyRelease) {
        // Moving through songs with the keyboard shows the song's hint beside it.
        if (auto* view = qobject_cast<QAbstractItemView*>(watched)) showKeyboardHint(view);
    }
    if (event->type() == QEvent::ToolTip && HintSuppressed && isSongViewport(watched)) return true;
    if (event->type() == QEvent::MouseMove && isSongViewport(watched)) {
        // A mouse moving straight along a row or a column keeps the keyboard hint; any other
        // move brings the mouse hints back.
        const QPoint p = static_cast<QMouseEvent*>(event)->position().toPoint();
        if (HintSuppressed && p.x() != LastHintPoint.x() && p.y() != LastHintPoint.y()) {
            HintSuppressed = false;
            QToolTip::hideText();
        }
        LastHintPoint = p;
    }
    if (event->type() == QEvent::KeyPress) {
        // The window sees each key first, once: at the widget the key was sent to (an
        // unhandled key travels on to the parents, which must not see it again).
        auto* w = qobject_cast<QWidget*>(watched);
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : this;
        if (w == target && w->window() == this && FormKeyDown(static_cast<QKeyEvent*>(event))) return true;
    }
    if (event->type() == QEvent::Wheel) {
        for (int tab = 1; tab <= 5; ++tab)
            if (watched == lists_[static_cast<size_t>(tab)]->viewport()) return FormMouseWheel(static_cast<QWheelEvent*>(event));
    }
    return QMainWindow::eventFilter(watched, event);
}

bool TMainForm::FormKeyDown(QKeyEvent* key) {
    const Qt::KeyboardModifiers mods = key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    const int tab = PageControlTabInt->currentIndex();
    auto press = [this](const char* name) {
        auto* b = findChild<QPushButton*>(name);
        if (b && b->isEnabled()) b->click();
    };
    switch (key->key()) {
    case Qt::Key_F3:
        if (mods == Qt::NoModifier) press("ButtonSearchNext");
        else if (mods == Qt::AltModifier) press("ButtonSearchPrev");
        else return false;
        return true;
    case Qt::Key_QuoteLeft:
    case Qt::Key_AsciiTilde:
        if (mods != Qt::ControlModifier) return false;
        if (findChild<QPushButton*>("ButtonSwitchView")->isEnabled()) {
            PageControlTabInt->setCurrentIndex(0);
            ButtonSwitchViewClick();
        }
        return true;
    case Qt::Key_S:
        if (mods == Qt::ControlModifier && QApplication::focusWidget() == TreeViewMusicTree) {
            if (PanelRootControl->isVisible()) findChild<QPushButton*>("ButtonSimple")->click();
            return true;
        }
        if (mods != (Qt::ControlModifier | Qt::AltModifier)) return false;
        MenuItemSaveBaseClick(s_);
        return true;
    case Qt::Key_A:
        if (mods == Qt::ControlModifier) {
            // On the trees' tab Ctrl+A selects nothing: a status button would act on everything.
            if (tab >= 1) ButtonSelectAllClick(tab);
            return true;
        }
        if (mods == (Qt::ControlModifier | Qt::AltModifier)) {
            if (auto* add = findChild<QAction*>("MenuItemAddDisk")) add->trigger();
            return true;
        }
        return false;
    case Qt::Key_F:
        if (mods != Qt::ControlModifier) return false;
        findChild<QPushButton*>("ButtonSearchPrev")->setEnabled(false);
        findChild<QPushButton*>("ButtonSearchNext")->setEnabled(false);
        findChild<QLineEdit*>("EditSearch")->setFocus();
        return true;
    case Qt::Key_F5:
        if (mods != Qt::NoModifier) return false;
        if (PanelRootControl->isVisible()) ButtonFinishClick();
        else ButtonRootControlClick();
        return true;
    case Qt::Key_R:
        // Ctrl+R and Ctrl+S act in the music tree while root control runs.
        if (mods != Qt::ControlModifier || QApplication::focusWidget() != TreeViewMusicTree) return false;
        if (PanelRootControl->isVisible()) findChild<QPushButton*>("ButtonRoot")->click();
        return true;
    case Qt::Key_Escape:
        if (mods != Qt::NoModifier || EditNewProfile->isVisible()) return false;
        // In root control Esc finishes it; otherwise it is Exit.
        if (PanelRootControl->isVisible()) ButtonFinishClick();
        else close();
        return true;
    default: return false;
    }
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

bool TMainForm::isSongViewport(QObject* watched) const {
    if (watched == TreeViewMusicTree->viewport() || watched == TreeViewFolders->viewport()) return true;
    for (int tab = 1; tab <= 5; ++tab)
        if (watched == lists_[static_cast<size_t>(tab)]->viewport()) return true;
    return false;
}

QString TMainForm::songHint(const TDataRec& rec) const {
    if (!s_.settings.ShowHints || !rec.MusicListItem) return {};
    return qs(BuildTagHint(rec, s_.messages, s_.settings.ShowTag));
}

void TMainForm::showKeyboardHint(QAbstractItemView* view) {
    const QModelIndex current = view->currentIndex();
    const QString text = current.isValid() && view->selectionModel()->isSelected(current)
                             ? view->model()->data(current, Qt::ToolTipRole).toString()
                             : QString();
    if (text.isEmpty()) {
        QToolTip::hideText();
        return;
    }
    HintSuppressed = true;
    const QRect rect = view->visualRect(current);
    // Trees: at the bottom-right of the node's text; lists: 20 pixels into the item.
    const QPoint at = qobject_cast<QTreeView*>(view) ? rect.bottomRight() : rect.topLeft() + QPoint(20, 20);
    QToolTip::showText(view->viewport()->mapToGlobal(at), text, view);
}

void TMainForm::ContextMenuItemReloadTagClick() {
    const std::vector<TDataRec*> songs = SetSelectionList(true, true);
    if (songs.empty()) return;
    platform::DriveTable drives = platform::DriveTable::load(s_.AppDir);
    ReloadTags(s_.db, s_.ui, s_.messages, drives, songs);
    UpDateText();
}

void TMainForm::ButtonAddCDClick() {
    if (AddCDForm) AddCDForm->ButtonAddCDClick();
}

// Files and folders dropped onto the window go to the add-disk dialog.
void TMainForm::dragEnterEvent(QDragEnterEvent* event) {
    if (AddCDForm && !TAddCDForm::droppedPaths(event->mimeData()).empty()) event->acceptProposedAction();
}

void TMainForm::dropEvent(QDropEvent* event) {
    const std::vector<std::string> paths = TAddCDForm::droppedPaths(event->mimeData());
    if (!AddCDForm || paths.empty()) return;
    event->acceptProposedAction();
    AddCDForm->dropOnMainWindow(paths, event->modifiers().testFlag(Qt::ShiftModifier));
}

} // namespace velmo::gui
