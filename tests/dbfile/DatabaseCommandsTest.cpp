// The database menu over a session: loading the profile's file, "Load base...", "Add to
// DB...", the two saves, and what a failed save leaves behind.
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <sys/resource.h>
#include <sys/stat.h>

#include "DbFileTestUtil.h"
#include "app/DatabaseCommands.h"
#include "app/Session.h"
#include "support/FakeServices.h"
#include "musicdb/Statistics.h"

namespace velmo::test {
namespace {

namespace fs = std::filesystem;

// Files a save left behind in a folder besides the ones it means to write.
std::vector<std::string> temporaryFilesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name.find(".tmp") != std::string::npos) names.push_back(name);
    }
    return names;
}

class DatabaseCommands : public ::testing::Test {
protected:
    DatabaseCommands() : session(dir.path(), services.forUser(ui), std::make_unique<ScriptedRandom>()) {}

    std::string dbPath() const { return dir.file("Profiles/Default/Default.vmdb"); }
    // The database file name as the profile file records it.
    std::string recordedDBName() const {
        const std::string ini = readFile(dir.file("Profiles/Default/Profile.ini"));
        const std::string header = "[DBName]\r\n";
        const size_t at = ini.find(header);
        if (at == std::string::npos) return "<no profile file>";
        const size_t start = at + header.size();
        return ini.substr(start, ini.find("\r\n", start) - start);
    }
    std::string caption() const {
        return windowCaption(session.settings.DBName, session.db.DBModified(), session.messages);
    }

    TempDir dir;
    ScriptedUi ui;
    FakeServices services;
    Session session;
};

TEST_F(DatabaseCommands, MissingDatabaseFileIsNoError) {
    EXPECT_TRUE(LoadData(session));
    EXPECT_TRUE(session.db.musicTree().empty());
    EXPECT_TRUE(ui.shown.empty());
}

TEST_F(DatabaseCommands, ADatabaseNameThatIsNoRegularFileIsAnErrorAndNoSaveReplacesIt) {
    HangGuard guard(30);
    fs::create_directories(dir.file("Profiles/Default"));
    ASSERT_EQ(mkfifo(dbPath().c_str(), 0600), 0);
    EXPECT_FALSE(LoadData(session));
    EXPECT_EQ(ui.errors(), std::vector<std::string>{"Cannot open file \"" + dbPath() + "\". Invalid argument"});
    writeFile(dir.file("in.vmdb"), sampleFile("4"));
    ui.files.push_back(dir.file("in.vmdb"));
    ASSERT_TRUE(MenuItemAddtoDBClick(session));
    EXPECT_FALSE(MenuItemSaveBaseClick(session));
    EXPECT_TRUE(fs::is_fifo(dbPath()));
}

TEST_F(DatabaseCommands, LoadingTheProfileFileRebuildsTheSongs) {
    writeFile(dbPath(), sampleFile("4"));
    EXPECT_TRUE(LoadData(session));
    EXPECT_EQ(captionsOf(session.db.musicList()), (std::vector<std::string>{kFirstSong, kSecondSong}));
    EXPECT_EQ(captionsOf(session.db.playList()), std::vector<std::string>{kSecondSong});
    EXPECT_TRUE(ui.errors().empty());
}

TEST_F(DatabaseCommands, TooDeepLineIsShownAndNothingIsLoaded) {
    writeFile(dbPath(), "A /A/:1:0\r\n" + songLine(1, "s.mp3", 6, 1) + "B /B/:1:0\r\n\t\t\tDeep:5:0\r\n");
    EXPECT_FALSE(LoadData(session));
    ASSERT_EQ(ui.errors().size(), 1u);
    EXPECT_TRUE(ui.errors()[0].starts_with("Invalid level (3) for item \"Deep:5:0\"\nFile: \"" + dbPath() + "\"\n"));
    EXPECT_TRUE(session.db.musicTree().empty());
}

TEST_F(DatabaseCommands, ConversionErrorIsShownAndEarlierDisksStay) {
    writeFile(dbPath(), "A /A/:1:0\r\n" + songLine(1, "s.mp3", 6, 1) + "B /B/:1:0\r\n\tt.mp3:6:big:\r\n");
    EXPECT_FALSE(LoadData(session));
    // The user hears which file and line, that the rest is missing and where the original stays.
    EXPECT_EQ(ui.errors(), std::vector<std::string>{"Line 4 of the database file: 'big' is not a valid integer value\n"
                                                    "File: \"" + dbPath() + "\"\n"
                                                    "The lines from there on were not loaded. When the database is next "
                                                    "saved, the whole original file is kept as \"Default.vmdb.bak\"."});
    EXPECT_EQ(captionsOf(session.db.musicList()), std::vector<std::string>{"A /A/\\s.mp3"});
}

TEST_F(DatabaseCommands, FirstSaveOverAPartlyLoadedFileKeepsTheWholeOriginalBesideIt) {
    const std::string original = "A /A/:1:0\r\n" + songLine(1, "s.mp3", 6, 1) + "B /B/:1:0\r\n\tt.mp3:6:big:\r\n" +
                                 "C /C/:1:0\r\n" + songLine(1, "u.mp3", 6, 1);
    writeFile(dbPath(), original);
    EXPECT_FALSE(LoadData(session));
    session.db.SetStatus(songByCaption(session.db, "A /A/\\s.mp3"), ssUsed);

    ASSERT_TRUE(MenuItemSaveBaseClick(session));
    EXPECT_EQ(readFile(dbPath() + ".bak"), original);
    EXPECT_EQ(readFile(dbPath()), "A /A/:0:0\r\n" + songLine(1, "s.mp3", 7, 1) + "B /B/:1:0\r\n");

    // Later saves are ordinary: the backup keeps the original.
    session.db.SetStatus(songByCaption(session.db, "A /A/\\s.mp3"), ssBlack);
    ASSERT_TRUE(MenuItemSaveBaseClick(session));
    EXPECT_EQ(readFile(dbPath() + ".bak"), original);
    EXPECT_EQ(readFile(dbPath()), "A /A/:0:0\r\n" + songLine(1, "s.mp3", 9, 1) + "B /B/:1:0\r\n");
}

TEST_F(DatabaseCommands, LoadBaseReplacesTheDatabaseAndClearsTheModifiedMark) {
    writeFile(dbPath(), sampleFile("4"));
    ASSERT_TRUE(LoadData(session));
    session.db.setDBModified(true);
    const std::string other = dir.file("Other/other.vmdb");
    writeFile(other, "Drive <C> /DATA/:3:0\r\n" + songLine(1, "x.mp3", 9, 10));
    ui.files.push_back(other);

    EXPECT_TRUE(MenuItemLoadBaseClick(session));
    ASSERT_EQ(ui.dialogs.size(), 1u);
    EXPECT_EQ(ui.dialogs[0].title, "Load music data base");
    EXPECT_EQ(ui.dialogs[0].filter, "Music data base files (*.vmdb)|*.vmdb");
    EXPECT_EQ(ui.dialogs[0].defaultExtension, "vmdb");
    EXPECT_EQ(ui.dialogs[0].initialFolder, dir.file("Profiles/Default"));
    EXPECT_EQ(ui.dialogs[0].proposedName, dbPath());

    EXPECT_EQ(captionsOf(session.db.musicList()), std::vector<std::string>{"Drive <C> /DATA/\\x.mp3"});
    EXPECT_EQ(session.db.counters().a.count, 1);
    EXPECT_EQ(session.db.counters()[cF].count, 0);
    EXPECT_EQ(session.settings.DBName, "Other\\other.vmdb");
    EXPECT_FALSE(session.db.DBModified());
    EXPECT_EQ(recordedDBName(), "Other\\other.vmdb");
    EXPECT_EQ(caption(), "VelmoMusicDataBase v2.07 - [Other\\other.vmdb]");
}

TEST_F(DatabaseCommands, LoadBaseOutsideTheProgramFolderKeepsTheAbsoluteName) {
    TempDir elsewhere;
    writeFile(elsewhere.file("x.vmdb"), "D /L/:1:0\r\n" + songLine(1, "s.mp3", 6, 1));
    ui.files.push_back(elsewhere.file("x.vmdb"));
    EXPECT_TRUE(MenuItemLoadBaseClick(session));
    EXPECT_EQ(session.settings.DBName, elsewhere.file("x.vmdb"));
    EXPECT_EQ(session.db.musicList().size(), 1u);
}

TEST_F(DatabaseCommands, CancelledLoadBaseChangesNothing) {
    writeFile(dbPath(), sampleFile("4"));
    ASSERT_TRUE(LoadData(session));
    session.db.setDBModified(true);
    EXPECT_TRUE(MenuItemLoadBaseClick(session));
    EXPECT_EQ(session.db.musicList().size(), 2u);
    EXPECT_TRUE(session.db.DBModified());
    EXPECT_EQ(session.settings.DBName, "Profiles\\Default\\Default.vmdb");
    EXPECT_FALSE(fs::exists(dir.file("Profiles/Default/Profile.ini")));
}

TEST_F(DatabaseCommands, MergeMarksModifiedAndKeepsTheFileName) {
    writeFile(dbPath(), sampleFile("4"));
    ASSERT_TRUE(LoadData(session));
    session.db.setDBModified(false);
    const std::string extra = dir.file("extra.vmdb");
    // The first song again with another status, and a new song beside it.
    writeFile(extra, "Summer Mix /SUMMER01/:1:0\r\n\tAlbum One:5:0\r\n" +
                         songLine(2, "01 First Song.mp3", 9, 4194304) + songLine(2, "03 Third.mp3", 11, 1));
    ui.files.push_back(extra);

    EXPECT_TRUE(MenuItemAddtoDBClick(session));
    ASSERT_EQ(ui.dialogs.size(), 1u);
    EXPECT_EQ(ui.dialogs[0].title, "Adding an existing music data base to the current one");
    EXPECT_EQ(ui.dialogs[0].proposedName, "");

    EXPECT_EQ(session.settings.DBName, "Profiles\\Default\\Default.vmdb");
    EXPECT_TRUE(session.db.DBModified());
    EXPECT_EQ(recordedDBName(), "Profiles\\Default\\Default.vmdb");
    EXPECT_EQ(MusicDatabase::statusOf(songByCaption(session.db, kFirstSong)), ssUsed);
    // The present song keeps its tag too.
    EXPECT_EQ(songByCaption(session.db, kFirstSong)->IDTag().title, "First Song");
    EXPECT_EQ(MusicDatabase::statusOf(songByCaption(session.db, "Summer Mix /SUMMER01/\\Album One\\03 Third.mp3")),
              ssGoodUnused);
    EXPECT_EQ(session.db.counters().a.count, 3);
    EXPECT_EQ(caption(), "VelmoMusicDataBase v2.07 - [Profiles\\Default\\Default.vmdb]  ***Modified");
}

TEST_F(DatabaseCommands, MergeOfABrokenFileStillMarksWhatWasMerged) {
    const std::string extra = dir.file("extra.vmdb");
    writeFile(extra, "A /A/:1:0\r\n" + songLine(1, "s.mp3", 6, 1) + "..:1:0\r\n");
    ui.files.push_back(extra);
    EXPECT_FALSE(MenuItemAddtoDBClick(session));
    EXPECT_EQ(ui.errors(), std::vector<std::string>{
                               "Line 3 of the database file: \"..\" is not a valid name for a disk, folder or song.\n"
                               "File: \"" + extra + "\"\nThe lines from there on were not added."});
    EXPECT_EQ(session.db.musicList().size(), 1u);
    EXPECT_TRUE(session.db.DBModified());
}

TEST_F(DatabaseCommands, LoadBaseAsksToSaveUnsavedWorkFirstAndARefusedMergeChangesNothing) {
    writeFile(dbPath(), sampleFile("4"));
    ASSERT_TRUE(LoadData(session));
    session.db.SetStatus(songByCaption(session.db, kFirstSong), ssBlack);
    const std::string other = dir.file("other.vmdb");
    writeFile(other, "D /L/:1:0\r\n" + songLine(1, "s.mp3", 6, 1));
    ui.files.push_back(other);
    ui.answers.push_back(true);
    ASSERT_TRUE(MenuItemLoadBaseClick(session));
    ASSERT_FALSE(ui.shown.empty());
    EXPECT_EQ(ui.shown[0].kind, "question");
    EXPECT_EQ(ui.shown[0].text, session.messages[msgSaveQuestion]);
    // The work was saved into the file it came from before the other one replaced it.
    EXPECT_NE(readFile(dbPath()).find("01 First Song.mp3:9:"), std::string::npos);
    EXPECT_EQ(captionsOf(session.db.musicList()), std::vector<std::string>{"D /L/\\s.mp3"});

    // A file refused at its first line adds nothing and leaves the database unmodified.
    writeFile(dir.file("bad.vmdb"), "X /X/:1:abc\r\n");
    ui.files.push_back(dir.file("bad.vmdb"));
    EXPECT_FALSE(MenuItemAddtoDBClick(session));
    EXPECT_FALSE(session.db.DBModified());
    EXPECT_EQ(session.db.musicList().size(), 1u);
}

TEST_F(DatabaseCommands, SaveWritesTheTreeAndClearsTheModifiedMarkUntilTheNextChange) {
    writeFile(dbPath(), sampleFile("4"));
    ASSERT_TRUE(LoadData(session));
    session.db.SetStatus(songByCaption(session.db, kFirstSong), ssBlack);
    ASSERT_TRUE(session.db.DBModified());

    EXPECT_TRUE(MenuItemSaveBaseClick(session));
    std::string expected = sampleFile("4");
    expected.replace(expected.find(":7:4194304"), 10, ":9:4194304");
    EXPECT_EQ(readFile(dbPath()), expected);
    EXPECT_TRUE(temporaryFilesIn(dir.file("Profiles/Default")).empty());
    EXPECT_FALSE(session.db.DBModified());
    EXPECT_EQ(recordedDBName(), "Profiles\\Default\\Default.vmdb");
    EXPECT_EQ(caption(), "VelmoMusicDataBase v2.07 - [Profiles\\Default\\Default.vmdb]");

    session.db.SetStatus(songByCaption(session.db, kFirstSong), ssBlack); // no change, no mark
    EXPECT_FALSE(session.db.DBModified());
    session.db.SetStatus(songByCaption(session.db, kFirstSong), ssUnused);
    EXPECT_EQ(caption(), "VelmoMusicDataBase v2.07 - [Profiles\\Default\\Default.vmdb]  ***Modified");
}

TEST_F(DatabaseCommands, StatusesSurviveSaveClearAndLoad) {
    writeFile(dbPath(), "D /L/:1:0\r\n\tF:4:0\r\n" + songLine(2, "a.mp3", 6, 1) + songLine(2, "b.mp3", 6, 2) +
                            songLine(2, "c.mp3", 6, 3) + songLine(2, "d.mp3", 6, 4));
    ASSERT_TRUE(LoadData(session));
    MusicDatabase& db = session.db;
    db.SetStatus(songByCaption(db, "D /L/\\F\\a.mp3"), ssPlayList);
    db.SetStatus(songByCaption(db, "D /L/\\F\\b.mp3"), ssJustGood);
    db.SetStatus(songByCaption(db, "D /L/\\F\\c.mp3"), ssFavorites);
    db.SetStatus(songByCaption(db, "D /L/\\F\\d.mp3"), ssBlack);
    ASSERT_TRUE(MenuItemSaveBaseClick(session));
    EXPECT_EQ(readFile(dbPath()), "D /L/:1:0\r\n\tF:4:0\r\n" + songLine(2, "a.mp3", 8, 1) +
                                      songLine(2, "b.mp3", 11, 2) + songLine(2, "c.mp3", 10, 3) +
                                      songLine(2, "d.mp3", 9, 4));

    MenuItemClearDBClick(session);
    EXPECT_EQ(db.counters().a.count, 0);
    EXPECT_EQ(db.counters()[cP].count, 0);
    ASSERT_TRUE(LoadData(session));
    EXPECT_EQ(MusicDatabase::statusOf(songByCaption(db, "D /L/\\F\\a.mp3")), ssUsed);
    EXPECT_EQ(MusicDatabase::statusOf(songByCaption(db, "D /L/\\F\\b.mp3")), ssGoodUnused);
    EXPECT_EQ(MusicDatabase::statusOf(songByCaption(db, "D /L/\\F\\c.mp3")), ssFavorites);
    EXPECT_EQ(MusicDatabase::statusOf(songByCaption(db, "D /L/\\F\\d.mp3")), ssBlack);
    EXPECT_EQ(captionsOf(db.playList()), std::vector<std::string>{"D /L/\\F\\c.mp3"});
}

TEST_F(DatabaseCommands, EmptyTreeSavesZeroBytesWhichLoadAsAnEmptyDatabase) {
    EXPECT_TRUE(MenuItemSaveBaseClick(session));
    ASSERT_TRUE(fs::exists(dbPath()));
    EXPECT_EQ(fs::file_size(dbPath()), 0u);
    EXPECT_TRUE(LoadData(session));
    EXPECT_TRUE(session.db.musicTree().empty());
    EXPECT_TRUE(ui.errors().empty());
}

TEST_F(DatabaseCommands, SaveOrDeleteRemovesTheFileOfAnEmptyTreeAndSavesAnyOther) {
    writeFile(dbPath(), sampleFile("4"));
    EXPECT_TRUE(SaveOrDeleteDatabase(session));
    EXPECT_FALSE(fs::exists(dbPath()));
    EXPECT_TRUE(SaveOrDeleteDatabase(session)); // nothing to delete is fine too

    writeFile(dir.file("in.vmdb"), sampleFile("4"));
    ui.files.push_back(dir.file("in.vmdb"));
    ASSERT_TRUE(MenuItemAddtoDBClick(session));
    EXPECT_TRUE(SaveOrDeleteDatabase(session));
    EXPECT_EQ(readFile(dbPath()), sampleFile("4"));
}

TEST_F(DatabaseCommands, SaveAsTakesTheChosenFileAndStoresItRelativeToTheProgramFolder) {
    writeFile(dbPath(), sampleFile("4"));
    ASSERT_TRUE(LoadData(session));
    ui.files.push_back(dir.file("Backups/copy.vmdb"));
    EXPECT_TRUE(MenuItemSaveDBAsClick(session));
    ASSERT_EQ(ui.dialogs.size(), 1u);
    EXPECT_EQ(ui.dialogs[0].title, "Save music data base as...");
    EXPECT_EQ(ui.dialogs[0].proposedName, dbPath());
    EXPECT_EQ(session.settings.DBName, "Backups\\copy.vmdb");
    EXPECT_EQ(readFile(dir.file("Backups/copy.vmdb")), sampleFile("4"));
}

TEST_F(DatabaseCommands, FailedSaveAsKeepsTheFileNameTheProfileAndTheCaption) {
    writeFile(dbPath(), sampleFile("4"));
    ASSERT_TRUE(LoadData(session));
    ASSERT_TRUE(MenuItemSaveBaseClick(session));
    const std::string name = session.settings.DBName;
    const std::string recorded = recordedDBName();
    const std::string before = caption();
    writeFile(dir.file("plain"), "");
    ui.files.push_back(dir.file("plain/x.vmdb")); // below a file: cannot be created

    EXPECT_FALSE(MenuItemSaveDBAsClick(session));
    EXPECT_EQ(ui.errors(), std::vector<std::string>{"Cannot create file \"" + dir.file("plain/x.vmdb") +
                                                    "\". Not a directory"});
    EXPECT_EQ(session.settings.DBName, name);
    EXPECT_EQ(recordedDBName(), recorded);
    EXPECT_EQ(caption(), before);
    // The next plain save still goes to the old file.
    EXPECT_TRUE(MenuItemSaveBaseClick(session));
    EXPECT_EQ(readFile(dbPath()), sampleFile("4"));
}

TEST_F(DatabaseCommands, SaveAsWithoutAFileNameProposesTheProfileFile) {
    session.settings.DBName.clear();
    session.CurrentProfile = "Party";
    EXPECT_FALSE(MenuItemSaveBaseClick(session)); // the dialog is cancelled
    ASSERT_EQ(ui.dialogs.size(), 1u);
    EXPECT_EQ(ui.dialogs[0].initialFolder, dir.file("Profiles/Party"));
    EXPECT_EQ(ui.dialogs[0].proposedName, dir.file("Profiles/Party/Party.vmdb"));
    EXPECT_EQ(session.settings.DBName, "");
    EXPECT_FALSE(fs::exists(dir.file("Profiles")));
}

TEST_F(DatabaseCommands, FailedSaveIsReportedAndKeepsTheModifiedMark) {
    writeFile(dir.file("in.vmdb"), sampleFile("4"));
    ui.files.push_back(dir.file("in.vmdb"));
    ASSERT_TRUE(MenuItemAddtoDBClick(session));
    // A folder stands where the file should be.
    fs::create_directories(dbPath());
    writeFile(dbPath() + "/keep.txt", "keep");

    EXPECT_FALSE(MenuItemSaveBaseClick(session));
    EXPECT_EQ(ui.errors(), std::vector<std::string>{"Cannot create file \"" + dbPath() + "\". Is a directory"});
    EXPECT_TRUE(session.db.DBModified());
    EXPECT_EQ(readFile(dbPath() + "/keep.txt"), "keep");
    EXPECT_TRUE(temporaryFilesIn(dir.file("Profiles/Default")).empty());
}

// Lowers the largest file this process may write, so that a save runs out of room half-way.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &old_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        ok_ = setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }
    bool ok() const { return ok_; }

private:
    rlimit old_{};
    void (*oldHandler_)(int) = nullptr;
    bool ok_ = false;
};

TEST_F(DatabaseCommands, SaveThatRunsOutOfRoomLeavesTheOldFileWhole) {
    const std::string old = sampleFile("4");
    writeFile(dbPath(), old);
    ASSERT_TRUE(LoadData(session));
    std::string big = "Big /BIG/:1:0\r\n";
    for (int i = 0; i < 2000; ++i) big += songLine(1, std::string(100, 'n') + std::to_string(i) + ".mp3", 6, i);
    writeFile(dir.file("big.vmdb"), big);
    ui.files.push_back(dir.file("big.vmdb"));
    ASSERT_TRUE(MenuItemAddtoDBClick(session));

    bool saved;
    {
        FileSizeLimit limit(16384);
        ASSERT_TRUE(limit.ok());
        saved = MenuItemSaveBaseClick(session);
    }
    EXPECT_FALSE(saved);
    EXPECT_EQ(ui.errors(), std::vector<std::string>{"Cannot create file \"" + dbPath() + "\". File too large"});
    EXPECT_EQ(readFile(dbPath()), old);
    EXPECT_TRUE(temporaryFilesIn(dir.file("Profiles/Default")).empty());
    EXPECT_TRUE(session.db.DBModified());

    // With room again the same database saves whole.
    EXPECT_TRUE(MenuItemSaveBaseClick(session));
    EXPECT_EQ(readFile(dbPath()), formatDatabase(session.db.musicTree()));
    EXPECT_GT(readFile(dbPath()).size(), 200000u);
}

TEST_F(DatabaseCommands, ResetIconsTurnsUsedAndPlaylistSongsBackAndLeavesTheRest) {
    writeFile(dbPath(), "D /L/:1:0\r\n\tF:4:0\r\n" + songLine(2, "a.mp3", 7, 1) + songLine(2, "b.mp3", 9, 1) +
                            songLine(2, "c.mp3", 10, 1) + songLine(2, "d.mp3", 11, 1) +
                            songLine(2, "e.mp3", 12, 1) + songLine(2, "f.mp3", 13, 1));
    session.settings.GoodCycle = true;
    ASSERT_TRUE(LoadData(session));
    MusicDatabase& db = session.db;
    MenuItemResetIconsClick(session);
    auto statusOf = [&](const char* name) {
        return MusicDatabase::statusOf(songByCaption(db, std::string("D /L/\\F\\") + name));
    };
    EXPECT_EQ(statusOf("a.mp3"), ssUnused);
    EXPECT_EQ(statusOf("b.mp3"), ssBlack);
    EXPECT_EQ(statusOf("c.mp3"), ssFavorites);
    EXPECT_EQ(statusOf("d.mp3"), ssGoodUnused);
    EXPECT_EQ(statusOf("e.mp3"), ssGoodUnused);
    EXPECT_EQ(statusOf("f.mp3"), ssGoodUnused);
    EXPECT_EQ(captionsOf(db.playList()), std::vector<std::string>{"D /L/\\F\\c.mp3"});
    EXPECT_EQ(db.counters()[cGN].count, 3);
}

} // namespace
} // namespace velmo::test
