// Start-up and shutdown: what a first start writes, the debug switch, the database loaded at
// start, the close question, the save question on leaving, and a profile used for one run.
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

class Lifecycle : public SessionTest {
protected:
    std::string defaultDb() const { return profileFile("Default", "Default.vmdb"); }

    // Loads a database of one disk with two unused songs into the Default profile.
    void loadSongs() {
        writeFile(defaultDb(), databaseText("CD1", {"one.mp3", "two.mp3"}));
        ASSERT_TRUE(LoadData(session));
        session.db.setDBModified(false);
    }
    // Marks the first song used, so that the database differs from its file.
    void modify() {
        session.db.SetStatus(session.db.musicList().first()->data(), ssUsed);
        ASSERT_TRUE(session.db.DBModified());
    }
    ConfirmOptions& opts() { return session.settings.ConfirmOpts; }
    void chooseExitAction(ConfirmFlag action) {
        opts()[ConfirmSavingOnExit] = false;
        opts()[AutoSave] = opts()[AutoSaveAs] = opts()[AutoDontSave] = false;
        opts()[action] = true;
    }
};

// --- Start-up ------------------------------------------------------------------------------

TEST_F(Lifecycle, FirstStartWritesTheDefaultFilesByteForByte) {
    EXPECT_TRUE(Startup(session, {}));
    EXPECT_TRUE(fs::is_directory(path("Profiles")));
    EXPECT_TRUE(fs::is_directory(path("Language")));
    EXPECT_EQ(readFile(path("Options.ini")), kDefaultOptionsIni);
    EXPECT_EQ(readFile(profileFile("Default", "Profile.ini")), defaultProfileIni("Default"));
    EXPECT_EQ(readFile(profileFile("Default", "PlayerConfig.ini")), defaultPlayerConfigIni());
    EXPECT_FALSE(exists(defaultDb()));
    EXPECT_EQ(session.CurrentProfile, "Default");
    EXPECT_EQ(session.settings.PlayerConfigIndex, 1);
    EXPECT_EQ(session.PlayerConfigs[static_cast<size_t>(session.settings.PlayerConfigIndex)].Name, "VLC");
    EXPECT_TRUE(ui.shown.empty());
}

TEST_F(Lifecycle, SecondStartReadsTheFilesOfTheFirst) {
    ASSERT_TRUE(Startup(session, {}));
    Shutdown(session);
    const std::string options = readFile(path("Options.ini"));
    const std::string profile = readFile(profileFile("Default", "Profile.ini"));
    const std::string players = readFile(profileFile("Default", "PlayerConfig.ini"));

    ScriptedUi ui2;
    Session again(dir.path(), services.forUser(ui2), std::make_unique<ScriptedRandom>());
    EXPECT_TRUE(Startup(again, {}));
    Shutdown(again);
    EXPECT_EQ(readFile(path("Options.ini")), options);
    EXPECT_EQ(readFile(profileFile("Default", "Profile.ini")), profile);
    EXPECT_EQ(readFile(profileFile("Default", "PlayerConfig.ini")), players);
    EXPECT_TRUE(ui2.shown.empty());
}

TEST_F(Lifecycle, DebugModeOnlyForAnExactFirstArgument) {
    const std::vector<std::pair<Names, bool>> cases{
        {{"/debug"}, true},          {{"-debug"}, true},    {{"-debug", "x"}, true}, {{}, false},
        {{"/DEBUG"}, false},         {{"-Debug"}, false},   {{"x", "-debug"}, false}, {{"--debug"}, false},
        {{"-debug "}, false},        {{"debug"}, false},
    };
    for (const auto& [args, expected] : cases) {
        ScriptedUi caseUi;
        Session s(dir.path(), services.forUser(caseUi), std::make_unique<ScriptedRandom>());
        StartupOptions options;
        options.arguments = args;
        Startup(s, options);
        EXPECT_EQ(s.DebugMode, expected) << (args.empty() ? "(none)" : args.front());
    }
}

TEST_F(Lifecycle, StartLoadsTheProfileDatabaseUnmodified) {
    writeFile(path("Options.ini"), "[Profile]\r\nMusic\r\n[Profiles]\r\nDefault;Music;\r\n");
    writeFile(profileFile("Music", "Music.vmdb"), databaseText("CD1", {"one.mp3"}, 7));
    EXPECT_TRUE(Startup(session, {}));
    EXPECT_EQ(session.CurrentProfile, "Music");
    EXPECT_EQ(captionsOf(session.db.musicList()), Names{"Disk /CD1/\\Folder\\one.mp3"});
    EXPECT_FALSE(session.db.DBModified());
}

TEST_F(Lifecycle, CurrentProfileWithoutFolderFallsBackToDefault) {
    writeFile(path("Options.ini"), "[Profile]\r\nGone\r\n[Profiles]\r\nDefault;Gone;\r\n");
    EXPECT_TRUE(Startup(session, {}));
    EXPECT_EQ(session.CurrentProfile, "Default");
    EXPECT_EQ(session.Profiles, Names{"Default"});
    EXPECT_EQ(readFile(profileFile("Default", "Profile.ini")), defaultProfileIni("Default", 0));
}

TEST_F(Lifecycle, OptionsFileTooShortToNameAProfileGivesFreshDefaults) {
    writeFile(path("Options.ini"), "[Profile]\r\n");
    writeFile(profileFile("Default", "Profile.ini"), "[Path to DB]\r\n/srv/out\r\n");
    writeFile(profileFile("Default", "PlayerConfig.ini"), playerBlock("Mine", "mine"));
    EXPECT_TRUE(Startup(session, {}));
    EXPECT_EQ(readFile(path("Options.ini")), "[Profile]\r\n");
    EXPECT_EQ(readFile(profileFile("Default", "Profile.ini")), defaultProfileIni("Default"));
    EXPECT_EQ(readFile(profileFile("Default", "PlayerConfig.ini")), defaultPlayerConfigIni());
    EXPECT_EQ(session.settings.PathToDB, "Profiles\\Default\\MusicBase");
}

TEST_F(Lifecycle, ResetQuestionIsAskedOnceLoadedAndYesResetsTheIcons) {
    writeFile(defaultDb(), databaseText("CD1", {"one.mp3"}, 7));
    for (bool answer : {false, true}) {
        ScriptedUi caseUi;
        Session s(dir.path(), services.forUser(caseUi), std::make_unique<ScriptedRandom>());
        int asked = 0;
        StartupOptions options;
        options.askForReset = [&](Session& asking) {
            ++asked;
            EXPECT_EQ(asking.db.counters().a.count, 1);
            return answer;
        };
        EXPECT_TRUE(Startup(s, options));
        EXPECT_EQ(asked, 1);
        EXPECT_EQ(MusicDatabase::statusOf(s.db.musicList().first()->data()), answer ? ssUnused : ssUsed);
    }
}

// --- A profile for one run -------------------------------------------------------------------

TEST_F(Lifecycle, RunOnlyProfileLeavesTheCurrentProfileOfOptionsUnchanged) {
    writeFile(path("Options.ini"), "[Profile]\r\nDefault\r\n[Profiles]\r\nDefault;Kids;\r\n");
    fs::create_directories(path("Profiles/Kids"));
    StartupOptions options;
    options.profile = "Kids";
    ASSERT_TRUE(Startup(session, options));
    EXPECT_EQ(session.CurrentProfile, "Kids");
    session.settings.SizeOfDB = 42;

    Shutdown(session);
    EXPECT_EQ(readFile(path("Options.ini")), "[Profile]\r\nDefault\r\n[Profiles]\r\nDefault;Kids;\r\n");
    EXPECT_EQ(fileLines(profileFile("Kids", "Profile.ini"))[3], "42");
    EXPECT_EQ(session.CurrentProfile, "Kids");
}

TEST_F(Lifecycle, UnknownRunOnlyProfileIsRefused) {
    StartupOptions options;
    options.profile = "Nobody";
    EXPECT_FALSE(Startup(session, options));
    EXPECT_EQ(ui.errors().size(), 1u);
    EXPECT_FALSE(exists(path("Profiles/Nobody")));
}

// --- Closing -------------------------------------------------------------------------------

TEST_F(Lifecycle, CloseQuestionDefaultsToNo) {
    ASSERT_TRUE(opts()[ConfirmClose]);
    EXPECT_FALSE(FormCloseQuery(session)); // no answer scripted: the default button
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].kind, "question");
    EXPECT_EQ(ui.shown[0].caption, "Confirmation");
    EXPECT_EQ(ui.shown[0].text, "Quit the program right now ?");

    ui.answers = {true};
    EXPECT_TRUE(FormCloseQuery(session));
    ui.answers = {false};
    EXPECT_FALSE(FormCloseQuery(session));
}

TEST_F(Lifecycle, CloseWithoutConfirmationAsksNothing) {
    opts()[ConfirmClose] = false;
    EXPECT_TRUE(FormCloseQuery(session));
    EXPECT_TRUE(ui.shown.empty());
}

TEST_F(Lifecycle, UnmodifiedDatabaseIsLeftAlone) {
    loadSongs();
    const auto before = fs::last_write_time(defaultDb());
    AskForSaving(session);
    for (ConfirmFlag action : {AutoSave, AutoSaveAs, AutoDontSave}) {
        chooseExitAction(action);
        AskForSaving(session);
    }
    EXPECT_TRUE(ui.shown.empty());
    EXPECT_TRUE(ui.dialogs.empty());
    EXPECT_EQ(fs::last_write_time(defaultDb()), before);
}

TEST_F(Lifecycle, SaveQuestionYesSavesTheDatabase) {
    loadSongs();
    modify();
    ui.answers = {true};
    AskForSaving(session);
    ASSERT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(ui.shown[0].kind, "question");
    EXPECT_EQ(ui.shown[0].caption, "Confirmation");
    EXPECT_EQ(ui.shown[0].text, "Do you want to save your music data base ?");
    EXPECT_EQ(readFile(defaultDb()), "Disk /CD1/:1:0\r\n"
                                     "\tFolder:4:0\r\n"
                                     "\t\tone.mp3:7:1048576:\x01\x01\x01\x01" "00255\r\n"
                                     "\t\ttwo.mp3:6:1048576:\x01\x01\x01\x01" "00255\r\n");
    EXPECT_FALSE(session.db.DBModified());
}

TEST_F(Lifecycle, SaveQuestionYesWithAnEmptyTreeDeletesTheFile) {
    loadSongs();
    MenuItemClearDBClick(session);
    session.db.setDBModified(true);
    ui.answers = {true};
    AskForSaving(session);
    EXPECT_EQ(ui.shown.size(), 1u);
    EXPECT_FALSE(exists(defaultDb()));
}

TEST_F(Lifecycle, SaveQuestionNoKeepsTheFile) {
    loadSongs();
    const std::string before = readFile(defaultDb());
    modify();
    ui.answers = {false};
    AskForSaving(session);
    EXPECT_EQ(ui.shown.size(), 1u);
    EXPECT_EQ(readFile(defaultDb()), before);
    EXPECT_TRUE(session.db.DBModified());
}

TEST_F(Lifecycle, AutoSaveSavesWithoutAsking) {
    loadSongs();
    modify();
    chooseExitAction(AutoSave);
    AskForSaving(session);
    EXPECT_TRUE(ui.shown.empty());
    EXPECT_NE(readFile(defaultDb()).find("one.mp3:7:"), std::string::npos);
}

TEST_F(Lifecycle, AutoSaveAsWithCancelledDialogSavesNothing) {
    loadSongs();
    const std::string before = readFile(defaultDb());
    modify();
    chooseExitAction(AutoSaveAs);
    AskForSaving(session);
    EXPECT_TRUE(ui.shown.empty());
    EXPECT_EQ(ui.dialogs.size(), 1u);
    EXPECT_EQ(readFile(defaultDb()), before);
    EXPECT_EQ(session.settings.DBName, "Profiles\\Default\\Default.vmdb");
}

TEST_F(Lifecycle, AutoSaveAsSavesUnderTheChosenName) {
    loadSongs();
    modify();
    chooseExitAction(AutoSaveAs);
    ui.files.push_back(path("Saved/copy.vmdb"));
    AskForSaving(session);
    EXPECT_NE(readFile(path("Saved/copy.vmdb")).find("one.mp3:7:"), std::string::npos);
    EXPECT_EQ(session.settings.DBName, "Saved\\copy.vmdb");
}

TEST_F(Lifecycle, AutoDontSaveDoesNothing) {
    loadSongs();
    const std::string before = readFile(defaultDb());
    modify();
    chooseExitAction(AutoDontSave);
    AskForSaving(session);
    EXPECT_TRUE(ui.shown.empty());
    EXPECT_TRUE(ui.dialogs.empty());
    EXPECT_EQ(readFile(defaultDb()), before);
}

TEST_F(Lifecycle, ShutdownAsksThenWritesOptionsAndProfile) {
    ASSERT_TRUE(Startup(session, {}));
    loadSongs();
    modify();
    session.settings.Language = "Deutsch";
    session.PlayerConfigs.push_back({"Extra", "extra", "", "", "m3u", "", false, false, false});
    std::filesystem::remove(path("Options.ini"));
    ui.answers = {true};

    Shutdown(session);
    EXPECT_EQ(ui.shown.size(), 1u);
    EXPECT_NE(readFile(defaultDb()).find("one.mp3:7:"), std::string::npos);
    EXPECT_EQ(readFile(path("Options.ini")), kDefaultOptionsIni);
    EXPECT_EQ(fileLines(profileFile("Default", "Profile.ini"))[5], "Deutsch");
    EXPECT_EQ(fileLines(profileFile("Default", "PlayerConfig.ini")).size(), 45u);
}

} // namespace
} // namespace velmo::test
