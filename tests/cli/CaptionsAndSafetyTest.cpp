// velmo-cli as a new user meets it: read-only commands that leave the database alone, native
// paths and folder captions wherever a song is named, what add and reload-tags report, and the
// options every program answers.
#include <gtest/gtest.h>

#include <filesystem>

#include "CliRun.h"
#include "support/DatabaseLines.h"
#include "support/TestSupport.h"

namespace velmo::test {
namespace {

namespace fs = std::filesystem;

// Every song heard: the next start finds nothing left for a playlist.
std::string everythingHeard() {
    return "Summer Mix /SUMMER01/:1:0\r\n\tAlbum One:4:0\r\n" + songLine(2, "a.mp3", 7, 1048576) +
           songLine(2, "b.mp3", 7, 1048576);
}

TEST_F(Cli, CommandsThatOnlyReadNeverResetOrSaveAndTheResetQuestionAskedOfNobodyTakesNo) {
    writeFile(dbPath(), everythingHeard());
    for (const std::vector<std::string>& command :
         std::vector<std::vector<std::string>>{{"stats"}, {"list"}, {"tree"}, {"search", "a"}, {"options"},
                                               {"languages"}, {"profile", "list"}, {"stats", "+", "list"}}) {
        Result r = run(command);
        EXPECT_EQ(r.status, 0) << command[0] << r.err;
        EXPECT_EQ(r.err.find("Reset music data base"), std::string::npos) << command[0];
        EXPECT_EQ(readFile(dbPath()), everythingHeard()) << command[0];
    }

    // Before a command that changes the database the question comes; nobody answers: No.
    const std::string a = "Summer Mix /SUMMER01/\\Album One\\a.mp3";
    Result r = run({"set-status", "favorites", a});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("Reset music data base ? -> No"), std::string::npos) << r.err;
    EXPECT_EQ(run({"list", "music"}).out, "10\t" + a + "\n7\tSummer Mix /SUMMER01/\\Album One\\b.mp3\n");
    // --yes answers it.
    r = run({"--yes", "set-status", "black", a});
    EXPECT_NE(r.err.find("Reset music data base ? -> Yes"), std::string::npos) << r.err;
    EXPECT_EQ(run({"list", "music"}).out, "9\t" + a + "\n6\tSummer Mix /SUMMER01/\\Album One\\b.mp3\n");
}

TEST_F(Cli, NativePathsAndFolderCaptionsNameSongsAndAddAndReloadTagsSayWhatTheyDid) {
    writeFile(app.file("music/Pop/a.mp3"), std::string(1048576, 'x'));
    writeFile(app.file("music/Pop/Old/b.mp3"), std::string(524288, 'x'));
    writeFile(app.file("Drives.ini"), "M=fixed;" + app.file("music") + ";MUSIC\r\n");
    Result r = run({"add", app.file("music/Pop")});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "Added 1 disk, 2 folders and 2 songs (1.5 MB).\n");
    const std::string a = "Drive <M> /MUSIC/\\Pop\\a.mp3", b = "Drive <M> /MUSIC/\\Pop\\Old\\b.mp3";

    // A file by its path on this machine, a folder by its path or its caption.
    EXPECT_EQ(run({"set-status", "favorites", app.file("music/Pop/a.mp3")}).status, 0);
    EXPECT_EQ(run({"list", "favorites"}).out, "10\t" + a + "\n");
    EXPECT_EQ(run({"set-status", "black", app.file("music/Pop/Old/")}).status, 0);
    EXPECT_EQ(run({"list", "black"}).out, "9\t" + b + "\n");
    EXPECT_EQ(run({"set-status", "unused", "Drive <M> /MUSIC/\\Pop"}).status, 0);
    EXPECT_EQ(run({"list", "black"}).out, "");
    // The drive's root is the disk itself.
    EXPECT_EQ(run({"set-status", "used", app.file("music")}).status, 0);
    EXPECT_EQ(run({"list", "music"}).out, "7\t" + b + "\n7\t" + a + "\n");

    r = run({"set-status", "used", app.file("music/Pop/none.mp3")});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("Nothing catalogued is at \"" + app.file("music/Pop/none.mp3") + "\""), std::string::npos);

    // A song whose file is gone is named, and the command fails.
    fs::remove(app.file("music/Pop/Old/b.mp3"));
    r = run({"reload-tags", app.file("music/Pop")});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("Cannot read the tag of \"" + b + "\"."), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("1 of 2 songs could not be read"), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find(a), std::string::npos) << r.err;
}

TEST_F(Cli, HelpAndVersionExitWithZeroAndAnUnknownOptionIsAUsageError) {
    Result r = run({"--help"}, false);
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(r.out.starts_with("usage: velmo-cli")) << r.out;
    r = run({"--version"}, false);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "velmo-cli (VelmoMusicDB v2.07)\n");
    r = run({"--frobnicate", "stats"});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.err.starts_with("velmo-cli: unknown option --frobnicate\n")) << r.err;
    EXPECT_FALSE(fs::exists(app.file("Options.ini")));
}

} // namespace
} // namespace velmo::test
