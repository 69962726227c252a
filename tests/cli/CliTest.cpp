// velmo-cli run as a user runs it: a program folder in a temporary directory, the executable
// started with its arguments, its output, errors, exit status and files checked.
#include <gtest/gtest.h>

#include <filesystem>

#include "CliRun.h"
#include "support/DatabaseLines.h"
#include "support/TestSupport.h"

namespace velmo::test {
namespace {

namespace fs = std::filesystem;

const std::string S = kSep;

// A CD with a used tagged song, a favourite and an unused song; the folder carries its root mark.
std::string collection(const std::string& folderImage = "4") {
    return "Summer Mix /SUMMER01/:1:0\r\n\tAlbum One:" + folderImage + ":0\r\n" +
           songLine(2, "01 First Song.mp3", 7, 4194304,
                "First Song" + S + "Some Artist" + S + "Album One" + S + "1999" + S + "Live take03017") +
           songLine(2, "02 Second Song.mp3", 10, 3145728) + songLine(2, "03 Third Song.mp3", 6, 1048576);
}

const std::string kFirst = "Summer Mix /SUMMER01/\\Album One\\01 First Song.mp3";
const std::string kSecond = "Summer Mix /SUMMER01/\\Album One\\02 Second Song.mp3";
const std::string kThird = "Summer Mix /SUMMER01/\\Album One\\03 Third Song.mp3";

TEST_F(Cli, StatsPrintsTheCaptionTheStatisticsLineAndFiveTabCaptions) {
    writeFile(dbPath(), collection());
    Result r = run({"stats"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, "VelmoMusicDataBase v2.07 - [Profiles\\Default\\Default.vmdb]\n"
                     "[3 total (8 MB)] - [2 unused (4 MB), 1 used (4 MB), 1 in playlist (3 MB)]\n"
                     "Music List (3)\n"
                     "Playlist (1)\n"
                     "Black List (0)\n"
                     "Favorites (1)\n"
                     "Just Good (0/0)\n");

    Result favorites = run({"stats", "4"});
    EXPECT_EQ(favorites.status, 0);
    ASSERT_GE(favorites.out.size(), 2u);
    EXPECT_NE(favorites.out.find("\n[3 total (8 MB)] - [1 in Favorites (3 MB)]\n"), std::string::npos);
    EXPECT_EQ(std::count(favorites.out.begin(), favorites.out.end(), '\n'), 7);
    // Reading does not write the database.
    EXPECT_EQ(readFile(dbPath()), collection());
}

TEST_F(Cli, StatsOfAFreshProgramFolderShowsAnEmptyDatabaseAndWritesNoDatabaseFile) {
    Result r = run({"stats", "1"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "VelmoMusicDataBase v2.07 - [Profiles\\Default\\Default.vmdb]\n"
                     "[0 total (0 MB)] - [0 unused (0 MB), 0 used (0 MB), 0 in playlist (0 MB)]\n"
                     "Music List (0)\nPlaylist (0)\nBlack List (0)\nFavorites (0)\nJust Good (0/0)\n");
    EXPECT_FALSE(fs::exists(dbPath()));
}

TEST_F(Cli, ListShowsIconAndCaptionOfEveryItemInListOrder) {
    writeFile(dbPath(), collection());
    Result music = run({"list"});
    EXPECT_EQ(music.status, 0);
    EXPECT_EQ(music.out, "7\t" + kFirst + "\n10\t" + kSecond + "\n6\t" + kThird + "\n");
    EXPECT_EQ(run({"list", "music"}).out, music.out);
    EXPECT_EQ(run({"list", "favorites"}).out, "10\t" + kSecond + "\n");
    EXPECT_EQ(run({"list", "playlist"}).out, "10\t" + kSecond + "\n");
    Result black = run({"list", "black"});
    EXPECT_EQ(black.status, 0);
    EXPECT_EQ(black.out, "");
    EXPECT_EQ(run({"list", "justgood"}).out, "");
}

TEST_F(Cli, TreeShowsEachNodeIndentedByLevelWithItsIcon) {
    writeFile(dbPath(), collection());
    Result music = run({"tree"});
    EXPECT_EQ(music.status, 0);
    EXPECT_EQ(music.out, "Summer Mix /SUMMER01/\t1\n"
                         "\tAlbum One\t4\n"
                         "\t\t01 First Song.mp3\t7\n"
                         "\t\t02 Second Song.mp3\t10\n"
                         "\t\t03 Third Song.mp3\t6\n");
    EXPECT_EQ(run({"tree", "music"}).out, music.out);
    EXPECT_EQ(run({"tree", "folders"}).out, "Album One\t4\n"
                                            "\t01 First Song.mp3\t7\n"
                                            "\t02 Second Song.mp3\t10\n"
                                            "\t03 Third Song.mp3\t6\n");
}

TEST_F(Cli, SetStatusChangesTheNamedSongsAndSavesTheDatabase) {
    writeFile(dbPath(), collection());
    Result r = run({"set-status", "black", kFirst, kThird});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    std::string expected = collection();
    expected.replace(expected.find("01 First Song.mp3:7:"), 20, "01 First Song.mp3:9:");
    expected.replace(expected.find("03 Third Song.mp3:6:"), 20, "03 Third Song.mp3:9:");
    EXPECT_EQ(readFile(dbPath()), expected);
    EXPECT_EQ(run({"list", "black"}).out, "9\t" + kFirst + "\n9\t" + kThird + "\n");

    // The Just Good command on a Black List song makes it Just Good unused.
    EXPECT_EQ(run({"set-status", "justgood", kFirst}).status, 0);
    EXPECT_EQ(run({"list", "justgood"}).out, "11\t" + kFirst + "\n");
}

TEST_F(Cli, SetStatusWithAnUnknownCaptionFailsAndChangesNothing) {
    writeFile(dbPath(), collection());
    Result r = run({"set-status", "black", kFirst, "Summer Mix /SUMMER01/\\nope.mp3"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "VelmoMusicDB v2.07: No song, folder or disk has the caption \"Summer Mix /SUMMER01/\\nope.mp3\". -> OK\n");
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(readFile(dbPath()), collection());
    EXPECT_EQ(run({"list", "black"}).out, "");
}

TEST_F(Cli, UsageErrorsExitWithTwoAndTouchNothing) {
    writeFile(dbPath(), collection());
    const std::vector<std::vector<std::string>> cases = {
        {},
        {"bogus"},
        {"--bogus", "stats"},
        {"--seed", "abc", "stats"},
        {"--seed"},
        {"stats", "6"},
        {"stats", "0", "1"},
        {"list", "nonsense"},
        {"tree", "sideways"},
        {"load"},
        {"merge", "a.vmdb", "b.vmdb"},
        {"set-status", "black"},
        {"set-status", "heard", kFirst},
        {"reset-icons", "now"},
        {"clear", "all"},
        {"copy", "now"},
        {"--insert"},
        // A chain is checked whole before its first command runs (stats would print).
        {"stats", "+"},
        {"+", "stats"},
        {"stats", "+", "+", "list"},
        {"stats", "+", "list", "nonsense"},
        {"stats", "+", "clear", "+", "bogus"},
        {"stats", "+", "add", "--description"},
    };
    for (const auto& args : cases) {
        std::string joined;
        for (const auto& a : args) joined += a + " ";
        Result r = run(args);
        EXPECT_EQ(r.status, 2) << joined;
        EXPECT_TRUE(r.err.starts_with("velmo-cli: ")) << joined << "\n" << r.err;
        EXPECT_NE(r.err.find("usage: velmo-cli"), std::string::npos) << joined;
        EXPECT_EQ(r.out, "") << joined;
    }
    EXPECT_EQ(readFile(dbPath()), collection());

    Result help = run({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.starts_with("usage: velmo-cli")) << help.out;
}

TEST_F(Cli, ChainedCommandsRunInOrderOnOneDatabaseAndAFailureStopsTheChain) {
    writeFile(dbPath(), collection());
    Result r = run({"set-status", "black", kFirst, "+", "list", "black", "+", "set-status", "used", kThird, "+",
                    "list", "music"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "9\t" + kFirst + "\n" + "9\t" + kFirst + "\n10\t" + kSecond + "\n7\t" + kThird + "\n");
    std::string expected = collection();
    expected.replace(expected.find("01 First Song.mp3:7:"), 20, "01 First Song.mp3:9:");
    expected.replace(expected.find("03 Third Song.mp3:6:"), 20, "03 Third Song.mp3:7:");
    EXPECT_EQ(readFile(dbPath()), expected);

    // What ran before the failure is kept; nothing after it runs. (No: every song is heard, and
    // the reset that start-up offers is refused.)
    r = run({"--no", "set-status", "unused", kFirst, "+", "set-status", "black", "nope", "+", "list", "music"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    expected.replace(expected.find("01 First Song.mp3:9:"), 20, "01 First Song.mp3:6:");
    EXPECT_EQ(readFile(dbPath()), expected);
}

TEST_F(Cli, CopyWithoutAPlaylistSaysSoAndCopiesNothing) {
    writeFile(dbPath(), "Summer Mix /SUMMER01/:1:0\r\n\tAlbum One:4:0\r\n" + songLine(2, "a.mp3", 6, 1048576));
    Result r = run({"copy"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "Information: First you have to create a playlist. Press \"Make playlist\" button to do it. -> OK\n");
    EXPECT_FALSE(fs::exists(app.file("Profiles/Default/MusicBase/Default.m3u")));
}

TEST_F(Cli, MergeAddsTheFileAndSavesTheResultByteForByte) {
    writeFile(dbPath(), collection());
    const std::string extra = app.file("extra.vmdb");
    writeFile(extra, "Drive <C> /DATA/:3:0\r\n\tRock:5:0\r\n" + songLine(2, "z.mp3", 9, 1048576) +
                         "Summer Mix /SUMMER01/:1:0\r\n\tAlbum One:5:0\r\n" +
                         songLine(2, "01 First Song.mp3", 6, 4194304) + songLine(2, "04 Fourth.mp3", 11, 2097152));
    const std::string extraBytes = readFile(extra);

    Result r = run({"merge", extra});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(readFile(dbPath()),
              "Drive <C> /DATA/:3:0\r\n\tRock:4:0\r\n" + songLine(2, "z.mp3", 9, 1048576) +
                  "Summer Mix /SUMMER01/:1:0\r\n\tAlbum One:4:0\r\n" +
                  songLine(2, "01 First Song.mp3", 7, 4194304,
                       "First Song" + S + "Some Artist" + S + "Album One" + S + "1999" + S + "Live take03017") +
                  songLine(2, "02 Second Song.mp3", 10, 3145728) + songLine(2, "03 Third Song.mp3", 6, 1048576) +
                  songLine(2, "04 Fourth.mp3", 11, 2097152));
    EXPECT_EQ(readFile(extra), extraBytes);

    // The database file name stays; the saved merge is not modified any more.
    Result stats = run({"stats"});
    EXPECT_TRUE(stats.out.starts_with("VelmoMusicDataBase v2.07 - [Profiles\\Default\\Default.vmdb]\n"
                                      "[5 total (11 MB)]"))
        << stats.out;
}

TEST_F(Cli, MergeOfABrokenFileFailsAndWithNoKeepsTheDatabaseFile) {
    writeFile(dbPath(), collection());
    const std::string broken = app.file("broken.vmdb");
    writeFile(broken, "New /N/:1:0\r\n" + songLine(1, "n.mp3", 6, 1) + "Bad /B/:1:0\r\n\t\t\tDeep:5:0\r\n");
    Result r = run({"--no", "merge", broken});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.err.starts_with("VelmoMusicDB v2.07: Invalid level (3) for item \"Deep:5:0\"\nFile: \"" + broken +
                                  "\"\nThe lines from there on were not added. -> OK\n"))
        << r.err;
    EXPECT_EQ(readFile(dbPath()), collection());
}

TEST_F(Cli, SaveWritesTheDatabaseUnderTheGivenNameWhichBecomesTheCurrentOne) {
    writeFile(dbPath(), collection());
    Result r = run({"save", app.file("Backup/copy.vmdb")});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(readFile(app.file("Backup/copy.vmdb")), collection());
    EXPECT_EQ(readFile(dbPath()), collection());
    Result stats = run({"stats"});
    EXPECT_TRUE(stats.out.starts_with("VelmoMusicDataBase v2.07 - [Backup\\copy.vmdb]\n")) << stats.out;
}

TEST_F(Cli, ASaveThatFailsAtTheEndIsReportedOnce) {
    // A file took the place of the current file's folder: the database starts empty and cannot
    // be saved there.
    writeFile(app.file("Other/other.vmdb"), collection());
    ASSERT_EQ(run({"load", app.file("Other/other.vmdb")}).status, 0);
    fs::remove_all(app.file("Other"));
    writeFile(app.file("Other"), "not a folder");
    writeFile(app.file("music/a.mp3"), std::string(100, 'a'));
    writeFile(app.file("Drives.ini"), "M=fixed;" + app.file("music") + ";MUSIC\r\n");
    for (const char* answers : {"--yes", "--no"}) {
        Result r = run({answers, "add", "M:\\"});
        EXPECT_EQ(r.status, 1) << answers;
        const std::string failure = "Cannot create file \"" + app.file("Other/other.vmdb") + "\".";
        const size_t first = r.err.find(failure);
        EXPECT_NE(first, std::string::npos) << r.err;
        EXPECT_EQ(r.err.find(failure, first + 1), std::string::npos) << r.err;
    }
}

TEST_F(Cli, SaveWithoutANameRewritesTheCurrentFile) {
    // Loading marks the folder holding the songs as a root; saving writes the mark.
    writeFile(dbPath(), collection("5"));
    Result r = run({"save"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(readFile(dbPath()), collection("4"));
}

TEST_F(Cli, LoadTakesAnotherFileAsTheDatabaseWithoutChangingEitherFile) {
    writeFile(dbPath(), collection());
    const std::string other = app.file("Other/other.vmdb");
    const std::string otherBytes = "Drive <D> /X/:3:0\r\n" + songLine(1, "x.mp3", 7, 10) + songLine(1, "y.mp3", 6, 20);
    writeFile(other, otherBytes);
    Result r = run({"load", other});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(readFile(other), otherBytes);
    EXPECT_EQ(readFile(dbPath()), collection());

    Result list = run({"list"});
    EXPECT_EQ(list.out, "7\tDrive <D> /X/\\x.mp3\n6\tDrive <D> /X/\\y.mp3\n");
    Result stats = run({"stats"});
    EXPECT_TRUE(stats.out.starts_with("VelmoMusicDataBase v2.07 - [Other\\other.vmdb]\n")) << stats.out;
}

TEST_F(Cli, LoadOfAFileWithABadNumberReportsFileAndLineAndKeepsTheProfileOnItsDatabase) {
    writeFile(dbPath(), collection());
    const std::string bad = app.file("bad.vmdb");
    writeFile(bad, "A /A/:1:0\r\n" + songLine(1, "a.mp3", 6, 1) + "B /B/:1:0\r\n\tb.mp3:6:1e6:" + kNoTag + "\r\n");
    Result r = run({"load", bad});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "VelmoMusicDB v2.07: Line 4 of the database file: '1e6' is not a valid integer value\n"
                     "File: \"" + bad + "\"\n"
                     "The lines from there on were not loaded. When the database is next saved, the whole original "
                     "file is kept as \"bad.vmdb.bak\". -> OK\n"
                     "The profile keeps its database \"Profiles\\Default\\Default.vmdb\".\n");
    EXPECT_EQ(readFile(bad), "A /A/:1:0\r\n" + songLine(1, "a.mp3", 6, 1) + "B /B/:1:0\r\n\tb.mp3:6:1e6:" + kNoTag + "\r\n");
    // Later commands still work on the database the profile had.
    r = run({"stats"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("[Profiles\\Default\\Default.vmdb]"), std::string::npos);
    EXPECT_EQ(readFile(dbPath()), collection());
}

TEST_F(Cli, LoadOrMergeOfAMissingFileFailsAndKeepsTheDatabase) {
    writeFile(dbPath(), collection());
    for (const char* command : {"load", "merge"}) {
        Result r = run({command, app.file("nope.vmdb")});
        EXPECT_EQ(r.status, 1) << command;
        EXPECT_NE(r.err.find("nope.vmdb"), std::string::npos) << command;
        EXPECT_EQ(readFile(dbPath()), collection()) << command;
        EXPECT_NE(run({"stats"}).out.find("[Profiles\\Default\\Default.vmdb]"), std::string::npos) << command;
    }
}

TEST_F(Cli, AddCataloguesASimulatedCdAndAHardDiskFolder) {
    // E: is a folder playing a CD in a drive, M: a folder playing a hard disk.
    writeFile(app.file("cd/.volume-label"), "JAZZ01\n");
    std::string tagged(100, 'x');
    std::string block(128, '\0');
    block.replace(0, 3, "TAG");
    block.replace(3, 7, "So What");
    block.replace(33, 5, "Miles");
    writeFile(app.file("cd/Jazz/so what.mp3"), tagged + block);
    writeFile(app.file("cd/Jazz/notes.txt"), "x");
    writeFile(app.file("music/Pop/hit.MP3"), std::string(300, 'x'));
    writeFile(app.file("Drives.ini"), "C=fixed;/\r\nE=cdrom;" + app.file("cd") + "\r\nM=fixed;" + app.file("music") +
                                          ";MUSIC\r\n");

    Result r = run({"add", "E:\\", "--description", "Jazz Night"});
    EXPECT_EQ(r.status, 0) << r.err;
    r = run({"add", app.file("music/Pop"), "--rooted"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(run({"tree"}).out, "Drive <M> /MUSIC/\t3\n\tPop\t4\n\t\thit.MP3\t6\n"
                                 "Jazz Night /JAZZ01/\t1\n\tJazz\t4\n\t\tso what.mp3\t6\n");
    EXPECT_EQ(run({"tree", "folders"}).out, "Jazz\t4\n\tso what.mp3\t6\nPop\t4\n\thit.MP3\t6\n");
    EXPECT_EQ(run({"list"}).out, "6\tDrive <M> /MUSIC/\\Pop\\hit.MP3\n6\tJazz Night /JAZZ01/\\Jazz\\so what.mp3\n");
    EXPECT_NE(readFile(dbPath()).find("so what.mp3:6:228:So What" + S + "Miles" + S + S + S + "00000\r\n"),
              std::string::npos);

    // Adding again finds nothing new; a CD that is not in its drive is an error.
    r = run({"add", "E:\\Jazz"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(run({"list"}).out.size(), std::string("6\tDrive <M> /MUSIC/\\Pop\\hit.MP3\n6\tJazz Night /JAZZ01/\\Jazz\\so what.mp3\n").size());
    fs::remove(app.file("cd/.volume-label"));
    r = run({"add", "E:\\Jazz"});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("<no disk, please, check the device>"), std::string::npos);
}

TEST_F(Cli, ReloadTagsReadsTheFilesAgain) {
    writeFile(app.file("music/a.mp3"), std::string(300, 'x'));
    writeFile(app.file("Drives.ini"), "M=fixed;" + app.file("music") + ";MUSIC\r\n");
    ASSERT_EQ(run({"add", "M:\\", "--rooted"}).status, 0);
    std::string block(128, ' ');
    block.replace(0, 3, "TAG");
    block.replace(3, 5, "Fresh");
    block[127] = static_cast<char>(255);
    writeFile(app.file("music/a.mp3"), std::string(300, 'x') + block);
    Result r = run({"reload-tags", "Drive <M> /MUSIC/\\a.mp3"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(readFile(dbPath()).find("a.mp3:6:300:Fresh" + S + S + S + S + "00255\r\n"), std::string::npos);
    EXPECT_EQ(run({"reload-tags", "Drive <M> /MUSIC/\\nope.mp3"}).status, 1);
}

TEST_F(Cli, ClearDeletesTheDatabaseFile) {
    writeFile(dbPath(), collection());
    Result r = run({"clear"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "");
    EXPECT_FALSE(fs::exists(dbPath()));
    EXPECT_TRUE(run({"stats"}).out.find("[0 total (0 MB)]") != std::string::npos);
    // Clearing what is already empty is fine.
    EXPECT_EQ(run({"clear"}).status, 0);
}

TEST_F(Cli, ResetIconsSavesUsedAndPlaylistSongsAsUnused) {
    std::string text = "Drive <C> /DATA/:3:0\r\n\tMusic:4:0\r\n";
    for (int icon = 6; icon <= 13; ++icon) text += songLine(2, "s" + std::to_string(100 + icon) + ".mp3", icon, 1);
    writeFile(dbPath(), text);
    Result r = run({"reset-icons"});
    EXPECT_EQ(r.status, 0);
    // Loaded with Just Good songs remaining unused: 12 and 13 come back as 11.
    const int after[] = {6, 6, 6, 9, 10, 11, 11, 11};
    std::string expected = "Drive <C> /DATA/:3:0\r\n\tMusic:4:0\r\n";
    for (int stored = 6; stored <= 13; ++stored)
        expected += songLine(2, "s" + std::to_string(100 + stored) + ".mp3", after[stored - 6], 1);
    EXPECT_EQ(readFile(dbPath()), expected);
}

TEST_F(Cli, DatabaseThatDoesNotLoadWholeIsNeverWrittenOver) {
    const std::string broken = "A /A/:1:0\r\n" + songLine(1, "a.mp3", 7, 1) + "..:1:0\r\n" + songLine(1, "b.mp3", 6, 1);
    writeFile(dbPath(), broken);
    for (const char* command : {"clear", "reset-icons", "stats"}) {
        Result r = run({command});
        EXPECT_EQ(r.status, 1) << command;
        EXPECT_EQ(r.err, "VelmoMusicDB v2.07: Line 3 of the database file: \"..\" is not a valid name for a disk, "
                         "folder or song.\nFile: \"" + dbPath() + "\"\nThe lines from there on were not loaded. When the "
                         "database is next saved, the whole original file is kept as \"Default.vmdb.bak\". -> OK\n")
            << command;
        EXPECT_EQ(readFile(dbPath()), broken) << command;
    }
}

TEST_F(Cli, Windows1252DatabaseIsRewrittenAsUtf8) {
    writeFile(dbPath(), "Caf\xE9 /L/:1:0\r\n\tF:4:0\r\n" + songLine(2, "Tr\xE8s.mp3", 7, 1) + songLine(2, "b.mp3", 6, 1));
    Result r = run({"reset-icons"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(readFile(dbPath()),
              "Caf\xC3\xA9 /L/:1:0\r\n\tF:4:0\r\n" + songLine(2, "b.mp3", 6, 1) + songLine(2, "Tr\xC3\xA8s.mp3", 6, 1));
}

} // namespace
} // namespace velmo::test
