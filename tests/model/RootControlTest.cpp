#include <gtest/gtest.h>

#include "ModelTestUtil.h"
#include "app/RootControl.h"
#include "musicdb/RootFolders.h"

namespace velmo {
namespace {

using namespace velmo::test;

std::vector<std::string> topLevelTexts(const Tree& tree) {
    std::vector<std::string> out;
    for (size_t i = 0; i < tree.topLevelCount(); ++i) out.push_back(tree.topLevel(i)->text());
    return out;
}

// One CD holding Jazz (a root) with Live below it, and songs in both.
class RootControlTest : public ::testing::Test {
protected:
    void SetUp() override {
        db = makeModelDatabase();
        disk = addCD(*db, "Mix", "MIX01");
        jazz = addFolder(*db, disk, "Jazz", iiFolderRoot);
        live = addFolder(*db, jazz, "Live");
        addSong(*db, jazz, "a.mp3", 1000);
        addSong(*db, live, "b.mp3", 1000);
        RootFolders(*db).ReloadRootTree();
        db->setDBModified(false);
    }

    std::unique_ptr<MusicDatabase> db;
    TreeNode* disk = nullptr;
    TreeNode* jazz = nullptr;
    TreeNode* live = nullptr;
};

TEST_F(RootControlTest, MarksChangeOnlyInTheModeAndTheFolderTreeFollowsAtFinish) {
    RootControl control(*db);
    control.markAsRoots({live});
    EXPECT_EQ(live->imageIndex(), iiFolder); // not in the mode: nothing happens
    EXPECT_FALSE(control.RootsChanged());

    control.enter();
    EXPECT_TRUE(control.active());
    control.markAsRoots({live});
    control.clearRootMarks({jazz});
    EXPECT_EQ(live->imageIndex(), iiFolderRoot);
    EXPECT_EQ(jazz->imageIndex(), iiFolder);
    EXPECT_TRUE(db->DBModified());
    // The folder tree waits for Finish.
    EXPECT_EQ(topLevelTexts(db->folderTree()), std::vector<std::string>{"Jazz"});

    EXPECT_TRUE(control.finish());
    EXPECT_FALSE(control.active());
    // Jazz holds a song of its own and has no root above it: it is marked again.
    EXPECT_EQ(topLevelTexts(db->folderTree()), (std::vector<std::string>{"Jazz", "Live"}));
    EXPECT_TRUE(control.RootsChanged());
}

TEST_F(RootControlTest, FinishWithoutAChangeDoesNotRebuildAndAChangeIsNeverForgotten) {
    RootControl control(*db);
    control.enter();
    control.markAsRoots({jazz}); // already a root: no change
    control.clearRootMarks({live}); // no mark to clear
    EXPECT_FALSE(control.RootsChanged());
    EXPECT_FALSE(db->DBModified());
    TreeNode* before = db->folderTree().topLevel(0);
    EXPECT_FALSE(control.finish());
    EXPECT_EQ(db->folderTree().topLevel(0), before);
    EXPECT_FALSE(control.finish()); // leaving twice is harmless

    control.enter();
    control.markAsRoots({disk});
    EXPECT_TRUE(control.finish());
    // Marking the disk cleared the marks below it: one entry named after the disk's description.
    EXPECT_EQ(topLevelTexts(db->folderTree()), std::vector<std::string>{"Mix"});
    control.enter();
    EXPECT_TRUE(control.finish()); // once set, RootsChanged stays set
}

} // namespace
} // namespace velmo
