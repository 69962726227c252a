#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "CatalogTestUtil.h"
#include "musicdb/DatabaseFile.h"
#include "musicdb/DatabaseLoader.h"
#include "util/TextEncoding.h"

namespace velmo::test {
namespace {

namespace fs = std::filesystem;

std::string treeDump(const Tree& tree) {
    std::string out;
    tree.forEach([&](TreeNode* n, int level) {
        out += std::string(static_cast<size_t>(level), ' ') + n->text() + " " + std::to_string(n->imageIndex()) + "\n";
    });
    return out;
}

TEST(FolderScan, AddsAcceptedFilesAsUnusedSongsWithTagsInTreeOrder) {
    CatalogFixture f;
    f.file("cd/Pop/b.mp3", 300, id3Block("Bee", "Band"));
    f.file("cd/Pop/a.MP3", 2 * 1048576);
    f.file("cd/Pop/cover.jpg");
    f.file("cd/Pop/notes.txt");
    f.file("cd/Jazz/c.wma", 500);
    f.add({{"E:\\", false}});

    EXPECT_EQ(captionsOf(f.db().musicList()),
              (std::vector<std::string>{"Mix /MIX01/\\Jazz\\c.wma", "Mix /MIX01/\\Pop\\a.MP3", "Mix /MIX01/\\Pop\\b.mp3"}));
    const StatCounters& c = f.db().counters();
    EXPECT_EQ(c.a.count, 3);
    EXPECT_EQ(c[cN].count, 3);
    EXPECT_DOUBLE_EQ(c.a.sizeMB, (300 + 2 * 1048576 + 500) / 1048576.0);
    EXPECT_TRUE(f.db().DBModified());
    EXPECT_TRUE(f.db().DiskAdded);
    TIDTag tag = f.db().musicList().at(2)->data()->IDTag();
    EXPECT_EQ(tag.title, "Bee");
    EXPECT_EQ(tag.artist, "Band");
    // A file without a block has the empty tag.
    EXPECT_EQ(f.db().musicList().at(1)->data()->IDTag(), TIDTag{});
}

TEST(FolderScan, AddingTheSameFolderAgainChangesNothing) {
    CatalogFixture f;
    f.file("cd/Pop/a.mp3", 300, id3Block("Old title"));
    f.add({{"E:\\Pop\\", false}});
    const std::string before = formatDatabase(f.db().musicTree());
    // The file's tag changes on disk; a song already known is not read again.
    f.file("cd/Pop/a.mp3", 300, id3Block("New title"));
    f.db().setDBModified(false);
    f.add({{"E:\\Pop\\", false}});
    EXPECT_EQ(formatDatabase(f.db().musicTree()), before);
    EXPECT_EQ(f.db().counters().a.count, 1);
    EXPECT_EQ(f.db().musicList().size(), 1u);
    EXPECT_FALSE(f.db().DBModified());
}

TEST(FolderScan, SameNameWithAnotherSizeBecomesASecondSong) {
    CatalogFixture f;
    f.file("cd/Pop/a.mp3", 300);
    f.add({{"E:\\Pop\\", false}});
    f.file("cd/Pop/a.mp3", 900, id3Block("Longer take"));
    f.add({{"E:\\Pop\\", false}});
    ASSERT_EQ(f.db().musicList().size(), 2u);
    const TreeNode* pop = f.db().musicTree().topLevel(0)->child(0);
    ASSERT_EQ(pop->childCount(), 2u);
    EXPECT_EQ(pop->child(0)->data()->Size, 900); // the larger first
    EXPECT_EQ(pop->child(0)->data()->IDTag().title, "Longer take");
    EXPECT_EQ(pop->child(1)->data()->Size, 300);
}

TEST(FolderScan, AFileLinkCountsAsItsFileWhileFifosAndDanglingLinksAreLeftOut) {
    CatalogFixture f;
    f.file("cd/Pop/a.mp3", 700, id3Block("Linked"));
    fs::create_directories(f.dir.file("cd/Rock"));
    ASSERT_EQ(symlink("../Pop/a.mp3", f.dir.file("cd/Rock/link.mp3").c_str()), 0);
    ASSERT_EQ(symlink("../Pop/gone.mp3", f.dir.file("cd/Rock/dangling.mp3").c_str()), 0);
    ASSERT_EQ(mkfifo(f.dir.file("cd/Rock/fifo.mp3").c_str(), 0600), 0);
    {
        HangGuard guard(30);
        f.add({{"E:\\", false}});
    }
    EXPECT_EQ(captionsOf(f.db().musicList()),
              (std::vector<std::string>{"Mix /MIX01/\\Pop\\a.mp3", "Mix /MIX01/\\Rock\\link.mp3"}));
    const TDataRec* link = f.db().musicList().at(1)->data();
    EXPECT_EQ(link->Size, 700);
    EXPECT_EQ(link->IDTag().title, "Linked");
}

TEST(FolderScan, RootMarksFollowTheCheckBox) {
    {
        // The whole drive unchecked: its first-level folders become roots.
        CatalogFixture f;
        f.file("cd/Pop/a.mp3");
        f.file("cd/Jazz/Old/b.mp3");
        f.add({{"E:\\", false}});
        EXPECT_EQ(treeDump(f.db().musicTree()), "Mix /MIX01/ 1\n Jazz 4\n  Old 5\n   b.mp3 6\n Pop 4\n  a.mp3 6\n");
    }
    {
        // Checked: the disk is the root, its folders are plain.
        CatalogFixture f;
        f.file("cd/Pop/a.mp3");
        f.add({{"E:\\", true}});
        EXPECT_EQ(treeDump(f.db().musicTree()), "Mix /MIX01/ 0\n Pop 5\n  a.mp3 6\n");
        EXPECT_EQ(treeDump(f.db().folderTree()), "Mix 4\n Pop 5\n  a.mp3 6\n");
    }
    {
        // A checked folder is the root; a hard disk keeps its drive-letter description.
        CatalogFixture f;
        f.file("hd/Music/Pop/a.mp3");
        f.add({{"C:\\Music\\Pop\\", true}}, "Drive <C>", "DATA");
        EXPECT_EQ(treeDump(f.db().musicTree()), "Drive <C> /DATA/ 3\n Music 5\n  Pop 4\n   a.mp3 6\n");
    }
}

TEST(FolderScan, AFolderThatIsARootKeepsItsMarkWhenScannedAgain) {
    CatalogFixture f;
    f.file("cd/Pop/a.mp3");
    f.add({{"E:\\", false}});
    f.file("cd/Pop/b.mp3");
    f.add({{"E:\\", true}});
    const TreeNode* disk = f.db().musicTree().topLevel(0);
    EXPECT_EQ(disk->child(0)->imageIndex(), iiFolderRoot);
    // The disk's own mark goes again: all its songs lie in the nested root.
    EXPECT_EQ(disk->imageIndex(), iiCDDisk);
    EXPECT_EQ(treeDump(f.db().folderTree()), "Pop 4\n a.mp3 6\n b.mp3 6\n");
}

TEST(FolderScan, FolderWithoutMusicLeavesNothingAndSaysSoOnce) {
    CatalogFixture f;
    f.file("cd/Docs/readme.txt");
    fs::create_directories(f.dir.file("cd/Docs/Empty"));
    f.add({{"E:\\Docs\\", false}});
    EXPECT_TRUE(f.db().musicTree().empty());
    EXPECT_TRUE(f.db().dataList().empty());
    ASSERT_EQ(f.ui.shown.size(), 1u);
    EXPECT_EQ(f.ui.shown[0].caption, "Information");
    EXPECT_EQ(f.ui.shown[0].text, "E:\\Docs\\\nThe folder you have chosen doesn't contain files of required file types. "
                                  "It won't be added.");
    // With the warning off nothing is shown.
    f.session->settings.ConfirmOpts[ShowNoFilesWarn] = false;
    f.add({{"E:\\Docs\\", false}});
    EXPECT_EQ(f.ui.shown.size(), 1u);
}

TEST(FolderScan, NewSongsJoinTheMusicListAtTheirPlaceInTheTree) {
    CatalogFixture f;
    f.file("cd/A/1.mp3");
    f.file("cd/C/3.mp3");
    f.add({{"E:\\", false}});
    f.file("cd/B/2.mp3");
    f.file("cd/C/0.mp3");
    f.file("cd/D/4.mp3");
    f.add({{"E:\\", false}});
    EXPECT_EQ(captionsOf(f.db().musicList()),
              (std::vector<std::string>{"Mix /MIX01/\\A\\1.mp3", "Mix /MIX01/\\B\\2.mp3", "Mix /MIX01/\\C\\0.mp3",
                                        "Mix /MIX01/\\C\\3.mp3", "Mix /MIX01/\\D\\4.mp3"}));
}

TEST(FolderScan, JazzRootsOfTwoCdsMeetInTheFolderTree) {
    CatalogFixture f;
    f.file("cd/Jazz/a.mp3");
    f.add({{"E:\\", false}}, "First", "ONE");
    fs::remove_all(f.dir.file("cd/Jazz"));
    f.file("cd/Jazz/b.mp3");
    f.add({{"E:\\", false}}, "Second", "TWO");
    EXPECT_EQ(treeDump(f.db().folderTree()), "Jazz 4\n a.mp3 6\n b.mp3 6\n");
}

TEST(FolderScan, OnlyTheProfilesExtensionsCountWhateverTheirCase) {
    CatalogFixture f;
    f.file("cd/a.Ogg");
    f.file("cd/b.aif");
    f.file("cd/c.mp3");
    f.session->settings.StdExtensions = {"MP3", "OGG"};
    f.session->settings.UserExtensions = {"aif"};
    f.add({{"E:\\", true}});
    EXPECT_EQ(f.db().counters().a.count, 3);
    f.session->settings.UserExtensions.clear();
    f.file("cd/d.aif");
    f.add({{"E:\\", true}});
    EXPECT_EQ(f.db().counters().a.count, 3);
}

TEST(FolderScan, NamesTheDatabaseCannotHoldAreLeftOut) {
    CatalogFixture f;
    f.file("cd/a:b.mp3");
    f.file("cd/back\\slash.mp3");
    f.file("cd/tab\there.mp3");
    f.file("cd/ lead.mp3");
    f.file("cd/ Blank folder/in.mp3");
    f.file("cd/fine.mp3");
    f.file("cd/not:music.txt"); // would not be added anyway
    f.add({{"E:\\", true}});
    // One notice says how many were left out and names one of them.
    ASSERT_EQ(f.ui.shown.size(), 1u);
    const std::string& notice = f.ui.shown[0].text;
    EXPECT_TRUE(notice.starts_with("3 names could not be added: the database cannot hold line breaks, TABs, \":\" or "
                                   "\"\\\" in a name. The first: \"E:\\"))
        << notice;
    EXPECT_TRUE(notice.ends_with(".mp3\".")) << notice;
    EXPECT_EQ(notice.find('\t'), std::string::npos) << notice;
    // A leading blank is part of a name like any other character.
    EXPECT_EQ(captionsOf(f.db().musicList()),
              (std::vector<std::string>{"Mix /MIX01/\\ Blank folder\\in.mp3", "Mix /MIX01/\\ lead.mp3",
                                        "Mix /MIX01/\\fine.mp3"}));
    // The result reads back as it was written.
    const std::string text = formatDatabase(f.db().musicTree());
    MusicDatabase again(std::make_unique<ScriptedRandom>());
    DatabaseLoader(again, {}).AnalyzeTree(LoadTree::parse(text));
    EXPECT_EQ(formatDatabase(again.musicTree()), text);
}

TEST(FolderScan, ALinkBackToAParentFolderEnds) {
    CatalogFixture f;
    f.file("cd/Pop/a.mp3");
    ASSERT_EQ(symlink("..", f.dir.file("cd/Pop/loop").c_str()), 0);
    f.add({{"E:\\", true}});
    EXPECT_EQ(f.db().counters().a.count, 1);
}

TEST(FolderScan, AFolderChosenByItsBytesIsHeldAsTextLikeTheNamesBelowIt) {
    CatalogFixture f;
    f.file("cd/Alt\xE9/caf\xE9.mp3");
    f.add({{"E:\\Alt\xE9\\", false}});
    const std::string text = formatDatabase(f.db().musicTree());
    EXPECT_TRUE(isValidUtf8(text)) << text;
    EXPECT_EQ(captionsOf(f.db().musicList()),
              std::vector<std::string>{"Mix /MIX01/\\" + fileNameToText("Alt\xE9") + "\\" + fileNameToText("caf\xE9.mp3")});
    // Chosen again in its text form, it is the same folder.
    f.add({{"E:\\" + fileNameToText("Alt\xE9") + "\\", false}});
    EXPECT_EQ(f.db().counters().a.count, 1);
}

TEST(FolderScan, FolderLinksAreFollowedOnlyInsideTheFolderBeingAdded) {
    CatalogFixture f;
    f.file("cd/Pop/a.mp3");
    f.file("cd/Rock/b.mp3");
    ASSERT_EQ(symlink("..", f.dir.file("cd/Pop/parent").c_str()), 0);
    ASSERT_EQ(symlink("../Rock", f.dir.file("cd/Pop/rock").c_str()), 0);
    ASSERT_EQ(symlink(f.dir.file("hd").c_str(), f.dir.file("cd/Pop/elsewhere").c_str()), 0);
    f.file("hd/c.mp3");
    f.add({{"E:\\Pop\\", false}});
    EXPECT_EQ(captionsOf(f.db().musicList()), std::vector<std::string>{"Mix /MIX01/\\Pop\\a.mp3"});
    // Added from the top, the link to Rock leads inside and Rock is catalogued once.
    f.add({{"E:\\", false}});
    EXPECT_EQ(f.db().counters().a.count, 2);
}

TEST(FolderScan, AFolderThatCannotBeReadSaysWhy) {
    CatalogFixture f;
    f.file("cd/a.mp3");
    f.add({{"E:\\Gone\\", false}, {"E:\\a.mp3\\", false}});
    EXPECT_TRUE(f.db().musicTree().empty());
    EXPECT_EQ(f.ui.errors(), (std::vector<std::string>{"E:\\Gone\\\nThe folder cannot be read: No such file or directory.",
                                                       "E:\\a.mp3\\\nThe folder cannot be read: Not a directory."}));
    EXPECT_EQ(f.ui.shown.size(), 2u); // and not that it holds no music
}

TEST(FolderScan, FilesLargerThanTheFileFormatHoldsKeepTheLargestSize) {
    CatalogFixture f;
    f.file("cd/small.mp3");
    const std::string big = f.dir.file("cd/big.mp3");
    ASSERT_EQ(truncate(big.c_str(), 0), -1); // not there yet
    { std::FILE* fp = std::fopen(big.c_str(), "wb"); std::fclose(fp); }
    ASSERT_EQ(truncate(big.c_str(), 3LL * 1024 * 1024 * 1024), 0); // sparse: takes no space
    f.add({{"E:\\", true}});
    ASSERT_EQ(f.db().counters().a.count, 2);
    EXPECT_EQ(f.db().musicTree().topLevel(0)->child(0)->data()->Size, INT32_MAX);
    EXPECT_GT(f.db().counters().a.sizeMB, 2047.0);
}

TEST(FolderScan, DebugModeListsFoldersAndAcceptedFilesInTheOrderMet) {
    CatalogFixture f;
    f.session->DebugMode = true;
    f.file("cd/Pop/a.mp3");
    f.file("cd/Pop/skip.txt");
    fs::create_directories(f.dir.file("cd/Empty"));
    f.add({{"E:\\", true}});
    const std::string list = readFile(f.dir.file("FileList.txt"));
    EXPECT_NE(list.find("E:\\Pop\r\n"), std::string::npos);
    EXPECT_NE(list.find("E:\\Pop\\a.mp3\r\n"), std::string::npos);
    EXPECT_NE(list.find("E:\\Empty\r\n"), std::string::npos);
    EXPECT_EQ(list.find("skip.txt"), std::string::npos);
    EXPECT_LT(list.find("E:\\Pop\r\n"), list.find("E:\\Pop\\a.mp3\r\n"));
    // A new run starts the list anew.
    f.session->DebugMode = true;
    fs::remove_all(f.dir.file("cd/Empty"));
    f.add({{"E:\\Pop\\", true}});
    EXPECT_EQ(readFile(f.dir.file("FileList.txt")), "E:\\Pop\\a.mp3\r\n");
}

TEST(FolderScan, AnUnwritableFileListEndsTheRunWithAClearError) {
    CatalogFixture f;
    f.session->DebugMode = true;
    fs::create_directories(f.dir.file("FileList.txt")); // a folder where the file should go
    f.file("cd/a.mp3");
    try {
        f.add({{"E:\\", true}});
        FAIL() << "no error";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("FileList.txt"), std::string::npos);
    }
}

} // namespace
} // namespace velmo::test
