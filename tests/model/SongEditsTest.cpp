// Removing songs, renaming nodes and finding nodes and songs by their path.
#include <algorithm>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ModelTestUtil.h"
#include "musicdb/RootFolders.h"

namespace velmo {
namespace {

using namespace velmo::test;

// The tree as indented lines "text [image]".
std::vector<std::string> dump(const Tree& tree) {
    std::vector<std::string> out;
    tree.forEach([&](TreeNode* n, int level) {
        out.push_back(std::string(static_cast<size_t>(level) * 2, ' ') + n->text() + " [" +
                      std::to_string(n->imageIndex()) + "]");
    });
    return out;
}

std::vector<std::string> captionsOf(const ItemList& list) {
    std::vector<std::string> out;
    for (ListItem* item = list.first(); item; item = list.next(item)) out.push_back(item->caption());
    return out;
}

std::string range(size_t first, size_t last) {
    return first == last ? std::to_string(first) : std::to_string(first) + "-" + std::to_string(last);
}

class ListLog : public ItemListObserver {
public:
    void beginInsert(size_t first, size_t last) override { log.push_back("insert " + range(first, last)); }
    void beginRemove(size_t first, size_t last) override { log.push_back("remove " + range(first, last)); }
    void itemChanged(size_t first, size_t last, ChangedRoles roles) override {
        log.push_back((roles == TextChanged ? "caption " : "icon ") + range(first, last));
    }
    void beginReset() override { log.push_back("reset"); }
    std::vector<std::string> log;
};

class TreeLog : public TreeObserver {
public:
    void beginInsert(TreeNode* parent, size_t first, size_t last) override {
        log.push_back("insert " + name(parent) + " " + range(first, last));
    }
    void beginRemove(TreeNode* parent, size_t first, size_t last) override {
        log.push_back("remove " + name(parent) + " " + range(first, last));
    }
    void beginMove(TreeNode* parent, size_t from, size_t to) override {
        log.push_back("move " + name(parent) + " " + std::to_string(from) + ">" + std::to_string(to));
    }
    void nodeChanged(TreeNode* node, ChangedRoles roles) override {
        log.push_back((roles == TextChanged ? "text " : "icon ") + node->text());
    }
    void beginReset() override { log.push_back("reset"); }
    static std::string name(const TreeNode* n) { return n ? n->text() : "(top)"; }
    std::vector<std::string> log;
};

class RemovalListener : public DatabaseListener {
public:
    void statisticsChanged() override { ++statistics; }
    void songsRemoving(const std::vector<const TDataRec*>& songs) override {
        ++calls;
        for (const TDataRec* rec : songs) captions.push_back(musicTreePath(rec->MusicNode));
    }
    int statistics = 0;
    int calls = 0;
    std::vector<std::string> captions;
};

// Every record is reachable from its node, and every node of the music tree has its record.
void expectRecordsMatchTree(MusicDatabase& db) {
    size_t nodes = 0;
    db.musicTree().forEach([&](TreeNode* n, int) {
        ++nodes;
        ASSERT_NE(n->data(), nullptr) << n->text();
        EXPECT_EQ(n->data()->MusicNode, n);
    });
    EXPECT_EQ(db.dataList().size(), nodes);
    for (size_t i = 0; i < db.dataList().size(); ++i) EXPECT_EQ(db.dataList()[i]->MusicNode->data(), db.dataList()[i].get());
}

// A CD with two albums, one of them a root folder, and a hard disk with one folder; songs of
// every status.
class SongEditsTest : public ::testing::Test {
protected:
    void SetUp() override {
        db = makeModelDatabase();
        cd = addCD(*db, "Mix", "MIX01");
        album = addFolder(*db, cd, "Album", iiFolderRoot);
        for (int s = 0; s < ssStoredCount; ++s)
            songs.push_back(addSong(*db, album, "s" + std::to_string(s) + ".mp3", (s + 1) * 1048576, s));
        other = addFolder(*db, cd, "Other", iiFolderRoot);
        lonely = addSong(*db, other, "lonely.mp3", 5 * 1048576, ssFavorites);
        disk = addContainer(*db, nullptr, "Drive <C> /Music/", iiHardDisk);
        pop = addFolder(*db, disk, "Pop", iiFolderRoot);
        hit = addSong(*db, pop, "hit.mp3", 3 * 1048576, ssGoodPlayList);
        RootFolders(*db).ReloadRootTree();
        db->setDBModified(false);
    }

    std::unique_ptr<MusicDatabase> db;
    TreeNode* cd = nullptr;
    TreeNode* album = nullptr;
    TreeNode* other = nullptr;
    TreeNode* disk = nullptr;
    TreeNode* pop = nullptr;
    std::vector<TDataRec*> songs;
    TDataRec* lonely = nullptr;
    TDataRec* hit = nullptr;
};

TEST_F(SongEditsTest, RemovedSongsLeaveCountersListsBothTreesAndEmptiedFolders) {
    const size_t records = db->dataList().size();
    RemovalListener listener;
    db->addListener(&listener);
    // Favorites, Black List and Just Good in the playlist, the only song of Other, and repeats.
    db->removeSongs({songs[ssFavorites], songs[ssBlack], lonely, songs[ssGoodPlayList], lonely, nullptr});
    db->removeListener(&listener);

    EXPECT_EQ(listener.calls, 1);
    EXPECT_EQ(listener.statistics, 1);
    EXPECT_EQ(listener.captions.size(), 4u);
    EXPECT_TRUE(db->DBModified());
    expectDatabaseConsistent(*db);
    expectRecordsMatchTree(*db);
    // Four songs and the emptied folder Other are gone.
    EXPECT_EQ(db->dataList().size(), records - 5);
    const StatCounters& c = db->counters();
    EXPECT_EQ(c.a.count, 6);
    EXPECT_DOUBLE_EQ(c.a.sizeMB, 1 + 2 + 3 + 6 + 7 + 3);
    EXPECT_EQ(c[cF].count, 0);
    EXPECT_EQ(c[cB].count, 0);
    EXPECT_EQ(c[cP].count, 2); // s2 and hit
    EXPECT_EQ(childTexts(db->musicTree(), cd), (std::vector<std::string>{"Album"}));
    EXPECT_EQ(childTexts(db->musicTree(), album),
              (std::vector<std::string>{"s0.mp3", "s1.mp3", "s2.mp3", "s5.mp3", "s6.mp3"}));
    EXPECT_EQ(dump(db->folderTree()),
              (std::vector<std::string>{"Album [4]", "  s0.mp3 [6]", "  s1.mp3 [7]", "  s2.mp3 [8]", "  s5.mp3 [11]",
                                        "  s6.mp3 [12]", "Pop [4]", "  hit.mp3 [13]"}));
}

TEST_F(SongEditsTest, RemovingTheLastSongsOfADiskRemovesTheDisk) {
    db->removeSongs({hit});
    EXPECT_EQ(childTexts(db->musicTree(), nullptr), (std::vector<std::string>{"Mix /MIX01/"}));
    EXPECT_EQ(childTexts(db->folderTree(), nullptr), (std::vector<std::string>{"Album", "Other"}));
    expectDatabaseConsistent(*db);
    expectRecordsMatchTree(*db);

    std::vector<TDataRec*> all;
    for (ListItem* item = db->musicList().first(); item; item = db->musicList().next(item)) all.push_back(item->data());
    db->removeSongs(all);
    EXPECT_TRUE(db->musicTree().empty());
    EXPECT_TRUE(db->folderTree().empty());
    EXPECT_TRUE(db->dataList().empty());
    for (ItemList* l : {&db->musicList(), &db->playList(), &db->blackList(), &db->favorites(), &db->justGood()})
        EXPECT_TRUE(l->empty());
    const StatCounters& c = db->counters();
    EXPECT_EQ(c.a.count, 0);
    EXPECT_NEAR(c.a.sizeMB, 0.0, 1e-9);
    for (int k = 0; k < cCounterCount; ++k) {
        EXPECT_EQ(c.keys[k].count, 0) << k;
        EXPECT_NEAR(c.keys[k].sizeMB, 0.0, 1e-9) << k;
    }
}

TEST_F(SongEditsTest, DisksFoldersAndRemovedRecordsAreNotSongsToRemove) {
    db->removeSongs({songs[0]});
    const size_t records = db->dataList().size();
    db->removeSongs({album->data(), disk->data()});
    EXPECT_EQ(db->dataList().size(), records);
    EXPECT_FALSE(db->findSong("Mix /MIX01/\\Album\\s0.mp3"));
    EXPECT_EQ(db->counters().a.count, 9);
}

TEST_F(SongEditsTest, ObservedRemovalReportsRunsOfRowsAndManySongsOneReset) {
    ListLog music;
    TreeLog tree;
    db->musicList().addObserver(&music);
    db->musicTree().addObserver(&tree);
    // Music List rows: s0..s7 are 0..7, lonely 8, hit 9.
    db->removeSongs({songs[1], songs[2], songs[3], songs[5]});
    // The songs first become used (icons of rows 2, 3 and 5), then leave in two runs.
    std::vector<std::string> removals;
    std::copy_if(music.log.begin(), music.log.end(), std::back_inserter(removals),
                 [](const std::string& e) { return e.rfind("remove", 0) == 0; });
    EXPECT_EQ(removals, (std::vector<std::string>{"remove 5", "remove 1-3"}));
    EXPECT_EQ(music.log.size(), 5u);
    EXPECT_EQ(std::count(tree.log.begin(), tree.log.end(), "remove Album 5"), 1);
    EXPECT_EQ(std::count(tree.log.begin(), tree.log.end(), "remove Album 1-3"), 1);

    music.log.clear();
    std::vector<TDataRec*> many;
    for (int i = 0; i < 2500; ++i) many.push_back(addSong(*db, other, "m" + std::to_string(i) + ".mp3", 1000));
    music.log.clear();
    db->removeSongs(many);
    EXPECT_EQ(music.log, (std::vector<std::string>{"reset"}));
    db->musicList().removeObserver(&music);
    db->musicTree().removeObserver(&tree);
    expectDatabaseConsistent(*db);
    expectRecordsMatchTree(*db);
    EXPECT_EQ(childTexts(db->musicTree(), other), (std::vector<std::string>{"lonely.mp3"}));
}

TEST_F(SongEditsTest, RenamedSongMovesToItsSortedPlaceInBothTreesAndItsCaptionsAreReported) {
    ListLog music, play;
    TreeLog tree, folders;
    db->musicList().addObserver(&music);
    db->playList().addObserver(&play);
    db->musicTree().addObserver(&tree);
    db->folderTree().addObserver(&folders);
    TDataRec* rec = songs[ssPlayList]; // row 2 of Album, in the Playlist
    db->renameNode(rec->MusicNode, "s9.mp3");
    db->musicList().removeObserver(&music);
    db->playList().removeObserver(&play);
    db->musicTree().removeObserver(&tree);
    db->folderTree().removeObserver(&folders);

    EXPECT_EQ(tree.log, (std::vector<std::string>{"text s9.mp3", "move Album 2>7"}));
    EXPECT_EQ(folders.log, (std::vector<std::string>{"text s9.mp3", "move Album 2>7"}));
    EXPECT_EQ(music.log, (std::vector<std::string>{"caption 2"}));
    EXPECT_EQ(play.log.size(), 1u);
    EXPECT_EQ(rec->MusicNode->row(), 7u);
    EXPECT_EQ(rec->MusicListItem->caption(), "Mix /MIX01/\\Album\\s9.mp3");
    EXPECT_EQ(rec->PlayListItem->caption(), "Mix /MIX01/\\Album\\s9.mp3");
    EXPECT_TRUE(db->DBModified());
    // The order is the one the find-or-insert keeps: it finds the node instead of adding one.
    EXPECT_EQ(db->TryToFindNode(album, db->musicTree(), true, rec->Size, imageOfStatus(ssPlayList), "s9.mp3"),
              rec->MusicNode);
    EXPECT_EQ(rec->FolderNode->row(), 7u);
}

TEST_F(SongEditsTest, RenamedFolderMovesAndEverySongBelowReadsTheNewPathInEveryList) {
    TreeNode* jazz = addFolder(*db, cd, "Jazz");
    addSong(*db, jazz, "j.mp3", 1000);
    ListLog music, favorites;
    TreeLog tree;
    db->musicList().addObserver(&music);
    db->favorites().addObserver(&favorites);
    db->musicTree().addObserver(&tree);
    db->renameNode(other, "Blues"); // Album, Jazz, Other -> Album, Blues, Jazz
    db->renameNode(album, "Zydeco"); // -> Blues, Jazz, Zydeco
    db->musicList().removeObserver(&music);
    db->favorites().removeObserver(&favorites);
    db->musicTree().removeObserver(&tree);

    EXPECT_EQ(childTexts(db->musicTree(), cd), (std::vector<std::string>{"Blues", "Jazz", "Zydeco"}));
    EXPECT_EQ(tree.log, (std::vector<std::string>{"text Blues", "move Mix /MIX01/ 2>1", "text Zydeco",
                                                  "move Mix /MIX01/ 0>2"}));
    // lonely is row 8 of the Music List; Album's songs are rows 0 to 7.
    EXPECT_EQ(music.log, (std::vector<std::string>{"caption 8", "caption 0-7"}));
    EXPECT_EQ(favorites.log, (std::vector<std::string>{"caption 1", "caption 0"}));
    EXPECT_EQ(lonely->FavoritesItem->caption(), "Mix /MIX01/\\Blues\\lonely.mp3");
    EXPECT_EQ(songs[ssFavorites]->FavoritesItem->caption(), "Mix /MIX01/\\Zydeco\\s4.mp3");
    // The Music List keeps its order; only the captions read anew.
    EXPECT_EQ(captionsOf(db->musicList()).front(), "Mix /MIX01/\\Zydeco\\s0.mp3");
    EXPECT_EQ(db->findNode(db->musicTree(), "Mix /MIX01/\\Zydeco\\s3.mp3"), songs[3]->MusicNode);
    EXPECT_EQ(db->findNode(db->musicTree(), "Mix /MIX01/\\Album\\s3.mp3"), nullptr);
}

TEST_F(SongEditsTest, RenamedHardDiskTakesItsPlaceByDriveLetter) {
    addContainer(*db, nullptr, "Drive <E> /Data/", iiHardDisk);
    EXPECT_EQ(childTexts(db->musicTree(), nullptr),
              (std::vector<std::string>{"Drive <C> /Music/", "Drive <E> /Data/", "Mix /MIX01/"}));
    db->renameNode(disk, "Drive <F> /Music/");
    EXPECT_EQ(childTexts(db->musicTree(), nullptr),
              (std::vector<std::string>{"Drive <E> /Data/", "Drive <F> /Music/", "Mix /MIX01/"}));
    EXPECT_EQ(hit->MusicListItem->caption(), "Drive <F> /Music/\\Pop\\hit.mp3");
    EXPECT_EQ(db->findSong("Drive <F> /Music/\\Pop\\hit.mp3"), hit);
}

TEST_F(SongEditsTest, LookupFindsDisksFoldersAndSongsAndMissesWhatIsNotThere) {
    MusicDatabase& d = *db;
    EXPECT_EQ(d.findNode(d.musicTree(), "Mix /MIX01/"), cd);
    EXPECT_EQ(d.findNode(d.musicTree(), "Drive <C> /Music/"), disk);
    EXPECT_EQ(d.findNode(d.musicTree(), "Drive <C> /Music/\\Pop"), pop);
    EXPECT_EQ(d.findSong("Drive <C> /Music/\\Pop\\hit.mp3"), hit);
    EXPECT_EQ(d.findSong("Mix /MIX01/\\Other\\lonely.mp3"), lonely);
    // Same drive letter, another label: the disk order treats them alike, the lookup does not.
    EXPECT_EQ(d.findNode(d.musicTree(), "Drive <C> /Other/"), nullptr);
    EXPECT_EQ(d.findNode(d.musicTree(), "Mix /MIX02/"), nullptr);
    EXPECT_EQ(d.findSong("Mix /MIX01/\\Album"), nullptr); // a folder is not a song
    EXPECT_EQ(d.findSong("Mix /MIX01/\\Album\\"), nullptr);
    EXPECT_EQ(d.findSong("Mix /MIX01/\\Album\\s0.mp3\\x"), nullptr);
    EXPECT_EQ(d.findSong("\\Album\\s0.mp3"), nullptr);
    EXPECT_EQ(d.findSong(""), nullptr);
    EXPECT_EQ(d.findSong("Album\\s0.mp3"), nullptr);
    // The folder tree has root folders at its top.
    EXPECT_EQ(d.findNode(d.folderTree(), "Album\\s0.mp3"), songs[0]->FolderNode);
    EXPECT_EQ(d.findNode(d.folderTree(), "Pop\\hit.mp3"), hit->FolderNode);
}

TEST_F(SongEditsTest, LookupTellsNamesApartThatDifferOnlyByCaseOrAccentsAndFindsEverySizeOfOneName) {
    const std::string nfc = "caf\xC3\xA9.mp3";   // é as one code point
    const std::string nfd = "cafe\xCC\x81.mp3";  // e + combining acute
    TreeNode* f = addFolder(*db, disk, "Mixed");
    std::vector<std::pair<std::string, TDataRec*>> made;
    for (const std::string& name : {std::string("abc.mp3"), std::string("ABC.mp3"), std::string("\xC3\xA1" "bc.mp3"),
                                    std::string("Abc.mp3"), nfc, nfd, std::string("cafe.mp3")})
        made.emplace_back(name, addSong(*db, f, name, 1000));
    for (const auto& [name, rec] : made) EXPECT_EQ(db->findSong("Drive <C> /Music/\\Mixed\\" + name), rec) << name;
    EXPECT_EQ(db->findSong("Drive <C> /Music/\\Mixed\\aBc.mp3"), nullptr);
    EXPECT_EQ(db->findSong("Drive <C> /Music/\\mixed\\abc.mp3"), nullptr);

    TDataRec* small = addSong(*db, f, "twice.mp3", 100);
    TDataRec* large = addSong(*db, f, "twice.mp3", 900);
    EXPECT_EQ(db->findSongs("Drive <C> /Music/\\Mixed\\twice.mp3"), (std::vector<TDataRec*>{large, small}));
    EXPECT_EQ(db->findSong("Drive <C> /Music/\\Mixed\\twice.mp3"), large);
}

// Every caption of a large random collection is found, the lookup agrees with a linear scan,
// and after random renames it still does.
TEST(SongLookup, FindsEveryCaptionOfARandomCollectionBeforeAndAfterRenames) {
    auto db = makeModelDatabase();
    std::mt19937 rng(7);
    const std::vector<std::string> pieces = {"a", "A", "\xC3\xA1", "b", "B", "e\xCC\x81", "\xC3\xA9", "z", " ", "1"};
    auto name = [&](size_t length) {
        std::string s;
        for (size_t i = 0; i < length; ++i) s += pieces[rng() % pieces.size()];
        return s;
    };
    std::vector<TreeNode*> containers;
    for (int d = 0; d < 3; ++d) containers.push_back(addCD(*db, name(2), name(3)));
    containers.push_back(addContainer(*db, nullptr, "Drive <" + std::string(1, char('C' + rng() % 3)) + "> /x/", iiHardDisk));
    for (int i = 0; i < 60; ++i)
        containers.push_back(addFolder(*db, containers[rng() % containers.size()], name(1 + rng() % 3)));
    for (int i = 0; i < 600; ++i)
        addSong(*db, containers[rng() % containers.size()], name(1 + rng() % 3) + ".mp3", int32_t(rng() % 3) * 100);

    auto check = [&]() {
        for (ListItem* item = db->musicList().first(); item; item = db->musicList().next(item)) {
            const std::string caption = item->caption();
            std::vector<TDataRec*> expected;
            for (ListItem* i = db->musicList().first(); i; i = db->musicList().next(i))
                if (i->caption() == caption) expected.push_back(i->data());
            std::vector<TDataRec*> found = db->findSongs(caption);
            std::sort(expected.begin(), expected.end());
            std::sort(found.begin(), found.end());
            ASSERT_EQ(found, expected) << caption;
        }
    };
    check();
    std::vector<TreeNode*> nodes;
    db->musicTree().forEach([&](TreeNode* n, int) { nodes.push_back(n); });
    for (int i = 0; i < 150; ++i) {
        TreeNode* n = nodes[rng() % nodes.size()];
        if (!n->parent()) continue; // disk texts carry their drive letter
        db->renameNode(n, name(1 + rng() % 3) + (isSongImage(n->imageIndex()) ? ".mp3" : ""));
    }
    check();
}

} // namespace
} // namespace velmo
