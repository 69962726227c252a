// The status buttons, the Just Good menu and the status items of the context menu, driven
// through the window on the selection of the active tree or list.
#include <QAction>
#include <QApplication>
#include <QItemSelectionModel>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTreeView>
#include <algorithm>

#include "MainWindowFixture.h"
#include "models/TreeModel.h"

namespace velmo::gui::test {

namespace {
std::vector<std::string> sorted(std::vector<std::string> v) {
    std::sort(v.begin(), v.end());
    return v;
}
} // namespace

class StatusCommandsTest : public QObject {
    Q_OBJECT
private slots:
    void unusedOnADiskFreesEverySongOfThatDiskOnly();
    void eachListTabButtonSetsItsStatus_data();
    void eachListTabButtonSetsItsStatus();
    void justGoodTabCommands();
    void nothingSelectedChangesNothing();
    void copiedPlaylistIsMarkedHeardOnlyByPlaylistCommands();
};

void StatusCommandsTest::unusedOnADiskFreesEverySongOfThatDiskOnly() {
    MainWindowFixture f;
    QTreeView* tree = f.musicTree();
    const QModelIndex summer = f.treeIndex({"Summer Mix /SUMMER01/"});
    tree->selectionModel()->select(summer, QItemSelectionModel::Select);
    QTest::mouseClick(f.button("BitBtnUnUsed"), Qt::LeftButton);

    for (const char* name : {"01 a.mp3", "02 b.mp3", "03 c.mp3", "04 d.mp3", "05 e.mp3", "06 f.mp3", "07 g.mp3",
                             "08 h.mp3"})
        QVERIFY2(f.statusOf(name) == ssUnused, name);
    // The other disk keeps its Black List song and its Favorite.
    QCOMPARE(f.statusOf("x.mp3"), int(ssBlack));
    QCOMPARE(f.statusOf("y.mp3"), int(ssUnused));
    QCOMPARE(f.statusOf("z.mp3"), int(ssFavorites));
    MusicDatabase& db = f.session->db;
    const std::vector<std::string> z = {"Winter /WINTER02/\\z.mp3"};
    QCOMPARE(captionsOf(db.blackList()), std::vector<std::string>({"Winter /WINTER02/\\x.mp3"}));
    QCOMPARE(captionsOf(db.favorites()), z);
    QCOMPARE(captionsOf(db.playList()), z);
    QVERIFY(db.justGood().empty());
    // The icons of the tree follow.
    const QModelIndex d = f.treeIndex({"Summer Mix /SUMMER01/", "Album One", "04 d.mp3"});
    QCOMPARE(static_cast<TreeModel*>(tree->model())->nodeAt(d)->imageIndex(), uint8_t(6));

    QTabWidget* tabs = f.window->tabs();
    QTRY_COMPARE(tabs->tabText(5), QString("Just Good (0/0)"));
    QCOMPARE(tabs->tabText(2), QString("Playlist (1)"));
    QCOMPARE(tabs->tabText(3), QString("Black List (1)"));
    QCOMPARE(tabs->tabText(4), QString("Favorites (1)"));
    QCOMPARE(f.window->listOfTab(3)->model()->rowCount(), 1);
    QCOMPARE(f.window->listOfTab(5)->model()->rowCount(), 0);
    QCOMPARE(db.counters()[cN].count, 10);
    QCOMPARE(db.counters()[cU].count, 1);
}

void StatusCommandsTest::eachListTabButtonSetsItsStatus_data() {
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("song");
    QTest::addColumn<int>("status");
    QTest::newRow("unused to Black List") << 1 << "BitBtnBlack1" << "01 a.mp3" << int(ssBlack);
    QTest::newRow("used to playlist") << 1 << "BitBtnPlayList1" << "02 b.mp3" << int(ssPlayList);
    QTest::newRow("used to Just Good") << 1 << "BitBtnJustGood1" << "02 b.mp3" << int(ssGoodUsed);
    QTest::newRow("Favorite to used") << 2 << "BitBtnUsed2" << "z.mp3" << int(ssUsed);
    QTest::newRow("Black List to Favorites") << 3 << "BitBtnFav3" << "x.mp3" << int(ssFavorites);
    QTest::newRow("Black List to unused") << 3 << "BitBtnUnUsed3" << "04 d.mp3" << int(ssUnused);
    QTest::newRow("Favorite to Just Good") << 4 << "BitBtnJustGood4" << "05 e.mp3" << int(ssGoodPlayList);
    QTest::newRow("Favorite to Black List") << 4 << "BitBtnBlack4" << "05 e.mp3" << int(ssBlack);
    QTest::newRow("Just Good to playlist") << 5 << "BitBtnPlayList5" << "06 f.mp3" << int(ssPlayList);
}

void StatusCommandsTest::eachListTabButtonSetsItsStatus() {
    QFETCH(int, tab);
    QFETCH(QString, button);
    QFETCH(QString, song);
    QFETCH(int, status);
    MainWindowFixture f;
    f.showTab(tab);
    f.selectInList(tab, {song});
    QCOMPARE(f.window->listOfTab(tab)->selectionModel()->selectedIndexes().size(), 1);
    const std::vector<std::string> others = [&] {
        std::vector<std::string> v;
        for (ListItem* item : f.session->db.musicList().items())
            if (!QString::fromStdString(item->caption()).endsWith(song))
                v.push_back(item->caption() + ":" + std::to_string(MusicDatabase::statusOf(item->data())));
        return v;
    }();

    QTest::mouseClick(f.button(button), Qt::LeftButton);
    QCOMPARE(f.statusOf(song.toStdString()), status);
    QVERIFY(f.session->db.DBModified());
    // No other song moved.
    std::vector<std::string> after;
    for (ListItem* item : f.session->db.musicList().items())
        if (!QString::fromStdString(item->caption()).endsWith(song))
            after.push_back(item->caption() + ":" + std::to_string(MusicDatabase::statusOf(item->data())));
    QCOMPARE(after, others);
}

void StatusCommandsTest::justGoodTabCommands() {
    MainWindowFixture f;
    f.showTab(5);
    QMenu* context = f.window->contextMenu();
    auto item = [&](const char* name) { return context->findChild<QAction*>(name); };

    // The submenu sets a Just Good status directly.
    f.selectInList(5, {"07 g.mp3"});
    f.window->prepareContextMenu(f.window->listOfTab(5));
    item("ContextMenuItemGoodUsed")->trigger();
    QCOMPARE(f.statusOf("07 g.mp3"), int(ssGoodUsed));
    f.selectInList(5, {"06 f.mp3"});
    item("ContextMenuItemGoodPlayList")->trigger();
    QCOMPARE(f.statusOf("06 f.mp3"), int(ssGoodPlayList));
    QCOMPARE(f.session->db.playList().size(), size_t(3));
    f.selectInList(5, {"06 f.mp3"});
    item("ContextMenuItemGoodUnUsed")->trigger();
    QCOMPARE(f.statusOf("06 f.mp3"), int(ssGoodUnused));
    QTRY_COMPARE(f.window->tabs()->tabText(5), QString("Just Good (2/3)"));

    // "Used" presses the tab's own Used button: Just Good songs become plain used songs.
    QTest::mouseClick(f.button("ButtonSelectAll5"), Qt::LeftButton);
    QCOMPARE(f.window->listOfTab(5)->selectionModel()->selectedIndexes().size(), 3);
    item("ContextMenuItemUsed")->trigger();
    for (const char* name : {"06 f.mp3", "07 g.mp3", "08 h.mp3"}) QVERIFY2(f.statusOf(name) == ssUsed, name);
    QVERIFY(f.session->db.justGood().empty());
    QCOMPARE(f.session->db.playList().size(), size_t(2));
    QTRY_COMPARE(f.window->tabs()->tabText(5), QString("Just Good (0/0)"));

    // On another tab the plain item presses that tab's Just Good button.
    f.showTab(1);
    f.selectInList(1, {"y.mp3", "x.mp3", "02 b.mp3"});
    f.window->prepareContextMenu(f.window->listOfTab(1));
    item("ContextMenuItemJustGood")->trigger();
    QCOMPARE(f.statusOf("y.mp3"), int(ssGoodUnused));
    QCOMPARE(f.statusOf("x.mp3"), int(ssGoodUnused));
    QCOMPARE(f.statusOf("02 b.mp3"), int(ssGoodUsed));
    QTRY_COMPARE(f.window->tabs()->tabText(5), QString("Just Good (2/3)"));
}

void StatusCommandsTest::nothingSelectedChangesNothing() {
    MainWindowFixture f;
    const StatCounters before = f.session->db.counters();
    for (int tab = 0; tab <= 5; ++tab) {
        f.showTab(tab);
        const QString suffix = tab == 0 ? QString() : QString::number(tab);
        for (const char* prefix : {"BitBtnUsed", "BitBtnUnUsed", "BitBtnBlack", "BitBtnFav", "BitBtnPlayList"})
            QTest::mouseClick(f.button(prefix + suffix), Qt::LeftButton);
        if (tab != 5) QTest::mouseClick(f.button("BitBtnJustGood" + suffix), Qt::LeftButton);
    }
    QVERIFY(!f.session->db.DBModified());
    const StatCounters& after = f.session->db.counters();
    for (int c = 0; c < cCounterCount; ++c) QCOMPARE(after.keys[c].count, before.keys[c].count);
    QCOMPARE(f.window->windowTitle(), QString("VelmoMusicDataBase v2.07 - [Profiles\\Default\\Default.vmdb]"));
}

void StatusCommandsTest::copiedPlaylistIsMarkedHeardOnlyByPlaylistCommands() {
    MainWindowFixture f;
    f.showTab(1);
    f.selectInList(1, {"01 a.mp3", "03 c.mp3"});
    QTest::mouseClick(f.button("BitBtnPlayList1"), Qt::LeftButton);
    QCOMPARE(f.statusOf("01 a.mp3"), int(ssPlayList));
    QCOMPARE(f.statusOf("03 c.mp3"), int(ssPlayList));
    f.session->PlaylistCopied = true;

    // The Black List does not put songs into the playlist: the copied playlist stays as it is.
    f.selectInList(1, {"02 b.mp3"});
    QTest::mouseClick(f.button("BitBtnBlack1"), Qt::LeftButton);
    QCOMPARE(f.statusOf("02 b.mp3"), int(ssBlack));
    QCOMPARE(f.statusOf("01 a.mp3"), int(ssPlayList));
    QVERIFY(f.session->PlaylistCopied);

    // Adding to the playlist first marks the copied songs heard; Favorites stay.
    f.selectInList(1, {"y.mp3"});
    QTest::mouseClick(f.button("BitBtnPlayList1"), Qt::LeftButton);
    QVERIFY(!f.session->PlaylistCopied);
    QCOMPARE(f.statusOf("01 a.mp3"), int(ssUsed));
    QCOMPARE(f.statusOf("03 c.mp3"), int(ssUsed));
    QCOMPARE(f.statusOf("y.mp3"), int(ssPlayList));
    QCOMPARE(f.statusOf("05 e.mp3"), int(ssFavorites));
    QCOMPARE(sorted(captionsOf(f.session->db.playList())),
             std::vector<std::string>({"Summer Mix /SUMMER01/\\Album One\\05 e.mp3", "Winter /WINTER02/\\y.mp3",
                                       "Winter /WINTER02/\\z.mp3"}));
}

int runStatusCommandsTest(int argc, char** argv) {
    StatusCommandsTest test;
    return QTest::qExec(&test, argc, argv);
}

} // namespace velmo::gui::test

#include "StatusCommandsTest.moc"
