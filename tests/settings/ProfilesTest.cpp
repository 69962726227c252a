// Profiles on disk: Options.ini, profile names, reading a profile's files, and the profile
// commands new, rename, delete and switch.
#include <gtest/gtest.h>

#include "SettingsTestUtil.h"
#include "app/DatabaseCommands.h"
#include "app/Lifecycle.h"
#include "settings/ProfileFile.h"
#include "app/Profiles.h"

namespace velmo::test {
namespace {

namespace fs = std::filesystem;

using Names = std::vector<std::string>;

// --- Options.ini -------------------------------------------------------------------------

class OptionsFile : public SessionTest {
protected:
    std::string optionsPath() const { return path("Options.ini"); }
    void makeFolders(const Names& profiles) {
        for (const auto& p : profiles) fs::create_directories(path("Profiles/" + p));
    }
};

TEST_F(OptionsFile, MissingFileIsWrittenAndReportedAsMissing) {
    session.CurrentProfile = "Elsewhere";
    EXPECT_FALSE(ReadOpt(session));
    EXPECT_EQ(session.CurrentProfile, "Default");
    EXPECT_EQ(session.Profiles, Names{"Default"});
    EXPECT_EQ(readFile(optionsPath()), kDefaultOptionsIni);
}

TEST_F(OptionsFile, SingleProfileIsWrittenWithoutSemicolonAndReadBack) {
    makeFolders({"Music"});
    session.CurrentProfile = "Music";
    session.Profiles = {"Music"};
    SaveOpt(session);
    EXPECT_EQ(readFile(optionsPath()), "[Profile]\r\nMusic\r\n[Profiles]\r\nMusic\r\n");

    session.Profiles = {"Default"};
    session.CurrentProfile = "Default";
    EXPECT_TRUE(ReadOpt(session));
    EXPECT_EQ(session.CurrentProfile, "Music");
    EXPECT_EQ(session.Profiles, Names{"Music"});
    EXPECT_EQ(session.SelectedProfile, 0);
}

TEST_F(OptionsFile, SeveralProfilesAreEachFollowedBySemicolonAndReadBack) {
    makeFolders({"Music", "Kids"});
    session.CurrentProfile = "Kids";
    session.Profiles = {"Default", "Music", "Kids"};
    SaveOpt(session);
    EXPECT_EQ(readFile(optionsPath()), "[Profile]\r\nKids\r\n[Profiles]\r\nDefault;Music;Kids;\r\n");

    session.Profiles = {"Default"};
    EXPECT_TRUE(ReadOpt(session));
    EXPECT_EQ(session.Profiles, (Names{"Default", "Music", "Kids"}));
    EXPECT_EQ(session.SelectedProfile, 2);
}

TEST_F(OptionsFile, ListWithoutFinalSemicolonEndsWithItsLastName) {
    makeFolders({"a", "b"});
    writeFile(optionsPath(), "[Profile]\r\na\r\n[Profiles]\r\na;b\r\n");
    EXPECT_TRUE(ReadOpt(session));
    EXPECT_EQ(session.Profiles, (Names{"a", "b"}));
}

TEST_F(OptionsFile, ProfilesWithoutFolderAreDroppedButDefaultStays) {
    makeFolders({"Kept"});
    writeFile(optionsPath(), "[Profile]\nKept\n[Profiles]\nDefault;Gone1;Gone2;Kept;Gone3;\n");
    EXPECT_TRUE(ReadOpt(session));
    EXPECT_EQ(session.Profiles, (Names{"Default", "Kept"}));
    EXPECT_FALSE(exists(path("Profiles/Default")));
    EXPECT_EQ(session.SelectedProfile, 1);
    // When none is left, the list still holds the default profile.
    writeFile(optionsPath(), "[Profile]\r\nGone1\r\n[Profiles]\r\nGone1;Gone2;\r\n");
    EXPECT_TRUE(ReadOpt(session));
    EXPECT_EQ(session.Profiles, Names{"Default"});
}

TEST_F(OptionsFile, NamesThatCannotBeFoldersAreDropped) {
    makeFolders({"Music"});
    fs::create_directories(path("Profiles/x/y"));
    writeFile(optionsPath(), "[Profile]\r\n..\r\n[Profiles]\r\nDefault;..;x/y;Music;\r\n");
    EXPECT_TRUE(ReadOpt(session));
    EXPECT_EQ(session.Profiles, (Names{"Default", "Music"}));
    EXPECT_EQ(session.CurrentProfile, "Default");
}

TEST_F(OptionsFile, WrongListHeaderAddsTheCurrentProfile) {
    makeFolders({"Music", "Kids"});
    writeFile(optionsPath(), "[Profile]\r\nMusic\r\n[profiles]\r\nKids;\r\n");
    EXPECT_TRUE(ReadOpt(session));
    EXPECT_EQ(session.CurrentProfile, "Music");
    EXPECT_EQ(session.Profiles, (Names{"Default", "Music"}));
}

TEST_F(OptionsFile, FileOfOneLineCountsAsMissingButIsNotRewritten) {
    writeFile(optionsPath(), "[Profile]\r\n");
    EXPECT_FALSE(ReadOpt(session));
    EXPECT_EQ(readFile(optionsPath()), "[Profile]\r\n");
    EXPECT_EQ(session.Profiles, Names{"Default"});
}

// --- Profile names -----------------------------------------------------------------------

class ProfileNames : public SessionTest {
protected:
    ProfileNames() { session.Profiles = {"Default", "Müsik"}; }
};

TEST_F(ProfileNames, ListedNameIsFoundWhateverItsLetterCase) {
    for (const char* name : {"Default", "DEFAULT", "default", "Müsik", "MÜSIK"})
        EXPECT_EQ(checkProfileName(session, name), ProfileNameCheck::Listed) << name;
    EXPECT_EQ(checkProfileName(session, "Defaults"), ProfileNameCheck::Ok);
}

TEST_F(ProfileNames, NamesNoFolderCanCarryAreInvalid) {
    for (const std::string name : {"", ".", "..", "Rock ", "Rock.", "a\\b", "a/b", "a:b", "a*b", "a?b", "a\"b",
                                   "a<b", "a>b", "a|b"})
        EXPECT_EQ(checkProfileName(session, name), ProfileNameCheck::Invalid) << name;
    for (const std::string name : {"Rock 'n' Roll", "v1.2 mix", " Leading", "[Kids]"})
        EXPECT_EQ(checkProfileName(session, name), ProfileNameCheck::Ok) << name;
}

TEST_F(ProfileNames, RefusedNameShowsTheErrorBox) {
    EXPECT_TRUE(refuseProfileName(session, "default"));
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].kind, "errorbox");
    EXPECT_EQ(ui.shown[0].caption, "Error");
    EXPECT_EQ(ui.shown[0].text, "This profile name already exists, please, try another one.");

    EXPECT_TRUE(refuseProfileName(session, "a:b"));
    ASSERT_EQ(ui.shown.size(), 2u);
    EXPECT_EQ(ui.shown[1].caption, "Error");
    EXPECT_NE(ui.shown[1].text, ui.shown[0].text);
    EXPECT_FALSE(ui.shown[1].text.empty());

    EXPECT_FALSE(refuseProfileName(session, "Party"));
    EXPECT_EQ(ui.shown.size(), 2u);
}

// --- Reading a profile ---------------------------------------------------------------------

class ReadingProfile : public SessionTest {};

TEST_F(ReadingProfile, MissingFolderFallsBackToDefault) {
    session.CurrentProfile = "Vanished";
    session.settings.SizeOfDB = 9;
    ReadProfile(session);
    EXPECT_EQ(session.CurrentProfile, "Default");
    EXPECT_EQ(session.settings.SizeOfDB, 500);
    EXPECT_EQ(readFile(profileFile("Default", "Profile.ini")), defaultProfileIni("Default", 0));
    EXPECT_EQ(readFile(profileFile("Default", "PlayerConfig.ini")), defaultPlayerConfigIni());
    EXPECT_FALSE(exists(path("Profiles/Vanished")));
}

TEST_F(ReadingProfile, MissingProfileFileGivesDefaultsAndIsWrittenWhole) {
    fs::create_directories(path("Profiles/Music"));
    session.CurrentProfile = "Music";
    session.Profiles = {"Default", "Music"};
    ReadProfile(session);
    EXPECT_EQ(session.settings.DBName, "Profiles\\Music\\Music.vmdb");
    EXPECT_EQ(session.SelectedProfile, 1);
    EXPECT_EQ(readFile(profileFile("Music", "Profile.ini")), defaultProfileIni("Music", 0));
}

TEST_F(ReadingProfile, ShortLineFeedFileIsReadAndRewrittenWhole) {
    writeFile(profileFile("Default", "Profile.ini"), "[Path to DB]\n/srv/out\\\n[Size of DB]\n640\n");
    ReadProfile(session);
    EXPECT_EQ(session.settings.PathToDB, "/srv/out");
    EXPECT_EQ(session.settings.SizeOfDB, 640);
    auto expected = splitLines(defaultProfileIni("Default", 0));
    expected[1] = "/srv/out";
    expected[3] = "640";
    EXPECT_EQ(readFile(profileFile("Default", "Profile.ini")), joinLinesCrLf(expected));
}

TEST_F(ReadingProfile, WindowsCodePageFileIsReadWithItsAccents) {
    auto lines = splitLines(defaultProfileIni("Default"));
    lines[5] = "Fran\xe7" "ais";
    writeFile(profileFile("Default", "Profile.ini"), joinLinesCrLf(lines));
    ReadProfile(session);
    EXPECT_EQ(session.settings.Language, "Français");
    EXPECT_EQ(fileLines(profileFile("Default", "Profile.ini"))[5], "Français");
}

TEST_F(ReadingProfile, BadNumberIsShownWithFileAndLineAndTheFileStaysUntilSettingsAreSaved) {
    auto lines = splitLines(defaultProfileIni("Default"));
    lines[1] = "/srv/out";
    lines[3] = "lots";
    lines[5] = "Deutsch";
    lines[11] = "Mine\\mine.vmdb";
    const std::string ini = profileFile("Default", "Profile.ini");
    const std::string original = joinLinesCrLf(lines);
    writeFile(ini, original);
    writeFile(profileFile("Default", "PlayerConfig.ini"), playerBlock("Mine", "mine"));
    session.settings.Language = "Elvish";

    ReadProfile(session);
    EXPECT_EQ(ui.errors(),
              std::vector<std::string>{"Line 4 of \"" + ini + "\": 'lots' is not a valid integer value"});
    EXPECT_EQ(session.settings.PathToDB, "/srv/out");
    EXPECT_EQ(session.settings.SizeOfDB, 500);
    EXPECT_EQ(session.settings.Language, "Deutsch");
    EXPECT_EQ(session.settings.DBName, "Mine\\mine.vmdb");
    ASSERT_EQ(session.PlayerConfigs.size(), 1u);
    EXPECT_EQ(session.PlayerConfigs[0].Name, "Mine");
    EXPECT_EQ(session.settings.PlayerConfigIndex, 0);
    // Neither the read nor an exit rewrites the file; saving the settings does.
    EXPECT_EQ(readFile(ini), original);
    Shutdown(session);
    EXPECT_EQ(readFile(ini), original);
    SaveProfile(session);
    const auto written = fileLines(ini);
    ASSERT_EQ(written.size(), 52u);
    EXPECT_EQ(written[1], "/srv/out");
    EXPECT_EQ(written[3], "500");
    EXPECT_EQ(written[5], "Deutsch");
}

TEST_F(ReadingProfile, ExistingPlayerConfigurationsAreKept) {
    ProfileSettings custom = SetDefopts("Default");
    custom.PlayerConfigIndex = 2;
    custom.BuiltInPlayer = false;
    writeFile(profileFile("Default", "Profile.ini"), joinLinesCrLf(profileFileLines(custom)));
    const std::string players = playerBlock("A", "a") + playerBlock("B", "b") + playerBlock("C", "c");
    writeFile(profileFile("Default", "PlayerConfig.ini"), players);

    ReadProfile(session);
    EXPECT_EQ(session.PlayerConfigs.size(), 3u);
    EXPECT_EQ(session.settings.PlayerConfigIndex, 2);
    EXPECT_FALSE(session.settings.BuiltInPlayer);
    EXPECT_EQ(readFile(profileFile("Default", "PlayerConfig.ini")), players);
    EXPECT_TRUE(ui.shown.empty());
}

TEST_F(ReadingProfile, MissingPlayerConfigurationsResetTheIndex) {
    ProfileSettings custom = SetDefopts("Default");
    custom.PlayerConfigIndex = 2;
    writeFile(profileFile("Default", "Profile.ini"), joinLinesCrLf(profileFileLines(custom)));
    ReadProfile(session);
    EXPECT_EQ(session.PlayerConfigs, defaultPlayerConfigs());
    EXPECT_EQ(session.settings.PlayerConfigIndex, 0);
    EXPECT_EQ(fileLines(profileFile("Default", "Profile.ini"))[45], "0");
    EXPECT_EQ(readFile(profileFile("Default", "PlayerConfig.ini")), defaultPlayerConfigIni());
}

TEST_F(ReadingProfile, ProfileFileThatCannotBeReplacedIsReportedAndLeftAlone) {
    const std::string blocked = profileFile("Default", "Profile.ini");
    writeFile(blocked + "/keep", "x"); // a folder where the file should go
    SaveProfile(session);
    const auto errors = ui.errors();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].rfind("Cannot create file \"" + blocked + "\".", 0), 0u) << errors[0];
    EXPECT_EQ(readFile(blocked + "/keep"), "x");
    EXPECT_EQ(readFile(profileFile("Default", "PlayerConfig.ini")), defaultPlayerConfigIni());
    for (const auto& entry : fs::directory_iterator(path("Profiles/Default")))
        EXPECT_EQ(entry.path().filename().string().find(".tmp"), std::string::npos) << entry.path();
}

// The chosen player configuration always names one that was read: a hand-edited negative
// index, or one beyond the 255 configurations read from a longer file, falls back to the first.
TEST_F(ReadingProfile, PlayerConfigIndexAlwaysNamesAConfigurationThatWasRead) {
    std::string many;
    for (int i = 0; i < 257; ++i) many += playerBlock("P" + std::to_string(i), "p");
    const std::vector<std::pair<std::string, std::string>> cases{{"-1", defaultPlayerConfigIni()}, {"256", many}};
    for (const auto& [index, players] : cases) {
        SCOPED_TRACE("index " + index);
        auto lines = splitLines(defaultProfileIni("Default"));
        lines[45] = index;
        writeFile(profileFile("Default", "Profile.ini"), joinLinesCrLf(lines));
        writeFile(profileFile("Default", "PlayerConfig.ini"), players);
        ReadProfile(session);
        const int32_t chosen = session.settings.PlayerConfigIndex;
        EXPECT_GE(chosen, 0);
        if (chosen >= 0) {
            EXPECT_LT(static_cast<size_t>(chosen), session.PlayerConfigs.size());
        }
    }
}

TEST_F(ReadingProfile, UnlistedProfileIsNotSelected) {
    fs::create_directories(path("Profiles/Hidden"));
    session.CurrentProfile = "Hidden";
    ReadProfile(session);
    EXPECT_EQ(session.CurrentProfile, "Hidden");
    EXPECT_EQ(session.SelectedProfile, -1);
}

// --- Profile commands ----------------------------------------------------------------------

class ProfileCommands : public SessionTest {
protected:
    // Two profiles on disk: Default, with one song, and Other, with two songs and a size of
    // 321 MB. Default is current, its database loaded.
    void setUpTwoProfiles() {
        writeFile(path("Options.ini"), "[Profile]\r\nDefault\r\n[Profiles]\r\nDefault;Other;\r\n");
        writeFile(profileFile("Default", "Default.vmdb"), databaseText("HOME", {"home.mp3"}));
        writeFile(profileFile("Default", "PlayerConfig.ini"), defaultPlayerConfigIni());
        writeFile(profileFile("Other", "PlayerConfig.ini"), defaultPlayerConfigIni());
        ProfileSettings other = SetDefopts("Other");
        other.SizeOfDB = 321;
        writeFile(profileFile("Other", "Profile.ini"), joinLinesCrLf(profileFileLines(other)));
        writeFile(profileFile("Other", "Other.vmdb"), databaseText("AWAY", {"a.mp3", "b.mp3"}));
        ASSERT_TRUE(ReadOpt(session));
        ReadProfile(session);
        ASSERT_TRUE(LoadData(session));
        session.db.setDBModified(false);
        ASSERT_EQ(session.Profiles, (Names{"Default", "Other"}));
    }

    // Marks the first song used: the database now differs from its file.
    void modifyDatabase() {
        session.db.SetStatus(session.db.musicList().first()->data(), ssUsed);
        ASSERT_TRUE(session.db.DBModified());
    }
};

TEST_F(ProfileCommands, NewProfileGetsDefaultFilesAndIsListedLast) {
    setUpTwoProfiles();
    modifyDatabase();
    const std::string defaultDb = readFile(profileFile("Default", "Default.vmdb"));
    session.settings.SizeOfDB = 999;

    session.CurrentProfile = "New One";
    MakeProfile(session);
    EXPECT_TRUE(ui.shown.empty());
    EXPECT_TRUE(session.db.musicTree().empty());
    EXPECT_EQ(session.settings.SizeOfDB, 500);
    EXPECT_EQ(session.Profiles, (Names{"Default", "Other", "New One"}));
    EXPECT_EQ(session.SelectedProfile, 2);
    EXPECT_EQ(readFile(profileFile("New One", "Profile.ini")), defaultProfileIni("New One"));
    EXPECT_EQ(readFile(profileFile("New One", "PlayerConfig.ini")), defaultPlayerConfigIni());
    EXPECT_EQ(readFile(path("Options.ini")), "[Profile]\r\nNew One\r\n[Profiles]\r\nDefault;Other;New One;\r\n");
    // The database left behind is neither saved nor asked about.
    EXPECT_EQ(readFile(profileFile("Default", "Default.vmdb")), defaultDb);
}

TEST_F(ProfileCommands, NewProfileReplacesPlayerConfigurationsLeftInItsFolder) {
    writeFile(profileFile("Fresh", "PlayerConfig.ini"), playerBlock("Old", "old"));
    session.PlayerConfigs = {{"Mine", "mine", "", "", "m3u", "", false, false, false}};
    session.CurrentProfile = "Fresh";
    MakeProfile(session);
    EXPECT_EQ(session.PlayerConfigs, defaultPlayerConfigs());
    EXPECT_EQ(readFile(profileFile("Fresh", "PlayerConfig.ini")), defaultPlayerConfigIni());
}

TEST_F(ProfileCommands, RenameMovesFolderAndDefaultDatabaseFile) {
    setUpTwoProfiles();
    const std::string songs = readFile(profileFile("Default", "Default.vmdb"));

    RenameProfile(session, "Home");
    EXPECT_EQ(session.CurrentProfile, "Home");
    EXPECT_EQ(session.Profiles, (Names{"Home", "Other"}));
    EXPECT_EQ(session.SelectedProfile, 0);
    EXPECT_FALSE(exists(path("Profiles/Default")));
    EXPECT_FALSE(exists(profileFile("Home", "Default.vmdb")));
    EXPECT_EQ(readFile(profileFile("Home", "Home.vmdb")), songs);
    EXPECT_EQ(session.settings.DBName, "Profiles\\Home\\Home.vmdb");
    EXPECT_EQ(session.settings.PathToDB, "Profiles\\Home\\MusicBase");
    EXPECT_EQ(readFile(profileFile("Home", "Profile.ini")), defaultProfileIni("Home"));
    EXPECT_EQ(readFile(path("Options.ini")), "[Profile]\r\nHome\r\n[Profiles]\r\nHome;Other;\r\n");
}

// Everything a failed profile command must leave as it was.
struct ProfileSnapshot {
    std::string currentProfile;
    Names profiles;
    int selected;
    std::string dbName;
    std::string options;
    Names musicList;
    bool operator==(const ProfileSnapshot&) const = default;
};

ProfileSnapshot snapshot(Session& s, const std::string& optionsPath) {
    return {s.CurrentProfile, s.Profiles, s.SelectedProfile, s.settings.DBName, readFile(optionsPath),
            captionsOf(s.db.musicList())};
}

TEST_F(ProfileCommands, RenameOntoAnUnlistedFolderIsRefusedWithTheReasonAndChangesNothing) {
    setUpTwoProfiles();
    writeFile(profileFile("Home", "notes.txt"), "someone else's");
    const std::string songs = readFile(profileFile("Default", "Default.vmdb"));
    const ProfileSnapshot before = snapshot(session, path("Options.ini"));

    EXPECT_FALSE(RenameProfile(session, "Home"));
    EXPECT_EQ(ui.errors(), Names{"Cannot rename the folder \"" + path("Profiles/Default") + "\" to \"" +
                                 path("Profiles/Home") + "\". File exists"});
    EXPECT_EQ(snapshot(session, path("Options.ini")), before);
    EXPECT_EQ(readFile(profileFile("Default", "Default.vmdb")), songs);
    EXPECT_EQ(readFile(profileFile("Home", "notes.txt")), "someone else's");
    EXPECT_FALSE(exists(profileFile("Home", "Default.vmdb")));
}

TEST_F(ProfileCommands, RenameWhoseDatabaseCannotMoveKeepsTheFolderWhereItWas) {
    setUpTwoProfiles();
    // The folder already holds a file under the database's new name: it is not overwritten.
    writeFile(profileFile("Default", "Home.vmdb"), "not a database");
    const ProfileSnapshot before = snapshot(session, path("Options.ini"));

    EXPECT_FALSE(RenameProfile(session, "Home"));
    EXPECT_EQ(ui.errors(), Names{"Cannot rename the file \"" + path("Profiles/Home/Default.vmdb") + "\" to \"" +
                                 path("Profiles/Home/Home.vmdb") + "\". File exists"});
    EXPECT_EQ(snapshot(session, path("Options.ini")), before);
    EXPECT_TRUE(exists(profileFile("Default", "Default.vmdb")));
    EXPECT_EQ(readFile(profileFile("Default", "Home.vmdb")), "not a database");
    EXPECT_FALSE(exists(path("Profiles/Home")));
}

TEST_F(ProfileCommands, NewAndRenameRefuseATakenNameWithTheErrorBox) {
    setUpTwoProfiles();
    const ProfileSnapshot before = snapshot(session, path("Options.ini"));
    EXPECT_FALSE(NewProfile(session, "other"));
    EXPECT_FALSE(RenameProfile(session, "Other"));
    ASSERT_EQ(ui.shown.size(), 2u);
    EXPECT_EQ(ui.shown[0].kind, "errorbox");
    EXPECT_EQ(ui.shown[1].kind, "errorbox");
    EXPECT_EQ(snapshot(session, path("Options.ini")), before);

    EXPECT_TRUE(NewProfile(session, "Party"));
    EXPECT_EQ(session.CurrentProfile, "Party");
    EXPECT_EQ(session.Profiles, (Names{"Default", "Other", "Party"}));
}

TEST_F(ProfileCommands, DeleteWhoseFolderCannotBeSetAsideKeepsTheProfile) {
    setUpTwoProfiles();
    SwitchProfile(session, "Other");
    writeFile(path("Profiles/Other [DELETED]/Other.vmdb"), "deleted before");
    const ProfileSnapshot before = snapshot(session, path("Options.ini"));

    EXPECT_FALSE(DeleteProfile(session));
    EXPECT_EQ(ui.errors(), Names{"Cannot rename the folder \"" + path("Profiles/Other") + "\" to \"" +
                                 path("Profiles/Other [DELETED]") + "\". File exists"});
    EXPECT_EQ(snapshot(session, path("Options.ini")), before);
    EXPECT_TRUE(exists(profileFile("Other", "Other.vmdb")));
}

TEST_F(ProfileCommands, RenameKeepsCustomDatabaseNameAndDestination) {
    setUpTwoProfiles();
    const std::string customDb = path("Data/mine.vmdb");
    writeFile(customDb, databaseText("MINE", {"m.mp3"}));
    session.settings.DBName = "Data\\mine.vmdb";
    session.settings.PathToDB = "/srv/music";

    RenameProfile(session, "Home");
    EXPECT_EQ(session.settings.DBName, "Data\\mine.vmdb");
    EXPECT_EQ(session.settings.PathToDB, "/srv/music");
    EXPECT_TRUE(exists(customDb));
    // The default-named file in the folder is not the database: it stays as it is.
    EXPECT_TRUE(exists(profileFile("Home", "Default.vmdb")));
    EXPECT_FALSE(exists(profileFile("Home", "Home.vmdb")));
    const auto lines = fileLines(profileFile("Home", "Profile.ini"));
    EXPECT_EQ(lines[1], "/srv/music");
    EXPECT_EQ(lines[11], "Data\\mine.vmdb");
}

TEST_F(ProfileCommands, RenameReplacesTheOldFolderInsideTheDestinationPath) {
    setUpTwoProfiles();
    session.settings.PathToDB = "Profiles\\Default\\Out\\Profiles\\Default\\Deep";
    RenameProfile(session, "Home");
    EXPECT_EQ(session.settings.PathToDB, "Profiles\\Home\\Out\\Profiles\\Home\\Deep");

    // Letter case must match for the destination to follow.
    session.settings.PathToDB = "profiles\\home\\Out";
    RenameProfile(session, "Away");
    EXPECT_EQ(session.settings.PathToDB, "profiles\\home\\Out");
}

TEST_F(ProfileCommands, DeleteRenamesTheFolderAndSwitchesToTheFirstProfile) {
    setUpTwoProfiles();
    SwitchProfile(session, "Other");
    ASSERT_EQ(session.CurrentProfile, "Other");
    ASSERT_EQ(session.SelectedProfile, 1);

    DeleteProfile(session);
    EXPECT_EQ(session.CurrentProfile, "Default");
    EXPECT_EQ(session.Profiles, Names{"Default"});
    EXPECT_EQ(session.SelectedProfile, 0);
    EXPECT_EQ(readFile(path("Options.ini")), kDefaultOptionsIni);
    // Nothing is deleted: the old folder keeps its database under a new name.
    EXPECT_TRUE(exists(path("Profiles/Other [DELETED]/Other.vmdb")));
    EXPECT_TRUE(exists(path("Profiles/Other [DELETED]/Profile.ini")));
    // The settings of the profile left behind were saved under its old name.
    EXPECT_TRUE(exists(profileFile("Other", "Profile.ini")));
    EXPECT_TRUE(exists(profileFile("Other", "PlayerConfig.ini")));
    EXPECT_FALSE(exists(profileFile("Other", "Other.vmdb")));
    EXPECT_EQ(captionsOf(session.db.musicList()), Names{"Disk /HOME/\\Folder\\home.mp3"});
}

TEST_F(ProfileCommands, DeletingTheOnlyProfileDoesNothing) {
    ASSERT_FALSE(ReadOpt(session));
    ReadProfile(session);
    const std::string options = readFile(path("Options.ini"));
    DeleteProfile(session);
    EXPECT_EQ(session.Profiles, Names{"Default"});
    EXPECT_EQ(session.CurrentProfile, "Default");
    EXPECT_TRUE(exists(path("Profiles/Default/Profile.ini")));
    EXPECT_FALSE(exists(path("Profiles/Default [DELETED]")));
    EXPECT_EQ(readFile(path("Options.ini")), options);
}

TEST_F(ProfileCommands, SwitchSavesTheLeftProfileAndLoadsTheNewOne) {
    setUpTwoProfiles();
    session.settings.SizeOfDB = 777;

    SwitchProfile(session, "Other");
    EXPECT_TRUE(ui.shown.empty()); // nothing modified: no question
    EXPECT_EQ(fileLines(profileFile("Default", "Profile.ini"))[3], "777");
    EXPECT_EQ(session.CurrentProfile, "Other");
    EXPECT_EQ(session.SelectedProfile, 1);
    EXPECT_EQ(session.settings.SizeOfDB, 321);
    EXPECT_EQ(session.settings.DBName, "Profiles\\Other\\Other.vmdb");
    EXPECT_EQ(captionsOf(session.db.musicList()),
              (Names{"Disk /AWAY/\\Folder\\a.mp3", "Disk /AWAY/\\Folder\\b.mp3"}));
    EXPECT_EQ(session.db.counters().a.count, 2);
    EXPECT_FALSE(session.db.DBModified());
}

TEST_F(ProfileCommands, SwitchAsksAboutAModifiedDatabase) {
    setUpTwoProfiles();
    const std::string before = readFile(profileFile("Default", "Default.vmdb"));
    modifyDatabase();
    ui.answers = {false};
    SwitchProfile(session, "Other");
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].kind, "question");
    EXPECT_EQ(ui.shown[0].text, "Do you want to save your music data base ?");
    EXPECT_EQ(readFile(profileFile("Default", "Default.vmdb")), before);

    modifyDatabase();
    ui.answers = {true};
    SwitchProfile(session, "Default");
    EXPECT_NE(readFile(profileFile("Other", "Other.vmdb")).find("a.mp3:7:"), std::string::npos);
    EXPECT_EQ(session.CurrentProfile, "Default");
    EXPECT_EQ(captionsOf(session.db.musicList()), Names{"Disk /HOME/\\Folder\\home.mp3"});
}

TEST_F(ProfileCommands, SwitchToTheCurrentProfileDoesNothing) {
    setUpTwoProfiles();
    modifyDatabase();
    session.settings.SizeOfDB = 777;
    SwitchProfile(session, "Default");
    EXPECT_TRUE(ui.shown.empty());
    EXPECT_TRUE(session.db.DBModified());
    EXPECT_EQ(session.settings.SizeOfDB, 777);
    EXPECT_EQ(fileLines(profileFile("Default", "Profile.ini"))[3], "500");
}

} // namespace
} // namespace velmo::test
