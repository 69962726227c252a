// Preparing a copy: destination names, the destination folder, the clean-up of an earlier copy
// and the copy plan with its local-drive questions.
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "CopyTestUtil.h"
#include "playlist/CopyPlan.h"
#include "playlist/DestinationCleanUp.h"
#include "playlist/DestinationFolder.h"
#include "util/FloatText.h"

namespace velmo::test {
namespace {

namespace fs = std::filesystem;

// Folders from the first component of an absolute native path down to it.
std::vector<std::string> chainOf(const std::string& native) {
    std::vector<std::string> chain;
    std::string path;
    for (const fs::path& part : fs::path(native).relative_path()) {
        path += "/" + part.string();
        chain.push_back(path);
    }
    return chain;
}

TEST(CopyNames, DestinationAndDisplayNamesOfOpticalAndLocalDisks) {
    EXPECT_EQ(DestName("Pop CD /POP01/\\Pop\\a.mp3"), "Pop CD -POP01-\\Pop\\a.mp3");
    EXPECT_EQ(DestName("Drive <C> /DATA/\\Music\\a.mp3"), "Drive [C] -DATA-\\Music\\a.mp3");
    EXPECT_EQ(diskDisplayName("Pop CD /POP01/"), "Pop CD (POP01)");
    EXPECT_EQ(diskDisplayName("Drive <C> /DATA/"), "Drive <C> (DATA)");
    EXPECT_EQ(diskDisplayName("Drive <C> //"), "Drive <C> ()");

    EXPECT_EQ(floatToText(roundHalfEven(0.125, 2), ','), "0,12"); // halves go to the even neighbour
    EXPECT_EQ(floatToText(roundHalfEven(0.375, 2), '.'), "0.38");
    EXPECT_EQ(floatToText(12.0, '.'), "12");
    EXPECT_EQ(floatToText(45.67, '.'), "45.67");
}

TEST(CopyNames, DestinationFolderOnThisMachine) {
    CopyFixture f;
    auto relative = DestinationFolder::resolve("Profiles\\Rock\\MusicBase\\", "/app", f.table());
    ASSERT_TRUE(relative);
    EXPECT_EQ(relative->folder, "/app/Profiles/Rock/MusicBase");
    EXPECT_EQ(relative->chain,
              (std::vector<std::string>{"/app/Profiles", "/app/Profiles/Rock", "/app/Profiles/Rock/MusicBase"}));
    EXPECT_EQ(relative->nativePath("D -L-\\Pop\\a.mp3"), "/app/Profiles/Rock/MusicBase/D -L-/Pop/a.mp3");

    auto absolute = DestinationFolder::resolve("/media/usb/Music/", "/app", f.table());
    ASSERT_TRUE(absolute);
    EXPECT_EQ(absolute->chain, (std::vector<std::string>{"/media", "/media/usb", "/media/usb/Music"}));

    auto onDrive = DestinationFolder::resolve("d:\\Out", "/app", f.table());
    ASSERT_TRUE(onDrive);
    EXPECT_EQ(onDrive->chain, (std::vector<std::string>{f.dir.file("hd2"), f.dir.file("hd2/Out")}));

    EXPECT_FALSE(DestinationFolder::resolve("Q:\\Music", "/app", f.table())); // no such drive
}

// Two songs of an optical disk and one of a local drive.
void addPopAndLocal(CopyFixture& f) {
    f.file("cd/Pop/a.mp3");
    f.file("cd/Pop/b.mp3");
    f.add({{"E:\\", false}}, "Pop CD", "POP01");
    f.file("hd/Music/h.mp3");
    f.add({{"C:\\Music\\", false}}, "Drive <C>", "DATA");
}

TEST(DirLists, EachFolderOnceParentsFirstForRelativeAndAbsoluteDestinations) {
    CopyFixture f;
    addPopAndLocal(f);
    f.setStatus({"Pop CD /POP01/\\Pop\\b.mp3", "Drive <C> /DATA/\\Music\\h.mp3", "Pop CD /POP01/\\Pop\\a.mp3"},
                ssPlayList);

    const std::string app = f.dir.path();
    f.session->settings.PathToDB = "Profiles\\Rock\\MusicBase";
    {
        DestinationCleanUp cleanUp(f.context());
        cleanUp.DeleteOldSongs();
        cleanUp.MakeDirLists();
        const std::string base = app + "/Profiles/Rock/MusicBase";
        EXPECT_EQ(cleanUp.NewDirs, (std::vector<std::string>{app + "/Profiles", app + "/Profiles/Rock", base,
                                                             base + "/Drive [C] -DATA-", base + "/Drive [C] -DATA-/Music",
                                                             base + "/Pop CD -POP01-", base + "/Pop CD -POP01-/Pop"}));
        EXPECT_TRUE(cleanUp.OldDirs.empty()); // nothing there yet
    }
    {
        // An absolute destination starts at its first component; the folders of an earlier
        // copy that mirror the music tree are the ones to try, outermost first.
        const std::string base = f.dir.file("abs/Music");
        f.session->settings.PathToDB = base + "/";
        writeFile(base + "/Pop CD -POP01-/Pop/old.mp3", "x");
        fs::create_directories(base + "/Pop CD -POP01-/NotInTheTree");
        DestinationCleanUp cleanUp(f.context());
        cleanUp.DeleteOldSongs();
        cleanUp.MakeDirLists();
        std::vector<std::string> expected = chainOf(base);
        for (const char* d : {"/Drive [C] -DATA-", "/Drive [C] -DATA-/Music", "/Pop CD -POP01-", "/Pop CD -POP01-/Pop"})
            expected.push_back(base + d);
        EXPECT_EQ(cleanUp.NewDirs, expected);
        EXPECT_EQ(cleanUp.OldDirs, (std::vector<std::string>{base + "/Pop CD -POP01-", base + "/Pop CD -POP01-/Pop"}));
    }
}

TEST(CleanUp, SongsThatLeftThePlaylistLoseTheirFilesAndEmptiedFoldersOthersStay) {
    CopyFixture f;
    addPopAndLocal(f);
    fs::remove_all(f.dir.file("cd"));
    f.file("cd/Rock/c.mp3");
    f.add({{"E:\\", false}}, "Old CD", "OLD");
    f.setStatus({"Pop CD /POP01/\\Pop\\a.mp3", "Drive <C> /DATA/\\Music\\h.mp3"}, ssPlayList);
    f.setStatus({"Pop CD /POP01/\\Pop\\b.mp3", "Old CD /OLD/\\Rock\\c.mp3"}, ssUsed);

    // The previous copy, the user's own files and a copy cut short.
    f.destFile("Pop CD -POP01-/Pop/a.mp3", "kept copy");
    f.destFile("Pop CD -POP01-/Pop/b.mp3");
    f.destFile("Old CD -OLD-/Rock/c.mp3");
    f.destFile("Pop CD -POP01-/Pop/.velmo-partial-b.mp3");
    f.destFile("notes.txt");
    f.destFile("Mine/keep.mp3");
    fs::create_directories(f.dest("Empty of mine"));

    cleanUpDestination(f.context());

    EXPECT_EQ(readFile(f.dest("Pop CD -POP01-/Pop/a.mp3")), "kept copy");
    EXPECT_FALSE(f.exists(f.dest("Pop CD -POP01-/Pop/b.mp3")));
    EXPECT_FALSE(f.exists(f.dest("Pop CD -POP01-/Pop/.velmo-partial-b.mp3")));
    EXPECT_FALSE(f.exists(f.dest("Old CD -OLD-"))); // emptied from the inside out
    EXPECT_TRUE(f.exists(f.dest("notes.txt")));
    EXPECT_TRUE(f.exists(f.dest("Mine/keep.mp3")));
    EXPECT_TRUE(f.exists(f.dest("Empty of mine")));
    EXPECT_TRUE(fs::is_directory(f.dest("Drive [C] -DATA-/Music"))); // made for the new playlist
}

TEST(CleanUp, NeverReachesOutsideTheDestinationThroughLinks) {
    CopyFixture f;
    addPopAndLocal(f);
    fs::remove_all(f.dir.file("cd"));
    f.file("cd/Rock/c.mp3");
    f.add({{"E:\\", false}}, "Old CD", "OLD");
    f.setStatus({"Drive <C> /DATA/\\Music\\h.mp3"}, ssPlayList);

    // The destination itself is a link (to a stick, say) and is used; links inside it are not.
    const std::string real = f.dir.file("stick/Music");
    f.session->settings.PathToDB = f.dir.file("dest-link");
    fs::create_directories(real);
    fs::create_symlink(real, f.dir.file("dest-link"));
    writeFile(f.dir.file("outside/Rock/c.mp3"), "not ours");
    writeFile(f.dir.file("outside/b.mp3"), "not ours either");
    fs::create_symlink(f.dir.file("outside"), real + "/Old CD -OLD-");
    fs::create_directories(real + "/Pop CD -POP01-/Pop");
    fs::create_symlink(f.dir.file("outside/b.mp3"), real + "/Pop CD -POP01-/Pop/b.mp3");
    writeFile(real + "/Pop CD -POP01-/Pop/a.mp3", "old copy");

    cleanUpDestination(f.context());

    EXPECT_EQ(readFile(f.dir.file("outside/Rock/c.mp3")), "not ours");
    EXPECT_EQ(readFile(f.dir.file("outside/b.mp3")), "not ours either");
    EXPECT_TRUE(fs::is_symlink(real + "/Old CD -OLD-"));
    EXPECT_FALSE(f.exists(real + "/Pop CD -POP01-/Pop/b.mp3")); // the link under a song's name, not its target
    EXPECT_FALSE(f.exists(real + "/Pop CD -POP01-/Pop/a.mp3")); // through the destination's own link
    EXPECT_TRUE(fs::is_directory(real + "/Drive [C] -DATA-/Music"));
}

// C: with two songs of 0.125 and 0.25 MB, D: with one of 0.125 MB, an optical disk with one of
// two songs in the playlist, and last an optical disk holding a single song.
void addPlanDisks(CopyFixture& f) {
    f.file("hd/Music/h1.mp3", 131072);
    f.file("hd/Music/h2.mp3", 262144);
    f.add({{"C:\\Music\\", false}}, "Drive <C>", "DATA");
    f.file("hd2/d1.mp3", 131072);
    f.add({{"D:\\", false}}, "Drive <D>", "MORE");
    f.file("cd/Pop/a.mp3", 1048576);
    f.file("cd/Pop/b.mp3", 1048576);
    f.add({{"E:\\", false}}, "Pop CD", "POP01");
    fs::remove_all(f.dir.file("cd"));
    f.file("cd/z.mp3", 200);
    f.add({{"E:\\", false}}, "Zeta", "Z01");
    f.setStatus({"Drive <C> /DATA/\\Music\\h1.mp3", "Drive <C> /DATA/\\Music\\h2.mp3", "Drive <D> /MORE/\\d1.mp3",
                 "Pop CD /POP01/\\Pop\\a.mp3", "Zeta /Z01/\\z.mp3"},
                ssPlayList);
}

void onlyConfirm(ProfileSettings& s, ConfirmFlag flag) {
    for (ConfirmFlag f : {ConfirmCopyFromHDD, AutoCopy, AutoDontCopy, AskForEach}) s.ConfirmOpts[f] = false;
    s.ConfirmOpts[flag] = true;
}

TEST(CopyPlanTest, OneQuestionForAllLocalDrivesAndTheLinesOfEveryDisk) {
    CopyFixture f;
    addPlanDisks(f);
    onlyConfirm(f.session->settings, ConfirmCopyFromHDD);
    f.session->settings.ConfirmOpts[AskForEach] = true; // not asked: the one question covers it
    f.ui.answers = {true};

    const CopyPlan plan = PrepareCopyData(f.context());

    ASSERT_EQ(f.ui.shown.size(), 1u);
    EXPECT_EQ(f.ui.shown[0].caption, "Confirmation");
    EXPECT_EQ(f.ui.shown[0].text, "Do you want to copy files from local drives to the music DB directory ? If you "
                                  "press \"No\", playlist will point to the original paths of the files.");
    EXPECT_TRUE(plan.LocalAsked);
    EXPECT_TRUE(plan.LocalAnswer);
    EXPECT_EQ(plan.HardDiskCount, 2);
    EXPECT_EQ(plan.DisksTotal(), 4);
    EXPECT_EQ(plan.diskPlanLines(), (std::vector<std::string>{
                                        "Drive <C> (DATA)", "0.38", "3", "IsHard", "DoCopy",  //
                                        "Drive <D> (MORE)", "0.12", "2", "IsHard", "DoCopy",  //
                                        "Pop CD (POP01)", "1", "2", "IsCD", "DoCopy",         //
                                        "Zeta (Z01)", "0", "2", "IsCD", "DoCopy"}));
    EXPECT_EQ(plan.copyListLines(),
              (std::vector<std::string>{"Drive [C] -DATA-\\Music\\h1.mp3", "131072", "Drive [C] -DATA-\\Music\\h2.mp3",
                                        "262144", "Drive [D] -MORE-\\d1.mp3", "131072", "Pop CD -POP01-\\Pop\\a.mp3",
                                        "1048576", "Zeta -Z01-\\z.mp3", "200"}));
    EXPECT_EQ(plan.DiskPlan[1].driveLetter, 'D');
    EXPECT_EQ(plan.DiskPlan[1].firstItem, 2u);
}

TEST(CopyPlanTest, AskForEachDriveNamesEveryLocalDiskAutomaticChoicesAskNothing) {
    {
        CopyFixture f;
        addPlanDisks(f);
        onlyConfirm(f.session->settings, AskForEach);
        f.ui.answers = {true, false};
        const CopyPlan plan = PrepareCopyData(f.context());
        ASSERT_EQ(f.ui.shown.size(), 2u);
        EXPECT_EQ(f.ui.shown[0].text, "Do you want to copy fles from the local drive Drive <C> (DATA) ?");
        EXPECT_EQ(f.ui.shown[1].text, "Do you want to copy fles from the local drive Drive <D> (MORE) ?");
        EXPECT_FALSE(plan.LocalAsked);
        EXPECT_TRUE(plan.DiskPlan[0].doCopy);
        EXPECT_FALSE(plan.DiskPlan[1].doCopy);
        EXPECT_EQ(plan.diskPlanLines()[9], "DoNotCopy");
    }
    for (ConfirmFlag choice : {AutoCopy, AutoDontCopy}) {
        CopyFixture f;
        addPlanDisks(f);
        onlyConfirm(f.session->settings, choice);
        const CopyPlan plan = PrepareCopyData(f.context());
        EXPECT_TRUE(f.ui.shown.empty());
        EXPECT_EQ(plan.DiskPlan[0].doCopy, choice == AutoCopy);
        EXPECT_EQ(plan.DiskPlan[1].doCopy, choice == AutoCopy);
        EXPECT_TRUE(plan.DiskPlan[2].doCopy); // optical disks are always copied
    }
}

} // namespace
} // namespace velmo::test
