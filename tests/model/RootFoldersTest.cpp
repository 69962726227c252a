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

class RootFoldersTest : public ::testing::Test {
protected:
    void SetUp() override { db = makeModelDatabase(); }

    TreeNode* cd(const std::string& description, const std::string& label, uint8_t image = iiCDDisk) {
        return addCD(*db, description, label, image);
    }
    TreeNode* folder(TreeNode* parent, const std::string& name, uint8_t image = iiFolder) {
        return addFolder(*db, parent, name, image);
    }
    TDataRec* song(TreeNode* parent, const std::string& name, int32_t size = 1000, int status = ssUnused) {
        return addSong(*db, parent, name, size, status);
    }
    // Every song is linked both ways with exactly one folder-tree node of its own image.
    void expectEverySongLinked() {
        size_t linked = 0;
        for (ListItem* item = db->musicList().first(); item; item = db->musicList().next(item)) {
            TDataRec* rec = item->data();
            ASSERT_NE(rec->FolderNode, nullptr) << item->caption();
            EXPECT_EQ(rec->FolderNode->data(), rec);
            EXPECT_EQ(rec->FolderNode->imageIndex(), rec->MusicNode->imageIndex());
            EXPECT_EQ(rec->FolderNode->text(), rec->MusicNode->text());
            ++linked;
        }
        size_t songNodes = 0;
        db->folderTree().forEach([&](TreeNode* n, int) {
            if (isSongImage(n->imageIndex())) {
                ++songNodes;
                ASSERT_NE(n->data(), nullptr);
                EXPECT_EQ(n->data()->FolderNode, n);
            } else {
                EXPECT_EQ(n->data(), nullptr);
            }
        });
        EXPECT_EQ(songNodes, linked);
    }

    std::unique_ptr<MusicDatabase> db;
};

TEST_F(RootFoldersTest, RootsOfTheSameNameOnTwoCDsFallTogether) {
    TreeNode* one = cd("One", "ONE");
    TreeNode* jazz1 = folder(one, "Jazz", iiFolderRoot);
    song(folder(jazz1, "Live"), "a.mp3");
    song(jazz1, "j1.mp3");
    TreeNode* two = cd("Two", "TWO");
    TreeNode* jazz2 = folder(two, "Jazz", iiFolderRoot);
    song(folder(jazz2, "Live"), "b.mp3", 1000, ssUsed);
    song(jazz2, "j2.mp3");
    song(folder(two, "Rock", iiFolderRoot), "r.mp3");

    RootFolders roots(*db);
    db->setDBModified(false);
    roots.ReRoot(one);
    roots.ReRoot(two);

    EXPECT_EQ(dump(db->folderTree()), (std::vector<std::string>{
                                          "Jazz [4]",
                                          "  Live [5]",
                                          "    a.mp3 [6]",
                                          "    b.mp3 [7]",
                                          "  j1.mp3 [6]",
                                          "  j2.mp3 [6]",
                                          "Rock [4]",
                                          "  r.mp3 [6]",
                                      }));
    expectEverySongLinked();
    EXPECT_TRUE(db->DBModified());
    EXPECT_TRUE(db->DiskAdded);
    // A second pass finds every song placed already.
    roots.ReRoot(one);
    roots.ReRoot(two);
    EXPECT_EQ(dump(db->folderTree()).size(), 8u);
}

TEST_F(RootFoldersTest, SameNamedSongsOfTwoDisksKeepANodeEachInTheMergedRoot) {
    TreeNode* one = cd("One", "ONE");
    TDataRec* a1 = song(folder(one, "Jazz", iiFolderRoot), "same.mp3", 5000);
    TDataRec* e1 = song(one->child(0), "empty.mp3", 0);
    TreeNode* two = cd("Two", "TWO");
    TDataRec* a2 = song(folder(two, "Jazz", iiFolderRoot), "same.mp3", 5000);
    TDataRec* e2 = song(two->child(0), "empty.mp3", 0);

    RootFolders roots(*db);
    roots.ReloadRootTree();

    TreeNode* jazz = db->folderTree().topLevel(0);
    EXPECT_EQ(childTexts(db->folderTree(), jazz),
              (std::vector<std::string>{"empty.mp3", "empty.mp3", "same.mp3", "same.mp3"}));
    EXPECT_NE(a1->FolderNode, a2->FolderNode);
    EXPECT_NE(e1->FolderNode, e2->FolderNode);
    expectEverySongLinked();
}

TEST_F(RootFoldersTest, MarkingADiskClearsTheMarksBelowAndNamesTheEntryAfterTheDescription) {
    TreeNode* disk = cd("Summer Mix", "SUMMER01");
    TreeNode* a = folder(disk, "A", iiFolderRoot);
    song(a, "1.mp3");
    TreeNode* b = folder(disk, "B");
    TreeNode* c = folder(b, "C", iiFolderRoot);
    TDataRec* s = song(c, "2.mp3", 1000, ssBlack);
    RootFolders roots(*db);
    roots.ReloadRootTree();
    ASSERT_EQ(childTexts(db->folderTree(), nullptr), (std::vector<std::string>{"A", "C"}));

    db->musicTree().setImageIndex(disk, iiCDDiskRoot);
    roots.ResetRoots(disk);
    EXPECT_EQ(disk->imageIndex(), iiCDDiskRoot);
    EXPECT_EQ(a->imageIndex(), iiFolder);
    EXPECT_EQ(b->imageIndex(), iiFolder);
    EXPECT_EQ(c->imageIndex(), iiFolder);
    EXPECT_EQ(s->MusicNode->imageIndex(), 9);

    roots.ReloadRootTree();
    EXPECT_EQ(dump(db->folderTree()), (std::vector<std::string>{
                                          "Summer Mix [4]",
                                          "  A [5]",
                                          "    1.mp3 [6]",
                                          "  B [5]",
                                          "    C [5]",
                                          "      2.mp3 [9]",
                                      }));
    EXPECT_EQ(disk->imageIndex(), iiCDDiskRoot);
    expectEverySongLinked();
}

TEST_F(RootFoldersTest, RootAndSimpleButtonsChangeOnlyMarksTheyMayAndReportIt) {
    TreeNode* disk = cd("Summer Mix", "SUMMER01");
    TreeNode* a = folder(disk, "A", iiFolderRoot);
    TDataRec* s = song(a, "1.mp3");
    TreeNode* b = folder(disk, "B");
    RootFolders roots(*db);
    db->setDBModified(false);

    // Songs and nodes that already carry the mark are left alone.
    EXPECT_FALSE(roots.ButtonRootClick({s->MusicNode, a}));
    EXPECT_FALSE(db->DBModified());
    // Marking the disk clears the marks below it.
    EXPECT_TRUE(roots.ButtonRootClick({disk, b}));
    EXPECT_EQ(disk->imageIndex(), iiCDDiskRoot);
    EXPECT_EQ(a->imageIndex(), iiFolder);
    EXPECT_EQ(b->imageIndex(), iiFolderRoot);
    EXPECT_TRUE(db->DBModified());

    EXPECT_FALSE(roots.ButtonSimpleClick({a, s->MusicNode}));
    EXPECT_TRUE(roots.ButtonSimpleClick({disk, b}));
    EXPECT_EQ(disk->imageIndex(), iiCDDisk);
    EXPECT_EQ(b->imageIndex(), iiFolder);
    EXPECT_EQ(s->MusicNode->imageIndex(), imageOfStatus(ssUnused));
}

TEST_F(RootFoldersTest, DiskRootNamesDropTheLabel) {
    TreeNode* hd = addContainer(*db, nullptr, "Drive <C> /SYSTEM/", iiHardDiskRoot);
    song(hd, "h.mp3");
    TreeNode* noLabel = cd("Party", "", iiCDDiskRoot);
    song(noLabel, "p.mp3");
    RootFolders roots(*db);
    roots.ReloadRootTree();
    EXPECT_EQ(childTexts(db->folderTree(), nullptr), (std::vector<std::string>{"Drive <C>", "Party"}));
    EXPECT_EQ(db->folderTree().topLevel(0)->imageIndex(), iiFolderRoot);
}

TEST_F(RootFoldersTest, UnmarkedFoldersHoldingSongsBecomeRoots) {
    TreeNode* disk = cd("Disk", "D1");
    TreeNode* direct = folder(disk, "Direct");
    song(direct, "d.mp3");
    TreeNode* outer = folder(disk, "Outer");
    TreeNode* h = folder(outer, "H");
    song(h, "h.mp3");
    TreeNode* i = folder(outer, "I");
    TreeNode* j = folder(i, "J");
    song(j, "j.mp3");
    TreeNode* deeper = folder(j, "Deeper");
    song(deeper, "x.mp3");

    RootFolders roots(*db);
    roots.ReloadRootTree();

    EXPECT_EQ(disk->imageIndex(), iiCDDisk);
    EXPECT_EQ(direct->imageIndex(), iiFolderRoot);
    EXPECT_EQ(outer->imageIndex(), iiFolder);
    EXPECT_EQ(h->imageIndex(), iiFolderRoot);
    EXPECT_EQ(i->imageIndex(), iiFolder);
    EXPECT_EQ(j->imageIndex(), iiFolderRoot);
    // Below a root, folders keep no mark of their own.
    EXPECT_EQ(deeper->imageIndex(), iiFolder);
    EXPECT_EQ(dump(db->folderTree()), (std::vector<std::string>{
                                          "Direct [4]",
                                          "  d.mp3 [6]",
                                          "H [4]",
                                          "  h.mp3 [6]",
                                          "J [4]",
                                          "  Deeper [5]",
                                          "    x.mp3 [6]",
                                          "  j.mp3 [6]",
                                      }));
    expectEverySongLinked();
}

TEST_F(RootFoldersTest, ARootWithAllItsSongsInNestedRootsLosesItsMark) {
    TreeNode* disk = cd("Disk", "D1", iiCDDiskRoot);
    TreeNode* r = folder(disk, "R", iiFolderRoot);
    song(folder(r, "S1", iiFolderRoot), "1.mp3");
    song(folder(r, "S2", iiFolderRoot), "2.mp3");
    folder(r, "Empty");

    RootFolders roots(*db);
    roots.ReloadRootTree();

    EXPECT_EQ(disk->imageIndex(), iiCDDisk);
    EXPECT_EQ(r->imageIndex(), iiFolder);
    EXPECT_EQ(dump(db->folderTree()),
              (std::vector<std::string>{"S1 [4]", "  1.mp3 [6]", "S2 [4]", "  2.mp3 [6]"}));
    expectEverySongLinked();
}

TEST_F(RootFoldersTest, ReloadRebuildsTheSameTreeAndFollowsRenames) {
    TreeNode* one = cd("One", "ONE");
    TreeNode* pop = folder(one, "Pop", iiFolderRoot);
    song(pop, "a.mp3", 1000, ssFavorites);
    song(folder(pop, "Sub"), "b.mp3");
    TreeNode* two = cd("Two", "TWO");
    song(folder(two, "Alpha"), "c.mp3", 1000, ssGoodUsed);

    RootFolders roots(*db);
    roots.ReloadRootTree();
    const auto first = dump(db->folderTree());
    EXPECT_EQ(first, (std::vector<std::string>{"Alpha [4]", "  c.mp3 [12]", "Pop [4]", "  Sub [5]", "    b.mp3 [6]",
                                               "  a.mp3 [10]"}));
    roots.ReloadRootTree();
    EXPECT_EQ(dump(db->folderTree()), first);
    expectEverySongLinked();

    db->musicTree().setText(pop, "Zydeco");
    roots.ReloadRootTree();
    EXPECT_EQ(childTexts(db->folderTree(), nullptr), (std::vector<std::string>{"Alpha", "Zydeco"}));
    expectEverySongLinked();
}

TEST_F(RootFoldersTest, FollowingARenameGivesTheTreeARebuildGives) {
    // Same-named roots on several disks, songs of one name in one merged folder (told apart by
    // their status and disk), a marked disk and a root below an unmarked folder.
    TreeNode* alpha = cd("Alpha", "A1");
    TreeNode* jazzA = folder(alpha, "Jazz", iiFolderRoot);
    TreeNode* liveA = folder(jazzA, "Live");
    song(liveA, "same.mp3");
    TDataRec* x = song(liveA, "x.mp3");
    song(jazzA, "same.mp3", 1000, ssUsed);
    TreeNode* beta = cd("Beta", "B1");
    TreeNode* jazzB = folder(beta, "Jazz", iiFolderRoot);
    TreeNode* liveB = folder(jazzB, "Live");
    song(liveB, "same.mp3", 1000, ssBlack);
    song(jazzB, "same.mp3", 1000, ssFavorites);
    song(folder(folder(beta, "Rock", iiFolderRoot), "Live"), "r.mp3", 1000, ssGoodUsed);
    TreeNode* gamma = cd("Gamma", "G1", iiCDDiskRoot);
    song(folder(gamma, "Live"), "same.mp3", 1000, ssJustGood);
    TreeNode* outer = folder(cd("Delta", "D1"), "Outer");
    song(folder(outer, "Jazz", iiFolderRoot), "same.mp3", 1000, ssGoodUsed);

    // Each song with the disk it comes from, so that the order of same-named songs shows.
    auto dumpWithDisks = [this] {
        std::vector<std::string> out = dump(db->folderTree());
        size_t i = 0;
        db->folderTree().forEach([&](TreeNode* n, int) {
            TreeNode* top = n->data() ? n->data()->MusicNode : nullptr;
            while (top && top->parent()) top = top->parent();
            if (top) out[i] += " " + top->text();
            ++i;
        });
        return out;
    };
    RootFolders roots(*db);
    roots.ReloadRootTree();
    const struct {
        TreeNode* node;
        const char* text;
    } renames[] = {
        {beta, "Zeta /B1/"},      // a disk: its songs now come after the others of their name
        {jazzA, "Rock"},          // a root joins another merged root
        {liveB, "Studio"},        // a folder inside a root
        {gamma, "Aardvark /G1/"}, // a marked disk: its entry is renamed and moves
        {outer, "Aaa"},           // an unmarked folder above a root
        {x->MusicNode, "r.mp3"},  // a song joins another of its name
        {jazzA, "Jazz"},          // and back: the emptied entry goes
    };
    for (const auto& r : renames) {
        db->renameNode(r.node, r.text);
        roots.FollowRename(r.node);
        const auto followed = dumpWithDisks();
        expectEverySongLinked();
        roots.ReloadRootTree();
        EXPECT_EQ(followed, dumpWithDisks()) << "after renaming to " << r.text;
    }
    EXPECT_EQ(childTexts(db->folderTree(), nullptr), (std::vector<std::string>{"Aardvark", "Jazz", "Rock"}));
}

TEST_F(RootFoldersTest, FolderTreeIconsFollowStatusChanges) {
    TDataRec* rec = song(folder(cd("One", "ONE"), "Pop", iiFolderRoot), "a.mp3");
    RootFolders(*db).ReloadRootTree();
    ASSERT_NE(rec->FolderNode, nullptr);
    db->SetStatus(rec, ssGoodPlayList);
    EXPECT_EQ(rec->FolderNode->imageIndex(), 13);
    db->SetStatus(rec, ssJustGood);
    EXPECT_EQ(rec->FolderNode->imageIndex(), 13);
    db->SetStatus(rec, ssUsed);
    EXPECT_EQ(rec->FolderNode->imageIndex(), 7);
}

TEST_F(RootFoldersTest, ReloadIsOneResetForTheViews) {
    song(folder(cd("One", "ONE"), "Pop", iiFolderRoot), "a.mp3");
    struct Counter : TreeObserver {
        void beginInsert(TreeNode*, size_t, size_t) override { ++inserts; }
        void beginReset() override { ++resets; }
        int inserts = 0, resets = 0;
    } counter;
    db->folderTree().addObserver(&counter);
    RootFolders(*db).ReloadRootTree();
    db->folderTree().removeObserver(&counter);
    EXPECT_EQ(counter.inserts, 0);
    EXPECT_EQ(counter.resets, 1);
    EXPECT_EQ(db->folderTree().topLevelCount(), 1u);
}

} // namespace
} // namespace velmo
