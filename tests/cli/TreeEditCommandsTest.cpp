// search, rename and delete from the command line, on a folder that plays a local drive.
#include <gtest/gtest.h>

#include <filesystem>

#include "CliRun.h"
#include "support/TestSupport.h"

namespace velmo::test {
namespace {

namespace fs = std::filesystem;

class TreeEditCli : public Cli {
protected:
    void SetUp() override {
        writeFile(music("Pop/The Beatles - All You Need Is Love.mp3"), std::string(3000, 'a'));
        writeFile(music("Pop/Love Me Do - The Beatles.mp3"), std::string(2000, 'b'));
        writeFile(music("Pop/Old/Äpfel.mp3"), std::string(1000, 'c'));
        writeFile(music("Rock/y.mp3"), std::string(1000, 'd'));
        writeFile(music("Rock/cover.jpg"), "not music");
        writeFile(app.file("Drives.ini"), "C=fixed;" + world.file("music") + ";MUSIC\r\n");
        ASSERT_EQ(run({"add", "C:\\"}).status, 0);
    }
    std::string music(const std::string& path) const { return world.file("music/" + path); }

    TempDir world;
};

const std::string kDisk = "Drive <C> /MUSIC/";

TEST_F(TreeEditCli, SearchPrintsTheHitsOfEitherTreeInTreeOrderOrTheNotice) {
    Result r = run({"search", "beat*love"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, kDisk + "\\Pop\\The Beatles - All You Need Is Love.mp3\t6\n");
    EXPECT_EQ(run({"search", "*ÄPFEL*"}).out, kDisk + "\\Pop\\Old\\Äpfel.mp3\t6\n");
    // Folders are hits too, the folder tree's paths start below the disks.
    EXPECT_EQ(run({"search", "o", "--folders"}).out, "Pop\t4\nPop\\Old\t5\nPop\\Love Me Do - The Beatles.mp3\t6\n"
                                                     "Pop\\The Beatles - All You Need Is Love.mp3\t6\nRock\t4\n");

    Result none = run({"search", "a**b"});
    EXPECT_EQ(none.status, 1);
    EXPECT_EQ(none.out, "");
    EXPECT_EQ(none.err, "Information: The substring is not found. -> OK\n");
}

TEST_F(TreeEditCli, RenameMovesTheFolderOnDiskAndARefusedRenameChangesNothing) {
    Result r = run({"rename", kDisk + "\\Pop", "Oldies"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(fs::exists(music("Oldies/Old/Äpfel.mp3")));
    EXPECT_FALSE(fs::exists(music("Pop")));
    // Every caption below follows, and the database was saved with them.
    EXPECT_EQ(run({"list"}).out, "6\t" + kDisk + "\\Oldies\\Old\\Äpfel.mp3\n6\t" + kDisk +
                                     "\\Oldies\\Love Me Do - The Beatles.mp3\n6\t" + kDisk +
                                     "\\Oldies\\The Beatles - All You Need Is Love.mp3\n6\t" + kDisk + "\\Rock\\y.mp3\n");

    // A file of that name exists on the disk, though not in the database: never replaced.
    const std::string saved = readFile(dbPath());
    Result refused = run({"rename", kDisk + "\\Rock\\y.mp3", "cover.jpg"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.err.find("cannot be renamed to \"cover.jpg\": File exists"), std::string::npos) << refused.err;
    EXPECT_EQ(readFile(music("Rock/cover.jpg")), "not music");
    EXPECT_TRUE(fs::exists(music("Rock/y.mp3")));
    EXPECT_EQ(readFile(dbPath()), saved);

    EXPECT_EQ(run({"rename", kDisk, "Mine /MUSIC/"}).status, 1) << "a local drive's disk keeps its letter";
    EXPECT_EQ(run({"rename", kDisk + "\\Nowhere", "x"}).status, 1);
    EXPECT_EQ(readFile(dbPath()), saved);
}

TEST_F(TreeEditCli, PhysicalDeleteRemovesFilesAndEmptiedFoldersButNeverTheDrivesRoot) {
    const std::string saved = readFile(dbPath());
    Result declined = run({"--no", "delete", "--physical", kDisk + "\\Pop\\Old"});
    EXPECT_EQ(declined.status, 1);
    EXPECT_EQ(declined.err,
              "Confirm deleting: Are you sure you want to delete the selected files physically from disk ? -> No\n");
    EXPECT_TRUE(fs::exists(music("Pop/Old/Äpfel.mp3")));
    EXPECT_EQ(readFile(dbPath()), saved);

    Result r = run({"--yes", "delete", "--physical", kDisk + "\\Pop\\Old", kDisk + "\\Rock\\y.mp3"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_FALSE(fs::exists(music("Pop/Old")));
    EXPECT_FALSE(fs::exists(music("Rock/y.mp3")));
    EXPECT_EQ(readFile(music("Rock/cover.jpg")), "not music") << "a folder that is not empty stays";
    EXPECT_EQ(run({"list"}).out, "6\t" + kDisk + "\\Pop\\Love Me Do - The Beatles.mp3\n6\t" + kDisk +
                                     "\\Pop\\The Beatles - All You Need Is Love.mp3\n");

    // The whole disk: the emptied folders go up to the drive's root, which stays though empty.
    fs::remove_all(music("Rock"));
    EXPECT_EQ(run({"--yes", "delete", "--physical", kDisk}).status, 0);
    EXPECT_FALSE(fs::exists(music("Pop")));
    EXPECT_TRUE(fs::is_directory(world.file("music")));
    EXPECT_TRUE(fs::is_empty(world.file("music")));
    EXPECT_EQ(run({"list"}).out, "");
}

} // namespace
} // namespace velmo::test
