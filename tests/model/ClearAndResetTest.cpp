#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ModelTestUtil.h"
#include "musicdb/RootFolders.h"
#include "support/RecordingListener.h"

namespace velmo {
namespace {

using namespace velmo::test;

class ListLog : public ItemListObserver {
public:
    void beginInsert(size_t, size_t) override { log.push_back("insert"); }
    void beginRemove(size_t, size_t) override { log.push_back("remove"); }
    void itemChanged(size_t, size_t, ChangedRoles) override { log.push_back("changed"); }
    void beginReset() override { log.push_back("begin reset"); }
    void endReset() override { log.push_back("end reset"); }
    std::vector<std::string> log;
};

class ClearAndResetTest : public ::testing::Test {
protected:
    void SetUp() override {
        db = makeModelDatabase();
        TreeNode* disk = addCD(*db, "Mix", "MIX01");
        TreeNode* album = addFolder(*db, disk, "Album", iiFolderRoot);
        // One song of every stored status, in this order in the Music List.
        for (int s = 0; s < ssStoredCount; ++s)
            songs.push_back(addSong(*db, album, "s" + std::to_string(s) + ".mp3", (s + 1) * 1048576, s));
        RootFolders(*db).ReloadRootTree();
        db->addListener(&listener);
    }
    void TearDown() override { db->removeListener(&listener); }

    CountingListener listener;
    std::unique_ptr<MusicDatabase> db;
    std::vector<TDataRec*> songs;
};

TEST_F(ClearAndResetTest, ClearDBEmptiesEverythingAndZeroesEveryCounter) {
    ASSERT_GT(db->counters()[cGP].count, 0);
    db->setDBModified(true);
    ListLog playLog;
    db->playList().addObserver(&playLog);

    db->ClearDB();

    const StatCounters& c = db->counters();
    EXPECT_EQ(c.a.count, 0);
    EXPECT_EQ(c.a.sizeMB, 0.0);
    for (int k = 0; k < cCounterCount; ++k) {
        EXPECT_EQ(c.keys[k].count, 0) << k;
        EXPECT_EQ(c.keys[k].sizeMB, 0.0) << k;
    }
    EXPECT_TRUE(db->musicTree().empty());
    EXPECT_TRUE(db->folderTree().empty());
    for (ItemList* l : {&db->musicList(), &db->playList(), &db->blackList(), &db->favorites(), &db->justGood()})
        EXPECT_TRUE(l->empty());
    EXPECT_TRUE(db->dataList().empty());
    EXPECT_EQ(db->lastRecord(), nullptr);
    // The callers refresh the statistics and decide about DBModified.
    EXPECT_TRUE(db->DBModified());
    EXPECT_EQ(listener.statistics, 0);
    EXPECT_EQ(listener.cleared, 1);
    // The views hear one reset, not a removal per row.
    EXPECT_EQ(playLog.log, (std::vector<std::string>{"begin reset", "end reset"}));
    db->playList().removeObserver(&playLog);
}

TEST_F(ClearAndResetTest, ACollectionEnteredAfterClearDBIsCountedFromZero) {
    db->ClearDB();
    TreeNode* folder = addFolder(*db, addCD(*db, "Other", "OTHER"), "F");
    TDataRec* a = addSong(*db, folder, "a.mp3", 2 * 1048576);
    addSong(*db, folder, "b.mp3", 1048576, ssGoodPlayList);
    db->SetStatus(a, ssFavorites);

    const StatCounters& c = db->counters();
    EXPECT_EQ(c.a.count, 2);
    EXPECT_DOUBLE_EQ(c.a.sizeMB, 3.0);
    EXPECT_EQ(c[cP].count, 2);
    EXPECT_EQ(c[cGP].count, 1);
    EXPECT_EQ(c[cF].count, 1);
    EXPECT_EQ(c[cB].count, 0);
    expectDatabaseConsistent(*db);
}

TEST_F(ClearAndResetTest, ResetIconsMakesHeardAndPlaylistSongsUnheardAgain) {
    expectDatabaseConsistent(*db);
    ListItem* blackItem = songs[ssBlack]->BlackListItem;
    ListItem* favoriteInPlaylist = songs[ssFavorites]->PlayListItem;
    db->setDBModified(false);
    listener.statistics = 0;

    db->ResetIcons();

    const int expected[ssStoredCount] = {ssUnused,  ssUnused,     ssUnused,     ssBlack,
                                         ssFavorites, ssGoodUnused, ssGoodUnused, ssGoodUnused};
    for (int s = 0; s < ssStoredCount; ++s) EXPECT_EQ(MusicDatabase::statusOf(songs[s]), expected[s]) << s;
    // Black List, Favorites and Just Good unused songs keep their items.
    EXPECT_EQ(songs[ssBlack]->BlackListItem, blackItem);
    EXPECT_EQ(songs[ssFavorites]->PlayListItem, favoriteInPlaylist);
    EXPECT_EQ(recordsOf(db->playList()), std::vector<TDataRec*>{songs[ssFavorites]});
    EXPECT_EQ(recordsOf(db->justGood()),
              (std::vector<TDataRec*>{songs[ssGoodUnused], songs[ssGoodUsed], songs[ssGoodPlayList]}));
    EXPECT_EQ(db->counters()[cU].count, 1); // the Black List song
    EXPECT_EQ(db->counters()[cGN].count, 3);
    EXPECT_TRUE(db->DBModified());
    // One refresh of the statistics for the whole command.
    EXPECT_EQ(listener.statistics, 1);
    expectDatabaseConsistent(*db);
}

TEST_F(ClearAndResetTest, ResetIconsLeavesAnUnheardDatabaseUnmodified) {
    for (int s : {ssUsed, ssPlayList, ssGoodUsed, ssGoodPlayList}) db->SetStatus(songs[s], ssUnused);
    db->setDBModified(false);
    const StatCounters before = db->counters();
    db->ResetIcons();
    EXPECT_FALSE(db->DBModified());
    for (int k = 0; k < cCounterCount; ++k) EXPECT_EQ(db->counters().keys[k].count, before.keys[k].count);
}

} // namespace
} // namespace velmo
