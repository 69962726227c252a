// Renaming and deleting in the trees: who may be edited, renames that reach the disk or change
// nothing at all, and deletions that take emptied folders with them, on disk only inside the
// drive.
#include <filesystem>

#include <gtest/gtest.h>

#include "CatalogTestUtil.h"
#include "app/TreeEdits.h"
#include "platform/Drives.h"

namespace velmo::test {
namespace {

namespace fs = std::filesystem;

// A CD in E: and the local drive C: (folder "hd") with Music\Pop\a.mp3, b.mp3 and
// Music\Rock\r.mp3, catalogued as "Drive <C> /DATA/".
struct EditFixture : CatalogFixture {
    EditFixture() {
        services.drives = platform::DriveTable({{'C', platform::DriveKind::Fixed, dir.file("hd"), "DATA"},
                                                {'E', platform::DriveKind::CdRom, dir.file("cd"), std::nullopt}},
                                               dir.path());
        session->DetectCDDrives();
        session->settings.ConfirmOpts[ConfirmDel] = false;
        session->settings.ConfirmOpts[ConfirmDiskDel] = false;
        file("cd/Pop/c.mp3");
        add({{"E:\\", false}}, "Pop CD", "POP01");
        file("hd/Music/Pop/a.mp3");
        file("hd/Music/Pop/b.mp3");
        file("hd/Music/Rock/r.mp3");
        add({{"C:\\Music\\", false}}, "Drive <C>", "DATA");
    }
    TreeNode* node(const std::string& path) { return db().findNode(db().musicTree(), path); }
    TDataRec* song(const std::string& caption) { return db().findSong(caption); }
    std::vector<std::string> captions() { return captionsOf(db().musicList()); }
};

TEST(TreeEdits, WhoMayBeEditedAndWhereANodeLies) {
    EditFixture f;
    EXPECT_FALSE(TreeViewMusicTreeEditing(f.node("Pop CD /POP01/\\Pop\\c.mp3"))); // on a CD
    EXPECT_FALSE(TreeViewMusicTreeEditing(f.node("Pop CD /POP01/\\Pop")));
    EXPECT_TRUE(TreeViewMusicTreeEditing(f.node("Pop CD /POP01/")));
    EXPECT_TRUE(TreeViewMusicTreeEditing(f.node("Drive <C> /DATA/\\Music\\Pop\\a.mp3")));
    EXPECT_TRUE(TreeViewFoldersEditing(f.song("Drive <C> /DATA/\\Music\\Pop\\a.mp3")->FolderNode));
    EXPECT_FALSE(TreeViewFoldersEditing(f.song("Pop CD /POP01/\\Pop\\c.mp3")->FolderNode));

    const TreePath p = GetTreePath(f.node("Drive <C> /DATA/\\Music\\Pop\\a.mp3"));
    EXPECT_EQ(p.path, "Music\\Pop\\a.mp3");
    EXPECT_EQ(p.ShellDisk, "Drive <C> /DATA/");
    EXPECT_EQ(p.HardRoot, "C:");
    EXPECT_EQ(GetTreePath(f.node("Pop CD /POP01/")).path, "");
    EXPECT_EQ(ConvertToPath("Drive <C> /L/\\Music\\a.mp3"), "C:\\Music\\a.mp3");
    EXPECT_EQ(ConvertToPath("Pop CD /POP01/\\Pop\\c.mp3"), "\\Pop\\c.mp3");
}

TEST(TreeEdits, RenamingALocalFolderRenamesItOnDiskAndEveryCaptionBelowIt) {
    EditFixture f;
    f.db().SetStatus(f.song("Drive <C> /DATA/\\Music\\Pop\\a.mp3"), ssFavorites);
    ASSERT_TRUE(TreeViewMusicTreeEdited(*f.session, f.node("Drive <C> /DATA/\\Music\\Pop"), "Oldies"));
    EXPECT_TRUE(fs::exists(f.dir.file("hd/Music/Oldies/a.mp3")));
    EXPECT_FALSE(fs::exists(f.dir.file("hd/Music/Pop")));
    EXPECT_EQ(captionsOf(f.db().favorites()), (std::vector<std::string>{"Drive <C> /DATA/\\Music\\Oldies\\a.mp3"}));
    EXPECT_NE(f.song("Drive <C> /DATA/\\Music\\Oldies\\b.mp3"), nullptr);
    EXPECT_TRUE(f.db().DBModified());

    // A CD's disk node: only the texts change, and it keeps its label.
    ASSERT_TRUE(TreeViewMusicTreeEdited(*f.session, f.node("Pop CD /POP01/"), "Best Pop /POP01/"));
    EXPECT_NE(f.song("Best Pop /POP01/\\Pop\\c.mp3"), nullptr);
    EXPECT_FALSE(TreeViewMusicTreeEdited(*f.session, f.node("Best Pop /POP01/"), "Best Pop /OTHER/"));
    EXPECT_FALSE(TreeViewMusicTreeEdited(*f.session, f.node("Drive <C> /DATA/"), "Drive <D> /DATA/"));
    EXPECT_TRUE(TreeViewMusicTreeEdited(*f.session, f.node("Drive <C> /DATA/"), "Laufwerk <C> /DATA/"));
}

TEST(TreeEdits, ARefusedRenameChangesNothingAndSaysWhy) {
    EditFixture f;
    f.db().setDBModified(false);
    const std::vector<std::string> before = f.captions();
    TreeNode* a = f.node("Drive <C> /DATA/\\Music\\Pop\\a.mp3");
    for (const char* bad : {"", ".", "..", " a.mp3", "a:b.mp3", "a\tb.mp3", "b.mp3"}) {
        f.ui.shown.clear();
        EXPECT_FALSE(TreeViewMusicTreeEdited(*f.session, a, bad)) << bad;
        EXPECT_EQ(f.ui.errors().size(), 1u) << bad;
    }
    // A file of that name on the disk that the database does not know: never replaced.
    writeFile(f.dir.file("hd/Music/Pop/z.mp3"), "the user's own");
    f.ui.shown.clear();
    EXPECT_FALSE(TreeViewMusicTreeEdited(*f.session, a, "z.mp3"));
    ASSERT_EQ(f.ui.errors().size(), 1u);
    EXPECT_NE(f.ui.errors()[0].find("File exists"), std::string::npos);
    EXPECT_EQ(readFile(f.dir.file("hd/Music/Pop/z.mp3")), "the user's own");
    EXPECT_TRUE(fs::exists(f.dir.file("hd/Music/Pop/a.mp3")));
    EXPECT_EQ(f.captions(), before);
    EXPECT_FALSE(f.db().DBModified());
}

TEST(TreeEdits, DeletingTakesEmptiedFoldersAndOnDiskStopsAtTheDrivesRoot) {
    EditFixture f;
    // The database only: the folder node goes with its last song, the files stay.
    ASSERT_TRUE(DeleteSelectedFiles(*f.session, {f.song("Drive <C> /DATA/\\Music\\Rock\\r.mp3")}, false));
    EXPECT_EQ(f.node("Drive <C> /DATA/\\Music\\Rock"), nullptr);
    EXPECT_TRUE(fs::exists(f.dir.file("hd/Music/Rock/r.mp3")));
    EXPECT_EQ(f.db().counters().a.count, 3);

    // Physically: the files go and so do the folders left empty, but never the drive's root.
    fs::remove_all(f.dir.file("hd/Music/Rock"));
    ASSERT_TRUE(DeleteSelectedFiles(*f.session,
                                    {f.song("Drive <C> /DATA/\\Music\\Pop\\a.mp3"),
                                     f.song("Drive <C> /DATA/\\Music\\Pop\\b.mp3"), f.song("Pop CD /POP01/\\Pop\\c.mp3")},
                                    true));
    EXPECT_FALSE(fs::exists(f.dir.file("hd/Music")));
    EXPECT_TRUE(fs::exists(f.dir.file("hd")));
    EXPECT_TRUE(fs::exists(f.dir.file("cd/Pop/c.mp3"))); // a CD's file is never deleted
    EXPECT_TRUE(f.db().musicTree().empty());
    EXPECT_EQ(f.db().counters().a.count, 0);

    // No: nothing happens.
    f.file("hd/Music/x.mp3");
    f.add({{"C:\\Music\\", false}}, "Drive <C>", "DATA");
    f.session->settings.ConfirmOpts[ConfirmDiskDel] = true;
    f.ui.answers = {false};
    EXPECT_FALSE(DeleteSelectedFiles(*f.session, {f.song("Drive <C> /DATA/\\Music\\x.mp3")}, true));
    EXPECT_TRUE(fs::exists(f.dir.file("hd/Music/x.mp3")));
    EXPECT_EQ(f.db().counters().a.count, 1);
    EXPECT_EQ(f.ui.shown.back().text, "Are you sure you want to delete the selected files physically from disk ?");
}

} // namespace
} // namespace velmo::test
