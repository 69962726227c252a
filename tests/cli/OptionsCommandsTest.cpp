// options, set and languages from the command line.
#include <gtest/gtest.h>

#include <filesystem>

#include "CliRun.h"
#include "support/DatabaseLines.h"
#include "support/TestSupport.h"

namespace velmo::test {
namespace {

namespace fs = std::filesystem;

std::string profileIni(const TempDir& app) { return readFile(app.file("Profiles/Default/Profile.ini")); }

TEST_F(Cli, OptionsPrintsEverySettingOfTheProfileAndSetChangesThemAllOrNothing) {
    Result r = run({"options"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "PathToDB=Profiles\\Default\\MusicBase\nSizeOfDB=500\nLanguage=English\nStdExtensions=MP3;WMA;\n"
                     "UserExtensions=\nGoodCycle=false\nGoodFixed=true\nGoodPercent=20\nGoodOfPlayList=true\n"
                     "ConfirmClose=true\nConfirmSavingOnExit=true\nSaveOnExit=AutoSave\nConfirmLargePL=true\n"
                     "ConfirmCopyFromHDD=true\nCopyFromHDD=AutoCopy\nConfirmSkip=true\nSkip=AutoSkipDisk\n"
                     "ShowResultWnd=true\nShowNoFilesWarn=true\nConfirmDel=true\nConfirmDiskDel=true\n"
                     "FocusAfterDrag=true\nSaveLastTab=false\nSaveLastTree=true\nAutoCloseAddDiskForm=true\n"
                     "OnlyAfterDnD=true\nSilentAddingMode=false\nOnlyForHDDs=true\nBuiltInPlayer=true\n"
                     "PlayerConfigIndex=1\nShellCommand=xdg-open>%file%\nPassDir=true\nOnlyIfFile=true\n"
                     "ShowHints=true\nShowTag=true\nAutoExpand=false\n");

    Result set = run({"set", "SizeOfDB=700", "ConfirmDel=false", "SaveOnExit=AutoSaveAs", "StdExtensions=ogg;MP3;",
                      "UserExtensions=aif;mp2;", "ShowTag=false", "PathToDB=" + app.file("Elsewhere/Copies")});
    EXPECT_EQ(set.status, 0) << set.err;
    const std::string changed = run({"options"}).out;
    for (const char* line : {"\nSizeOfDB=700\n", "\nConfirmDel=false\n", "\nSaveOnExit=AutoSaveAs\n",
                             "\nStdExtensions=MP3;OGG;\n", "\nUserExtensions=aif;mp2;\n", "\nShowTag=false\n",
                             "PathToDB=Elsewhere\\Copies\n"})
        EXPECT_NE(changed.find(line), std::string::npos) << line << " in\n" << changed;
    EXPECT_NE(profileIni(app).find("DoNotConfirmDel"), std::string::npos);

    // A bad value anywhere: an error naming it, nothing applied, not even the good values.
    const std::string saved = profileIni(app);
    Result bad = run({"set", "GoodPercent=30", "SizeOfDB=12x"});
    EXPECT_EQ(bad.status, 1);
    EXPECT_EQ(bad.err, "VelmoMusicDB v2.07: SizeOfDB: '12x' is not a valid integer value -> OK\n");
    Result unknown = run({"set", "ShowHints=false", "Colour=red"});
    EXPECT_EQ(unknown.status, 1);
    EXPECT_EQ(unknown.err, "VelmoMusicDB v2.07: There is no setting \"Colour\". -> OK\n");
    for (const auto& args : std::vector<std::vector<std::string>>{
             {"set", "ConfirmDel=yes"}, {"set", "Skip=Sometimes"}, {"set", "PlayerConfigIndex=4"},
             {"set", "StdExtensions=MP3;FLAC;"}, {"set", "ShellCommand=a\nb"}}) {
        Result refused = run(args);
        EXPECT_EQ(refused.status, 1) << args[1];
        EXPECT_NE(refused.err.find(args[1].substr(0, args[1].find('='))), std::string::npos) << refused.err;
    }
    EXPECT_EQ(run({"set", "SizeOfDB"}).status, 2);
    EXPECT_EQ(profileIni(app), saved);
    EXPECT_EQ(run({"options"}).out, changed);
}

TEST_F(Cli, TurningTheJustGoodCycleOffSavesTheSongsItMadeUnused) {
    ASSERT_EQ(run({"set", "GoodCycle=true"}).status, 0);
    const std::string disk = "Summer Mix /SUMMER01/:1:0\r\n\tAlbum One:4:0\r\n";
    // A Just Good song left unheard: with all of them heard the cycle would begin again.
    const std::string unused = songLine(2, "b.mp3", 6, 1048576) + songLine(2, "c.mp3", 11, 1048576);
    writeFile(dbPath(), disk + songLine(2, "a.mp3", 12, 1048576) + unused);
    EXPECT_EQ(run({"list"}).out.substr(0, 3), "12\t") << "a heard Just Good song stays heard while the cycle is on";
    Result r = run({"set", "GoodCycle=false"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(readFile(dbPath()), disk + songLine(2, "a.mp3", 11, 1048576) + unused);
}

TEST_F(Cli, LanguagesListsTheLanguageFilesWithTheCurrentOneMarked) {
    ASSERT_EQ(run({"languages"}).out, "English\t*\n");
    fs::copy_file(app.file("Language/English.lng"), app.file("Language/german.lng"));
    EXPECT_EQ(run({"languages"}).out, "English\t*\ngerman\n");

    EXPECT_EQ(run({"set", "Language=german"}).status, 0);
    EXPECT_EQ(run({"languages"}).out, "English\ngerman\t*\n");
    EXPECT_NE(run({"options"}).out.find("\nLanguage=german\n"), std::string::npos);
    Result missing = run({"set", "Language=french"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("Language"), std::string::npos);
}

} // namespace
} // namespace velmo::test
