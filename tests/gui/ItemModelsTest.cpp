// The tree and list models under Qt's model checker while songs are added, removed, renamed
// and change status: every row signal the core sends must leave the models consistent.
#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

#include <memory>
#include <string>
#include <vector>

#include "musicdb/RootFolders.h"
#include "models/ListModel.h"
#include "models/TreeModel.h"
#include "musicdb/MusicDatabase.h"

namespace velmo::gui::test {

namespace {

// The texts of a model's rows below `parent`, read through the model as a view reads them.
QStringList rowTexts(const QAbstractItemModel& model, const QModelIndex& parent = {}) {
    QStringList out;
    for (int r = 0; r < model.rowCount(parent); ++r) out << model.index(r, 0, parent).data().toString();
    return out;
}

// Every row of a list model reads the caption of the list's item at that row.
void compareListWithCore(const ListModel& model, const ItemList& list) {
    QCOMPARE(model.rowCount(), int(list.size()));
    int row = 0;
    for (ListItem* item = list.first(); item; item = list.next(item), ++row)
        QCOMPARE(model.index(row, 0).data().toString(), QString::fromStdString(item->caption()));
}

} // namespace

class ItemModelsTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void modelsStayConsistentThroughAddsStatusesRenamesAndRemovals();
    void renameIsOneRowMoveAndCaptionChangesWithTheirRoles();

private:
    std::unique_ptr<MusicDatabase> db;
    std::unique_ptr<TreeModel> music, folders;
    std::unique_ptr<ListModel> musicList, playList;
    std::vector<std::unique_ptr<QAbstractItemModelTester>> testers;
};

void ItemModelsTest::init() {
    db = std::make_unique<MusicDatabase>();
    music = std::make_unique<TreeModel>(db->musicTree());
    folders = std::make_unique<TreeModel>(db->folderTree());
    musicList = std::make_unique<ListModel>(db->musicList());
    playList = std::make_unique<ListModel>(db->playList());
    for (QAbstractItemModel* m : std::initializer_list<QAbstractItemModel*>{music.get(), folders.get(),
                                                                            musicList.get(), playList.get()})
        testers.push_back(std::make_unique<QAbstractItemModelTester>(
            m, QAbstractItemModelTester::FailureReportingMode::QtTest));
}

void ItemModelsTest::cleanup() {
    testers.clear();
    musicList.reset();
    playList.reset();
    music.reset();
    folders.reset();
    db.reset();
}

void ItemModelsTest::modelsStayConsistentThroughAddsStatusesRenamesAndRemovals() {
    TreeNode* disk = db->addContainer(nullptr, "Drive <C> /Music/", iiHardDisk);
    TreeNode* cd = db->addContainer(nullptr, "Mix /MIX01/", iiCDDisk);
    std::vector<TreeNode*> albums;
    std::vector<TDataRec*> songs;
    for (int a = 0; a < 4; ++a) {
        albums.push_back(db->addContainer(a % 2 ? cd : disk, "Album " + std::to_string(a), iiFolderRoot));
        for (int s = 0; s < 6; ++s)
            songs.push_back(db->addSong(albums.back(), "song " + std::to_string(5 - s) + ".mp3", 1000 + s));
    }
    RootFolders(*db).ReloadRootTree();
    QCOMPARE(folders->rowCount(), 4);

    for (size_t i = 0; i < songs.size(); i += 3) db->SetStatus(songs[i], ssPlayList);
    db->SetStatus(songs[1], ssFavorites);
    db->SetStatus(songs[4], ssGoodPlayList);
    db->SetStatus(songs[3], ssUsed);
    compareListWithCore(*playList, db->playList());

    db->renameNode(songs[0]->MusicNode, "zz.mp3");
    db->renameNode(albums[2], "Aardvark");
    db->renameNode(cd, "A mix /MIX01/");
    RootFolders(*db).ReloadRootTree();
    compareListWithCore(*musicList, db->musicList());
    compareListWithCore(*playList, db->playList());

    // Scattered rows, a whole folder (which then goes) and a song of the other disk.
    std::vector<TDataRec*> gone = {songs[2], songs[4], songs[5]};
    for (int s = 6; s < 12; ++s) gone.push_back(songs[static_cast<size_t>(s)]);
    db->removeSongs(gone);
    QCOMPARE(rowTexts(*music, music->indexOf(cd)), QStringList({"Album 3"}));
    compareListWithCore(*musicList, db->musicList());
    compareListWithCore(*playList, db->playList());

    db->addSong(albums[3], "late.mp3", 10);
    db->ResetIcons();
    compareListWithCore(*musicList, db->musicList());
    std::vector<TDataRec*> rest;
    for (ListItem* item = db->musicList().first(); item; item = db->musicList().next(item)) rest.push_back(item->data());
    db->removeSongs(rest);
    QCOMPARE(music->rowCount(), 0);
    QCOMPARE(folders->rowCount(), 0);
    QCOMPARE(musicList->rowCount(), 0);
}

void ItemModelsTest::renameIsOneRowMoveAndCaptionChangesWithTheirRoles() {
    TreeNode* disk = db->addContainer(nullptr, "Drive <C> /Music/", iiHardDisk);
    TreeNode* album = db->addContainer(disk, "Album", iiFolder);
    TDataRec* a = db->addSong(album, "a.mp3", 1);
    TDataRec* b = db->addSong(album, "b.mp3", 1);
    TDataRec* c = db->addSong(album, "c.mp3", 1);
    db->SetStatus(b, ssPlayList);

    QSignalSpy moved(music.get(), &QAbstractItemModel::rowsMoved);
    QSignalSpy treeChanged(music.get(), &QAbstractItemModel::dataChanged);
    QSignalSpy listChanged(musicList.get(), &QAbstractItemModel::dataChanged);
    QSignalSpy playChanged(playList.get(), &QAbstractItemModel::dataChanged);
    db->renameNode(a->MusicNode, "d.mp3");
    QCOMPARE(moved.count(), 1);
    const QModelIndex albumIndex = music->indexOf(album);
    QCOMPARE(moved[0][0].value<QModelIndex>(), albumIndex);
    QCOMPARE(moved[0][1].toInt(), 0);
    QCOMPARE(moved[0][4].toInt(), 3); // Qt counts the destination before the move
    QCOMPARE(rowTexts(*music, albumIndex), QStringList({"b.mp3", "c.mp3", "d.mp3"}));
    QCOMPARE(treeChanged.count(), 1);
    QVERIFY(treeChanged[0][2].value<QList<int>>().contains(Qt::DisplayRole));
    QVERIFY(!treeChanged[0][2].value<QList<int>>().contains(Qt::DecorationRole));
    QCOMPARE(listChanged.count(), 1);
    QCOMPARE(listChanged[0][0].value<QModelIndex>().row(), 0);
    QCOMPARE(musicList->index(0).data().toString(), QString("Drive <C> /Music/\\Album\\d.mp3"));
    QCOMPARE(playChanged.count(), 0); // a is not in the Playlist

    listChanged.clear();
    playChanged.clear();
    db->renameNode(album, "Best");
    QCOMPARE(listChanged.count(), 1); // rows 0 to 2 in one change
    QCOMPARE(listChanged[0][0].value<QModelIndex>().row(), 0);
    QCOMPARE(listChanged[0][1].value<QModelIndex>().row(), 2);
    QCOMPARE(playChanged.count(), 1);
    QCOMPARE(playList->index(0).data().toString(), QString("Drive <C> /Music/\\Best\\b.mp3"));

    treeChanged.clear();
    db->SetStatus(c, ssUsed);
    QCOMPARE(treeChanged.count(), 1);
    QCOMPARE(treeChanged[0][2].value<QList<int>>(), QList<int>({Qt::DecorationRole}));
}

int runItemModelsTest(int argc, char** argv) {
    ItemModelsTest test;
    return QTest::qExec(&test, argc, argv);
}

} // namespace velmo::gui::test

#include "ItemModelsTest.moc"
