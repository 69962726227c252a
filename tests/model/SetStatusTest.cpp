#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ModelTestUtil.h"
#include "support/RecordingListener.h"

namespace velmo {
namespace {

using namespace velmo::test;

constexpr int32_t kMB = 1048576;

class SetStatusTest : public ::testing::Test {
protected:
    void SetUp() override {
        db = makeModelDatabase();
        folder = addFolder(*db, addCD(*db, "Mix", "MIX01"), "Album");
        db->addListener(&listener);
    }
    void TearDown() override { db->removeListener(&listener); }

    // Replaces the random numbers; the returned source records the bounds asked for.
    ScriptedRandom* script(std::vector<uint32_t> values) {
        auto r = std::make_unique<ScriptedRandom>(std::move(values));
        ScriptedRandom* raw = r.get();
        db->setRandom(std::move(r));
        return raw;
    }
    TDataRec* song(const std::string& name, int32_t size = 3 * kMB, int status = ssUnused) {
        return addSong(*db, folder, name, size, status);
    }

    CountingListener listener;
    std::unique_ptr<MusicDatabase> db;
    TreeNode* folder = nullptr;
};

TEST_F(SetStatusTest, FavoritesOnAnUnusedSongRaisesPlaylistAndFavoritesButNotUnheard) {
    TDataRec* rec = song("a.mp3", 3 * kMB);
    ASSERT_EQ(db->counters()[cN].count, 1);
    EXPECT_FALSE(db->DBModified());

    db->SetStatus(rec, ssFavorites);

    const StatCounters& c = db->counters();
    EXPECT_EQ(c[cN].count, 1);
    EXPECT_DOUBLE_EQ(c[cN].sizeMB, 3.0);
    EXPECT_EQ(c[cU].count, 0);
    EXPECT_EQ(c[cP].count, 1);
    EXPECT_DOUBLE_EQ(c[cP].sizeMB, 3.0);
    EXPECT_EQ(c[cF].count, 1);
    EXPECT_DOUBLE_EQ(c[cF].sizeMB, 3.0);
    EXPECT_EQ(c.a.count, 1);
    EXPECT_EQ(recordsOf(db->playList()), std::vector<TDataRec*>{rec});
    EXPECT_EQ(recordsOf(db->favorites()), std::vector<TDataRec*>{rec});
    EXPECT_TRUE(db->blackList().empty());
    EXPECT_TRUE(db->justGood().empty());
    EXPECT_EQ(rec->MusicNode->imageIndex(), 10);
    EXPECT_EQ(rec->MusicListItem->imageIndex(), 10);
    EXPECT_EQ(rec->PlayListItem->imageIndex(), 10);
    EXPECT_EQ(rec->FavoritesItem->imageIndex(), 10);
    EXPECT_EQ(rec->PlayListItem->caption(), "Mix /MIX01/\\Album\\a.mp3");
    EXPECT_EQ(rec->FavoritesItem->caption(), rec->MusicListItem->caption());
    EXPECT_TRUE(db->DBModified());
    expectDatabaseConsistent(*db);
}

TEST_F(SetStatusTest, GoodPlaylistToBlackMovesTheSongIntoTheHeardCounters) {
    TDataRec* earlier = song("a.mp3", kMB, ssBlack);
    TDataRec* rec = song("b.mp3", 2 * kMB, ssGoodPlayList);
    const StatCounters before = db->counters();

    db->SetStatus(rec, ssBlack);

    const StatCounters& c = db->counters();
    EXPECT_EQ(c[cU].count, before[cU].count + 1);
    EXPECT_EQ(c[cB].count, before[cB].count + 1);
    EXPECT_EQ(c[cP].count, before[cP].count - 1);
    EXPECT_EQ(c[cGP].count, before[cGP].count - 1);
    EXPECT_EQ(c[cG].count, before[cG].count - 1);
    EXPECT_EQ(c[cN].count, before[cN].count);
    EXPECT_DOUBLE_EQ(c[cU].sizeMB, before[cU].sizeMB + 2.0);
    EXPECT_DOUBLE_EQ(c[cGP].sizeMB, 0.0);
    EXPECT_EQ(rec->PlayListItem, nullptr);
    EXPECT_EQ(rec->JustGoodItem, nullptr);
    EXPECT_TRUE(db->playList().empty());
    EXPECT_TRUE(db->justGood().empty());
    // The Black List grows at its end.
    EXPECT_EQ(recordsOf(db->blackList()), (std::vector<TDataRec*>{earlier, rec}));
    EXPECT_EQ(rec->BlackListItem->imageIndex(), 9);
    expectDatabaseConsistent(*db);
}

TEST_F(SetStatusTest, JustGoodCommandPicksTheJustGoodStateMatchingTheCurrentOne) {
    const std::map<int, int> expected = {
        {ssUnused, ssGoodUnused},       {ssUsed, ssGoodUsed},         {ssPlayList, ssGoodPlayList},
        {ssBlack, ssGoodUnused},        {ssFavorites, ssGoodPlayList}, {ssGoodUnused, ssGoodUnused},
        {ssGoodUsed, ssGoodUsed},       {ssGoodPlayList, ssGoodPlayList}};
    for (auto [from, to] : expected) {
        SCOPED_TRACE("from status " + std::to_string(from));
        TDataRec* rec = song("s" + std::to_string(from) + ".mp3", kMB, from);
        db->setDBModified(false);
        ListItem* playItem = rec->PlayListItem;

        db->SetStatus(rec, ssJustGood);

        EXPECT_EQ(MusicDatabase::statusOf(rec), to);
        EXPECT_EQ(rec->MusicNode->imageIndex(), imageOfStatus(to));
        EXPECT_EQ(rec->BlackListItem, nullptr);
        EXPECT_EQ(rec->FavoritesItem, nullptr);
        EXPECT_NE(rec->JustGoodItem, nullptr);
        // A song that stays in p keeps its Playlist item.
        if (to == ssGoodPlayList) {
            EXPECT_EQ(rec->PlayListItem, playItem);
        }
        EXPECT_EQ(db->DBModified(), from != to);
    }
    expectDatabaseConsistent(*db);
}

TEST_F(SetStatusTest, JustGoodCommandOnAJustGoodSongChangesNothing) {
    TDataRec* rec = song("a.mp3", kMB, ssGoodUsed);
    db->setDBModified(false);
    const StatCounters before = db->counters();
    ListItem* item = rec->JustGoodItem;

    db->SetStatus(rec, ssJustGood);

    EXPECT_EQ(MusicDatabase::statusOf(rec), ssGoodUsed);
    EXPECT_EQ(rec->JustGoodItem, item);
    EXPECT_EQ(db->justGood().size(), 1u);
    for (int k = 0; k < cCounterCount; ++k) EXPECT_EQ(db->counters().keys[k].count, before.keys[k].count);
    EXPECT_FALSE(db->DBModified());
}

TEST_F(SetStatusTest, SettingTheCurrentStatusChangesNoCounterOrListAndLeavesDBModifiedClear) {
    for (int s = 0; s < ssStoredCount; ++s) {
        SCOPED_TRACE("status " + std::to_string(s));
        TDataRec* rec = song("s" + std::to_string(s) + ".mp3", kMB, s);
        db->setDBModified(false);
        const StatCounters before = db->counters();
        const auto play = recordsOf(db->playList()), black = recordsOf(db->blackList()),
                   fav = recordsOf(db->favorites()), good = recordsOf(db->justGood());
        ListItem* const items[] = {rec->PlayListItem, rec->BlackListItem, rec->FavoritesItem, rec->JustGoodItem};
        const int notified = listener.statistics;

        db->SetStatus(rec, s);

        for (int k = 0; k < cCounterCount; ++k) {
            EXPECT_EQ(db->counters().keys[k].count, before.keys[k].count);
            EXPECT_DOUBLE_EQ(db->counters().keys[k].sizeMB, before.keys[k].sizeMB);
        }
        EXPECT_EQ(recordsOf(db->playList()), play);
        EXPECT_EQ(recordsOf(db->blackList()), black);
        EXPECT_EQ(recordsOf(db->favorites()), fav);
        EXPECT_EQ(recordsOf(db->justGood()), good);
        EXPECT_EQ(rec->PlayListItem, items[0]);
        EXPECT_EQ(rec->BlackListItem, items[1]);
        EXPECT_EQ(rec->FavoritesItem, items[2]);
        EXPECT_EQ(rec->JustGoodItem, items[3]);
        EXPECT_FALSE(db->DBModified());
        // The statistics line is still refreshed.
        EXPECT_EQ(listener.statistics, notified + 1);
    }
}

TEST_F(SetStatusTest, PlaylistAndJustGoodPlaylistShareOnePlaylistPlace) {
    script({0, 5, 5});
    TDataRec* a = song("a.mp3", kMB, ssPlayList);
    TDataRec* b = song("b.mp3", kMB, ssPlayList);
    TDataRec* c = song("c.mp3", kMB, ssPlayList);
    ASSERT_EQ(recordsOf(db->playList()), (std::vector<TDataRec*>{a, b, c}));
    ListItem* item = b->PlayListItem;

    db->SetStatus(b, ssGoodPlayList);
    EXPECT_EQ(b->PlayListItem, item);
    EXPECT_EQ(item->imageIndex(), 13);
    EXPECT_EQ(recordsOf(db->playList()), (std::vector<TDataRec*>{a, b, c}));
    EXPECT_EQ(recordsOf(db->justGood()), std::vector<TDataRec*>{b});

    db->SetStatus(b, ssPlayList);
    EXPECT_EQ(b->PlayListItem, item);
    EXPECT_EQ(item->imageIndex(), 8);
    EXPECT_EQ(recordsOf(db->playList()), (std::vector<TDataRec*>{a, b, c}));
    EXPECT_TRUE(db->justGood().empty());
    expectDatabaseConsistent(*db);
}

TEST_F(SetStatusTest, NewPlaylistItemGoesToTheDrawnPlaceAndPlacesPastTheEndAppend) {
    std::vector<TDataRec*> s;
    for (char ch = 'a'; ch <= 'f'; ++ch) s.push_back(song(std::string(1, ch) + ".mp3"));
    // Draws: a into the empty list; b before a; c between b and a; d far past the end;
    // e exactly at the end; f (a favourite) at the front.
    ScriptedRandom* random = script({0, 0, 1, 5, 4, 0});

    db->SetStatus(s[0], ssPlayList);
    db->SetStatus(s[1], ssPlayList);
    db->SetStatus(s[2], ssGoodPlayList);
    db->SetStatus(s[3], ssPlayList);
    db->SetStatus(s[4], ssPlayList);
    db->SetStatus(s[5], ssFavorites);

    EXPECT_EQ(recordsOf(db->playList()), (std::vector<TDataRec*>{s[5], s[1], s[2], s[0], s[3], s[4]}));
    // The bound is count p + 2, where count p already includes the song being placed.
    EXPECT_EQ(random->bounds, (std::vector<uint32_t>{3, 4, 5, 6, 7, 8}));
    expectDatabaseConsistent(*db);
}

TEST_F(SetStatusTest, OnlyThePlaylistDrawsAPlace) {
    TDataRec* a = song("a.mp3");
    TDataRec* b = song("b.mp3");
    ScriptedRandom* random = script({});
    db->SetStatus(a, ssBlack);
    db->SetStatus(b, ssGoodUsed);
    db->SetStatus(a, ssUsed);
    EXPECT_TRUE(random->bounds.empty());
}

TEST_F(SetStatusTest, LastPlaylistPlaceIsThreeTimesAsLikelyAsEachOther) {
    db->setRandom(std::make_unique<Mt19937Random>(20240611));
    constexpr int kItems = 4;
    for (int i = 0; i < kItems; ++i) song("p" + std::to_string(i) + ".mp3", kMB, ssPlayList);
    TDataRec* probe = song("probe.mp3");
    const std::vector<TDataRec*> others = recordsOf(db->playList());

    constexpr int kTrials = 70000;
    std::vector<int> hits(kItems + 1, 0);
    for (int t = 0; t < kTrials; ++t) {
        db->SetStatus(probe, ssPlayList);
        ++hits[db->playList().indexOf(probe->PlayListItem)];
        db->SetStatus(probe, ssUnused);
    }
    // The other songs keep their order through all the insertions and removals.
    EXPECT_EQ(recordsOf(db->playList()), others);

    // k + 3 equally likely draws: one for each inner place, three for the end.
    const double unit = static_cast<double>(kTrials) / (kItems + 3);
    for (int i = 0; i < kItems; ++i) EXPECT_NEAR(hits[i], unit, unit * 0.05) << "place " << i;
    EXPECT_NEAR(hits[kItems], 3 * unit, 3 * unit * 0.05);
}

TEST_F(SetStatusTest, CountersAndListsStayMirroredThroughRandomStatusChanges) {
    db->setRandom(std::make_unique<Mt19937Random>(7));
    std::vector<TDataRec*> songs;
    for (int i = 0; i < 40; ++i) songs.push_back(song("t" + std::to_string(i) + ".mp3", (i * 7919) % (9 * kMB) + 1));
    Mt19937Random pick(99);
    for (int step = 0; step < 3000; ++step) {
        TDataRec* rec = songs[pick.below(static_cast<uint32_t>(songs.size()))];
        db->SetStatus(rec, static_cast<int>(pick.below(9)));
        if (step % 250 == 0) {
            SCOPED_TRACE("step " + std::to_string(step));
            expectDatabaseConsistent(*db);
            if (HasFatalFailure()) return;
        }
    }
    expectDatabaseConsistent(*db);
    const StatCounters& c = db->counters();
    EXPECT_EQ(c[cN].count + c[cU].count + c[cP].count - c[cF].count, c.a.count);
    EXPECT_EQ(c[cGN].count + c[cGU].count + c[cGP].count, c[cG].count);
}

TEST_F(SetStatusTest, IconsFollowTheStatusInBothTrees) {
    TDataRec* rec = song("a.mp3");
    TreeNode* root = db->folderTree().append(nullptr, "Album", iiFolderRoot);
    TreeNode* node = db->folderTree().append(root, "a.mp3", imageOfStatus(ssUnused));
    node->setData(rec);
    rec->FolderNode = node;

    db->SetStatus(rec, ssGoodUsed);
    EXPECT_EQ(node->imageIndex(), 12);
    EXPECT_EQ(rec->MusicNode->imageIndex(), 12);
    EXPECT_EQ(root->imageIndex(), iiFolderRoot);
    EXPECT_EQ(folder->imageIndex(), iiFolder);
    db->SetStatus(rec, ssBlack);
    EXPECT_EQ(node->imageIndex(), 9);
    expectDatabaseConsistent(*db);
}

TEST_F(SetStatusTest, CaptionsFollowARenameInTheMusicTree) {
    TDataRec* rec = song("a.mp3", kMB, ssFavorites);
    db->musicTree().setText(folder, "Album (1999)");
    EXPECT_EQ(rec->MusicListItem->caption(), "Mix /MIX01/\\Album (1999)\\a.mp3");
    EXPECT_EQ(rec->PlayListItem->caption(), rec->MusicListItem->caption());
    EXPECT_EQ(rec->FavoritesItem->caption(), rec->MusicListItem->caption());
}

TEST_F(SetStatusTest, BulkUpdateRefreshesTheStatisticsOnceAtTheEnd) {
    std::vector<TDataRec*> songs;
    for (int i = 0; i < 5; ++i) songs.push_back(song("b" + std::to_string(i) + ".mp3"));
    const int before = listener.statistics;
    {
        BulkUpdate bulk(*db);
        for (TDataRec* rec : songs) db->SetStatus(rec, ssUsed);
        EXPECT_EQ(listener.statistics, before);
    }
    EXPECT_EQ(listener.statistics, before + 1);
    db->SetStatus(songs[0], ssBlack);
    EXPECT_EQ(listener.statistics, before + 2);
}

} // namespace
} // namespace velmo
