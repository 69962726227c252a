// The main window's tabs, captions, statistics line, status button columns, context menu,
// tree selection rules and the enabled state of the playlist commands.
#include <QAction>
#include <QDialog>
#include <QFontMetrics>
#include <QApplication>
#include <QItemSelectionModel>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QMessageBox>
#include <QAbstractButton>
#include <QToolTip>
#include <QMouseEvent>
#include <QTreeView>
#include <set>

#include "MainWindowFixture.h"
#include "forms/SongHints.h"
#include "forms/TLogoForm.h"
#include "forms/WindowTexts.h"
#include "base/TextTable.h"

namespace velmo::gui::test {

namespace {

const QString kTitle = "VelmoMusicDataBase v2.07 - [Profiles\\Default\\Default.vmdb]";

// Clicks the expand button left of a node, as the user opens or closes it.
void clickExpander(QTreeView* tree, const QModelIndex& index) {
    const QRect r = tree->visualRect(index);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(r.left() - tree->indentation() / 2, r.center().y()));
    QApplication::processEvents();
}

std::vector<std::string> fileNames(const std::vector<TDataRec*>& records) {
    std::vector<std::string> out;
    for (const TDataRec* rec : records) {
        const std::string path = musicTreePath(rec->MusicNode);
        out.push_back(path.substr(path.rfind('\\') + 1));
    }
    return out;
}

} // namespace

class MainWindowViewsTest : public QObject {
    Q_OBJECT
private slots:
    void tabsCarryTheirNamesAndCounts();
    void statisticsLineFollowsTheActiveTab();
    void captionShowsModifiedUntilSaved();
    void everyTabHasItsStatusButtons();
    void contextMenuOffersTheJustGoodSubmenuOnlyOnTheJustGoodList();
    void selectionListHoldsEverySongOnce();
    void expandingSelectsNothingAndCollapsingDeselectsHiddenSongs();
    void playlistCommandsStayDisabledWhileCopying();
    void rootControlOpensWithF5AndEscFinishesIt();
    void songsShowTheirSizeAsAHintFoldersNone();
    void keyboardHintHoldsUntilTheMouseMovesOnBothAxes();
    void captionsAndHintsFollowTheTextTableTwinsIncluded();
    void reloadTagShowsItsProgressInTheStatusBar();
    void boxesOpenInFrontOfTheLogoAndOfTheActiveDialog();
};

void MainWindowViewsTest::tabsCarryTheirNamesAndCounts() {
    MainWindowFixture f;
    QVERIFY(f.started);
    QTabWidget* tabs = f.window->tabs();
    QCOMPARE(tabs->objectName(), QString("PageControlTabInt"));
    QCOMPARE(tabs->count(), 6);
    const char* const sheets[6] = {"TabSheetMusicDB",   "TabSheetMusicList", "TabSheetPlayList",
                                   "TabSheetBlackList", "TabSheetFavorites", "TabSheetJustGood"};
    for (int tab = 0; tab < 6; ++tab) QCOMPARE(tabs->widget(tab)->objectName(), QString(sheets[tab]));

    QCOMPARE(tabs->tabText(0), QString("Music Data Base"));
    QCOMPARE(tabs->tabText(1), QString("Music List (11)"));
    QCOMPARE(tabs->tabText(2), QString("Playlist (2)"));
    QCOMPARE(tabs->tabText(3), QString("Black List (2)"));
    QCOMPARE(tabs->tabText(4), QString("Favorites (2)"));
    QCOMPARE(tabs->tabText(5), QString("Just Good (3/3)"));

    // Each list tab holds its list, filled from the core's list.
    const char* const lists[6] = {"", "ListViewMusicList", "ListViewPlayList", "ListViewBlackList",
                                  "ListViewFavorites", "ListViewJustGood"};
    const int rows[6] = {0, 11, 2, 2, 2, 3};
    for (int tab = 1; tab <= 5; ++tab) {
        QListView* list = f.window->listOfTab(tab);
        QVERIFY(list);
        QCOMPARE(list->objectName(), QString(lists[tab]));
        QVERIFY(tabs->widget(tab)->isAncestorOf(list));
        QCOMPARE(list->model()->rowCount(), rows[tab]);
    }
    QVERIFY(tabs->widget(0)->isAncestorOf(f.musicTree()));

    // A song that becomes Just Good used counts in the Just Good total but not among the unused.
    f.showTab(5);
    f.window->listOfTab(5)->selectionModel()->select(f.window->listOfTab(5)->model()->index(1, 0),
                                                     QItemSelectionModel::Select);
    f.window->findChild<QMenu*>("PopupMenuGood")->findChild<QAction*>("MenuItemUsed")->trigger();
    QCOMPARE(f.statusOf("07 g.mp3"), int(ssGoodUsed));
    QTRY_COMPARE(tabs->tabText(5), QString("Just Good (2/3)"));
    QCOMPARE(tabs->tabText(0), QString("Music Data Base"));
}

void MainWindowViewsTest::statisticsLineFollowsTheActiveTab() {
    MainWindowFixture f;
    auto* bar = f.window->findChild<QLabel*>("StatusBar2");
    QVERIFY(bar);
    const QString total = "[11 total (12 MB)] - ";
    const QString lines[6] = {
        total + "[7 unused (7 MB), 4 used (5 MB), 2 in playlist (2 MB)]",
        total + "[7 unused (7 MB), 4 used (5 MB), 2 in playlist (2 MB)]",
        total + "[2 in playlist (2 MB), 0 Just Good among them (0 MB)]",
        total + "[2 BlackListed (2 MB)]",
        total + "[2 in Favorites (2 MB)]",
        "[3 Just Good total (3 MB)] - [3 unused (3 MB), 0 used (0 MB), 0 in playlist (0 MB)]",
    };
    for (int tab : {1, 2, 3, 4, 5, 0}) {
        f.showTab(tab);
        QCOMPARE(bar->text(), "  " + lines[tab]);
        // The hint holds the whole line, for a bar too narrow to show it.
        QCOMPARE(bar->toolTip(), lines[tab]);
    }
}

void MainWindowViewsTest::captionShowsModifiedUntilSaved() {
    MainWindowFixture f;
    QCOMPARE(f.window->windowTitle(), kTitle);

    f.showTab(1);
    QListView* list = f.window->listOfTab(1);
    list->setFocus();
    list->selectionModel()->select(list->model()->index(0, 0), QItemSelectionModel::Select);
    QTest::mouseClick(f.button("BitBtnUsed1"), Qt::LeftButton);
    QCOMPARE(f.statusOf("01 a.mp3"), int(ssUsed));
    QTRY_COMPARE(f.window->windowTitle(), kTitle + "  ***Modified");
    auto* bar = f.window->findChild<QLabel*>("StatusBar2");
    QCOMPARE(bar->text(), QString("  [11 total (12 MB)] - [6 unused (6 MB), 5 used (6 MB), 2 in playlist (2 MB)]"));

    // Ctrl+Alt+S saves the base: the mark goes and the file holds the new status.
    list->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::ControlModifier | Qt::AltModifier);
    QTRY_COMPARE(f.window->windowTitle(), kTitle);
    const std::string saved = velmo::test::readFile(f.dir.file("Profiles/Default/Default.vmdb"));
    QVERIFY(saved.find("\t\t01 a.mp3:7:1048576:") != std::string::npos);

    // The next change brings the mark back.
    list->selectionModel()->clearSelection();
    list->selectionModel()->select(list->model()->index(0, 0), QItemSelectionModel::Select);
    QTest::mouseClick(f.button("BitBtnUnUsed1"), Qt::LeftButton);
    QTRY_COMPARE(f.window->windowTitle(), kTitle + "  ***Modified");
}

void MainWindowViewsTest::everyTabHasItsStatusButtons() {
    MainWindowFixture f;
    const std::pair<const char*, const char*> buttons[] = {
        {"BitBtnUsed", "Mark selected file(s) as used"},
        {"BitBtnUnUsed", "Mark selected file(s) as unused"},
        {"BitBtnBlack", "Add selected file(s) to Black List"},
        {"BitBtnFav", "Add selected file(s) to Favorites"},
        {"BitBtnPlayList", "Add selected file(s) to the current playlist (random position)"},
        {"BitBtnJustGood", "Mark selected file(s) as Just Good"},
    };
    for (int tab = 0; tab <= 5; ++tab) {
        QWidget* page = f.window->tabs()->widget(tab);
        const QString suffix = tab == 0 ? QString() : QString::number(tab);
        for (auto [prefix, hint] : buttons) {
            const QString name = prefix + suffix;
            auto* button = page->findChild<QPushButton*>(name);
            QVERIFY2(button, qPrintable(name + " is missing from its tab"));
            const QString expected = name == "BitBtnJustGood5" ? "Open extended Just Good menu" : hint;
            QCOMPARE(button->toolTip(), expected);
        }
        if (tab > 0) {
            QVERIFY(page->findChild<QPushButton*>("ButtonSelectAll" + suffix));
            QVERIFY(page->findChild<QPushButton*>("ButtonDelete" + suffix));
        }
    }
    // Tab 0's buttons carry no index.
    QVERIFY(!f.window->findChild<QPushButton*>("BitBtnUsed0"));

    // The Just Good button of tab 5 opens the Just Good menu and changes no status by itself.
    f.showTab(5);
    QListView* good = f.window->listOfTab(5);
    good->selectAll();
    auto* menu = f.window->findChild<QMenu*>("PopupMenuGood");
    QVERIFY(menu);
    QVERIFY(!menu->isVisible());
    QTest::mouseClick(f.button("BitBtnJustGood5"), Qt::LeftButton);
    QTRY_VERIFY(menu->isVisible());
    QStringList captions;
    for (QAction* a : menu->actions()) captions << a->objectName() + "=" + a->text();
    QCOMPARE(captions, QStringList({"MenuItemUnUsed=Unused", "MenuItemUsed=Used", "MenuItemPlayList=PlayList"}));
    menu->close();
    for (const char* name : {"06 f.mp3", "07 g.mp3", "08 h.mp3"}) QCOMPARE(f.statusOf(name), int(ssGoodUnused));
    QVERIFY(!f.session->db.DBModified());
}

void MainWindowViewsTest::contextMenuOffersTheJustGoodSubmenuOnlyOnTheJustGoodList() {
    MainWindowFixture f;
    QMenu* context = f.window->contextMenu();
    auto* submenu = context->findChild<QMenu*>("ContextMenuRootItemJustGood");
    auto* plain = f.window->findChild<QAction*>("ContextMenuItemJustGood");
    QVERIFY(submenu);
    QVERIFY(plain);
    QStringList items;
    for (QAction* a : submenu->actions()) items << a->objectName();
    QCOMPARE(items, QStringList({"ContextMenuItemGoodUnUsed", "ContextMenuItemGoodUsed", "ContextMenuItemGoodPlayList"}));

    f.showTab(5);
    f.window->prepareContextMenu(f.window->listOfTab(5));
    QVERIFY(submenu->menuAction()->isVisible());
    QVERIFY(!plain->isVisible());

    for (int tab = 1; tab <= 4; ++tab) {
        f.showTab(tab);
        f.window->prepareContextMenu(f.window->listOfTab(tab));
        QVERIFY2(!submenu->menuAction()->isVisible(), qPrintable(QString("tab %1").arg(tab)));
        QVERIFY(plain->isVisible());
    }
    // Back on the Just Good list, then on a tree: the plain item returns.
    f.window->prepareContextMenu(f.window->listOfTab(5));
    f.showTab(0);
    f.window->prepareContextMenu(nullptr);
    QVERIFY(!submenu->menuAction()->isVisible());
    QVERIFY(plain->isVisible());

    // "Play now !" follows the selection of the list the menu opens on.
    f.showTab(1);
    QListView* list = f.window->listOfTab(1);
    f.window->prepareContextMenu(list);
    QVERIFY(!f.window->findChild<QAction*>("ContextMenuItemPlayNow")->isEnabled());
    list->selectionModel()->select(list->model()->index(2, 0), QItemSelectionModel::Select);
    f.window->prepareContextMenu(list);
    QVERIFY(f.window->findChild<QAction*>("ContextMenuItemPlayNow")->isEnabled());
}

void MainWindowViewsTest::selectionListHoldsEverySongOnce() {
    MainWindowFixture f;
    QTreeView* tree = f.musicTree();
    QVERIFY(tree->isVisible());
    const QModelIndex summer = f.treeIndex({"Summer Mix /SUMMER01/"});
    const QModelIndex album = f.treeIndex({"Summer Mix /SUMMER01/", "Album One"});
    const QModelIndex b = f.treeIndex({"Summer Mix /SUMMER01/", "Album One", "02 b.mp3"});
    const QModelIndex winter = f.treeIndex({"Winter /WINTER02/"});
    const QModelIndex y = f.treeIndex({"Winter /WINTER02/", "y.mp3"});
    QVERIFY(summer.isValid() && album.isValid() && b.isValid() && winter.isValid() && y.isValid());
    for (const QModelIndex& i : {summer, album, winter}) tree->expand(i);

    // Selected in reverse display order, to show the order comes from the tree.
    QItemSelectionModel* selection = tree->selectionModel();
    for (const QModelIndex& i : {y, b, summer}) selection->select(i, QItemSelectionModel::Select);

    const std::vector<std::string> disk = {"01 a.mp3", "02 b.mp3", "03 c.mp3", "04 d.mp3",
                                           "05 e.mp3", "06 f.mp3", "07 g.mp3", "08 h.mp3"};
    std::vector<std::string> both = disk;
    both.push_back("y.mp3");
    QCOMPARE(fileNames(f.window->SetSelectionList(true, true)), both);
    QCOMPARE(fileNames(f.window->SetSelectionList(true, false)), std::vector<std::string>({"02 b.mp3", "y.mp3"}));
    QCOMPARE(fileNames(f.window->SetSelectionList(false, true)), disk);

    // On a list tab the selected items count, in list order, whatever the mode.
    f.showTab(1);
    QListView* list = f.window->listOfTab(1);
    list->selectionModel()->select(list->model()->index(9, 0), QItemSelectionModel::Select);
    list->selectionModel()->select(list->model()->index(3, 0), QItemSelectionModel::Select);
    QCOMPARE(fileNames(f.window->SetSelectionList(false, false)), std::vector<std::string>({"04 d.mp3", "y.mp3"}));
    QCOMPARE(fileNames(f.window->SetSelectionList(true, true)), std::vector<std::string>({"04 d.mp3", "y.mp3"}));
}

void MainWindowViewsTest::expandingSelectsNothingAndCollapsingDeselectsHiddenSongs() {
    MainWindowFixture f;
    QTreeView* tree = f.musicTree();
    QItemSelectionModel* selection = tree->selectionModel();
    const QModelIndex summer = f.treeIndex({"Summer Mix /SUMMER01/"});
    const QModelIndex winter = f.treeIndex({"Winter /WINTER02/"});
    QVERIFY(!tree->isExpanded(summer));
    QVERIFY(!selection->hasSelection());

    clickExpander(tree, summer);
    QVERIFY(tree->isExpanded(summer));
    QVERIFY(!selection->hasSelection());
    const QModelIndex album = f.treeIndex({"Summer Mix /SUMMER01/", "Album One"});
    clickExpander(tree, album);
    QVERIFY(tree->isExpanded(album));
    QVERIFY(!selection->hasSelection());

    // With a selection elsewhere, opening a node leaves it as it is.
    selection->select(winter, QItemSelectionModel::Select);
    clickExpander(tree, winter);
    QVERIFY(tree->isExpanded(winter));
    QCOMPARE(selection->selectedIndexes(), QModelIndexList({winter}));

    const QModelIndex c = f.treeIndex({"Summer Mix /SUMMER01/", "Album One", "03 c.mp3"});
    const QModelIndex x = f.treeIndex({"Winter /WINTER02/", "x.mp3"});
    selection->select(c, QItemSelectionModel::Select);
    selection->select(x, QItemSelectionModel::Select);
    QCOMPARE(selection->selectedIndexes().size(), 3);

    // Closing the first disk deselects the song that can no longer be seen, nothing else.
    clickExpander(tree, summer);
    QVERIFY(!tree->isExpanded(summer));
    QVERIFY(!selection->isSelected(c));
    QVERIFY(selection->isSelected(winter));
    QVERIFY(selection->isSelected(x));
    QVERIFY(!selection->isSelected(summer));
    QCOMPARE(fileNames(f.window->SetSelectionList(true, false)), std::vector<std::string>({"x.mp3"}));
}

void MainWindowViewsTest::playlistCommandsStayDisabledWhileCopying() {
    MainWindowFixture f;
    QPushButton* make = f.button("ButtonMakePlayList");
    QPushButton* press = f.button("ButtonPressToStart");
    QVERIFY(make && press);
    // Unused songs and a playlist: both commands are available.
    QVERIFY(make->isEnabled());
    QVERIFY(press->isEnabled());

    f.window->setCopyRunning(true);
    QVERIFY(!make->isEnabled());
    QVERIFY(!press->isEnabled());
    // A status change during the copy refreshes the buttons; they stay disabled.
    f.showTab(1);
    QListView* list = f.window->listOfTab(1);
    list->selectionModel()->select(list->model()->index(0, 0), QItemSelectionModel::Select);
    QTest::mouseClick(f.button("BitBtnPlayList1"), Qt::LeftButton);
    QCOMPARE(f.statusOf("01 a.mp3"), int(ssPlayList));
    QTRY_COMPARE(f.window->tabs()->tabText(2), QString("Playlist (3)"));
    QApplication::processEvents();
    QVERIFY(!make->isEnabled());
    QVERIFY(!press->isEnabled());
    f.showTab(0);
    QVERIFY(!make->isEnabled());
    QVERIFY(!press->isEnabled());

    f.window->setCopyRunning(false);
    QVERIFY(make->isEnabled());
    QVERIFY(press->isEnabled());
}

void MainWindowViewsTest::rootControlOpensWithF5AndEscFinishesIt() {
    MainWindowFixture f;
    auto* panel = f.window->findChild<QWidget*>("PanelRootControl");
    QVERIFY(panel && !panel->isVisible());
    QTest::keyClick(f.focused(), Qt::Key_F5);
    QVERIFY(panel->isVisible());
    // The button that opened the mode gives way to the panel's Finish.
    QVERIFY(!f.button("ButtonRootControl")->isVisible());
    QVERIFY(!f.button("ButtonSwitchView")->isEnabled());
    QCOMPARE(f.window->visibleTree(), f.musicTree());
    // Esc finishes root control instead of asking to quit.
    QTest::keyClick(f.focused(), Qt::Key_Escape);
    QVERIFY(!panel->isVisible());
    QVERIFY(f.button("ButtonRootControl")->isVisible());
    QVERIFY(f.button("ButtonSwitchView")->isEnabled());
    QVERIFY(f.window->isVisible());
}

void MainWindowViewsTest::songsShowTheirSizeAsAHintFoldersNone() {
    MainWindowFixture f;
    const QModelIndex folder = f.treeIndex({"Summer Mix /SUMMER01/", "Album One"});
    const QModelIndex song = f.treeIndex({"Summer Mix /SUMMER01/", "Album One", "02 b.mp3"});
    QVERIFY(folder.isValid() && song.isValid());
    QVERIFY(f.musicTree()->model()->data(folder, Qt::ToolTipRole).isNull());
    QCOMPARE(f.musicTree()->model()->data(song, Qt::ToolTipRole).toString(), QString("File size:   2 MB"));
    // The values of a tag's lines start in one column of the hint's font, whatever the labels.
    const QString shown = SongHints::shownHint("Artist:       Miles\nTitle:         So What\nFile size:   3 MB");
    const QFontMetrics metrics(QToolTip::font());
    QList<int> starts;
    const QStringList values = {"Miles", "So What", "3 MB"};
    const QStringList lines = shown.split('\n');
    QCOMPARE(lines.size(), 3);
    for (int i = 0; i < 3; ++i) starts << metrics.horizontalAdvance(lines[i].left(lines[i].indexOf(values[i])));
    std::sort(starts.begin(), starts.end());
    QVERIFY2(starts.back() - starts.front() <= metrics.horizontalAdvance(' '), qPrintable(shown));
    QCOMPARE(f.window->listOfTab(1)->model()->data(f.window->listOfTab(1)->model()->index(1, 0), Qt::ToolTipRole).toString(),
             QString("File size:   2 MB"));
    // With hints switched off there are none.
    f.session->settings.ShowHints = false;
    QVERIFY(f.musicTree()->model()->data(song, Qt::ToolTipRole).isNull());
}

void MainWindowViewsTest::keyboardHintHoldsUntilTheMouseMovesOnBothAxes() {
    MainWindowFixture f;
    f.showTab(1);
    QListView* list = f.window->listOfTab(1);
    QWidget* viewport = list->viewport();
    auto moveTo = [viewport](QPoint p) {
        QMouseEvent move(QEvent::MouseMove, p, viewport->mapToGlobal(p), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &move);
    };
    // The mouse rests over the first song while the keyboard moves to the second.
    const QPoint start = list->visualRect(list->model()->index(0, 0)).center();
    moveTo(start);
    list->setFocus();
    list->setCurrentIndex(list->model()->index(1, 0));
    QTest::keyRelease(list, Qt::Key_Down);
    QTRY_COMPARE(QToolTip::text(), QString("File size:   2 MB"));

    // Moving straight down: no mouse hint replaces the keyboard hint.
    const QPoint down = start + QPoint(0, 3);
    moveTo(down);
    QHelpEvent help(QEvent::ToolTip, down, viewport->mapToGlobal(down));
    QApplication::sendEvent(viewport, &help);
    QCOMPARE(QToolTip::text(), QString("File size:   2 MB"));

    // A diagonal move ends it, and mouse hints come back.
    const QPoint diagonal = down + QPoint(4, 4);
    moveTo(diagonal);
    QTRY_VERIFY(!QToolTip::isVisible());
    QHelpEvent again(QEvent::ToolTip, diagonal, viewport->mapToGlobal(diagonal));
    QApplication::sendEvent(viewport, &again);
    QTRY_COMPARE(QToolTip::text(), QString("File size:   1024 KB"));
}

void MainWindowViewsTest::captionsAndHintsFollowTheTextTableTwinsIncluded() {
    MainWindowFixture f;
    auto action = [&f](const char* name) { return f.window->findChild<QAction*>(name); };
    QCOMPARE(f.window->tabs()->tabText(0), QString("Music Data Base"));
    // The captions as the table has them, an Alt+letter mark aside.
    QCOMPARE(f.button("ButtonSelectAll3")->text().remove('&'), QString("Select All"));
    QCOMPARE(f.button("ButtonDelete4")->toolTip(), QString("Delete the selected files (Delete)"));
    QCOMPARE(action("ContextMenuItemPlayNow")->text().remove('&'), QString("Play now !"));
    QCOMPARE(action("MenuItemAddDisk")->toolTip(), QString("Add another disk/folder to your database (Ctrl+Alt+A)"));
    QCOMPARE(f.window->findChild<QMenu*>("ContextMenuRootItemJustGood")->title().remove('&'), QString("Just Good"));

    // A translated hint of the used button reaches all six tabs and the context menu at once.
    QVERIFY(f.session->texts.setLanguageLine(12, "Als geh\xC3\xB6rt markieren"));
    QVERIFY(f.session->texts.setLanguageLine(78, "Nur gut"));
    applyTexts(f.window.get(), f.session->texts);
    const QString used = QString::fromUtf8("Als geh\xC3\xB6rt markieren");
    for (const char* name : {"BitBtnUsed", "BitBtnUsed1", "BitBtnUsed2", "BitBtnUsed3", "BitBtnUsed4", "BitBtnUsed5"})
        QCOMPARE(f.button(name)->toolTip(), used);
    QCOMPARE(action("ContextMenuItemUsed")->toolTip(), used);
    QCOMPARE(action("ContextMenuItemUsed")->text().remove('&'), QString("Used"));
    QCOMPARE(action("ContextMenuItemJustGood")->text(), QString("Nur gut"));
    QCOMPARE(f.window->findChild<QMenu*>("ContextMenuRootItemJustGood")->title(), QString("Nur gut"));
    // Texts the table does not hold stay: the counted tab captions.
    QCOMPARE(f.window->tabs()->tabText(1).startsWith("Music List ("), true);
}

void MainWindowViewsTest::reloadTagShowsItsProgressInTheStatusBar() {
    MainWindowFixture f(sampleDatabase(), false);
    // No drive holds the disk: the insert prompt comes, and what the status bar says then is
    // what the user sees while the tags are read.
    velmo::test::writeFile(f.dir.file("Drives.ini"), "C=fixed;" + f.dir.path() + "\r\n");
    auto* status = f.window->findChild<QLabel*>("StatusBar1");
    QVERIFY(status);
    QStringList shownAtPrompt;
    QTimer answer;
    connect(&answer, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        // The insert prompt (OK/Cancel) is cancelled, and the disk given up when asked.
        if (QAbstractButton* cancel = box->button(QMessageBox::Cancel)) {
            shownAtPrompt << status->text();
            cancel->click();
        } else if (QAbstractButton* yes = box->button(QMessageBox::Yes)) {
            yes->click();
        }
    });
    answer.start(20);
    f.musicTree()->setFocus();
    f.musicTree()->selectionModel()->select(f.treeIndex({"Summer Mix /SUMMER01/"}), QItemSelectionModel::Select);
    f.window->findChild<QAction*>("ContextMenuItemReloadTag")->trigger();
    answer.stop();
    // The disk is asked for once; its other songs are passed over.
    QCOMPARE(shownAtPrompt, QStringList{" [ Reloading tags: 1 of 8 ]"});
    QCOMPARE(status->text(), QString());
}

int runMainWindowViewsTest(int argc, char** argv) {
    MainWindowViewsTest test;
    return QTest::qExec(&test, argc, argv);
}

void MainWindowViewsTest::boxesOpenInFrontOfTheLogoAndOfTheActiveDialog() {
    MainWindowFixture f(sampleDatabase(), false);
    // A box at start-up: the logo, which stays on top, steps aside while it is shown.
    TLogoForm logo(TextTable::english());
    logo.show();
    f.ui.setLogo(&logo);
    bool logoHiddenUnderBox = false;
    QWidget* boxParent = nullptr;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        logoHiddenUnderBox = !logo.isVisible();
        boxParent = box->parentWidget();
        box->button(QMessageBox::Ok)->click();
    });
    answer.start(20);
    f.ui.showError("Line 3 of \"Profile.ini\": 'x' is not a valid integer value");
    QVERIFY(logoHiddenUnderBox);
    QVERIFY(logo.isVisible());
    QCOMPARE(boxParent, static_cast<QWidget*>(f.window.get()));

    // A box while a dialog of its own is active opens over that dialog, not behind it.
    f.ui.setLogo(nullptr);
    QDialog dialog(nullptr, Qt::Dialog | Qt::WindowStaysOnTopHint);
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    QTRY_VERIFY(dialog.isActiveWindow());
    boxParent = nullptr;
    f.ui.showNotice("Information", "Folder has been added.");
    QCOMPARE(boxParent, static_cast<QWidget*>(&dialog));
}

} // namespace velmo::gui::test

#include "MainWindowViewsTest.moc"
