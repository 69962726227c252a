#pragma once
// Helpers shared by the settings tests: a session in a fresh program folder, the files a
// first start writes, and a small database to load.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/Session.h"
#include "support/FakeServices.h"
#include "support/DatabaseBuilders.h"
#include "support/DatabaseLines.h"
#include "support/TestSupport.h"
#include "util/TextLines.h"

namespace velmo::test {

// Options.ini as it is written for the single profile "Default".
inline const std::string kDefaultOptionsIni = "[Profile]\r\nDefault\r\n[Profiles]\r\nDefault\r\n";

// Profile.ini of a profile reset to its defaults, built from the profile's name. A profile
// read without a PlayerConfig.ini ends with player configuration 0.
inline std::string defaultProfileIni(const std::string& profile, int playerConfigIndex = 1) {
    return "[Path to DB]\r\n"
           "Profiles\\" + profile + "\\MusicBase\r\n"
           "[Size of DB]\r\n"
           "500\r\n"
           "[Language]\r\n"
           "English\r\n"
           "[Extensions]\r\n"
           "MP3;WMA;\r\n"
           "[User extensions]\r\n"
           "\r\n"
           "[DBName]\r\n"
           "Profiles\\" + profile + "\\" + profile + ".vmdb\r\n"
           "[GoodBehavior]\r\n"
           "RemainUnUsed\r\n"
           "[TreeView]\r\n"
           "Standard\r\n"
           "[Confirmations]\r\n"
           "DoConfirmClose\r\n"
           "DoConfirmSavingOnExit\r\n"
           "AutoSave\r\n"
           "DoConfirmLargePL\r\n"
           "DoConfirmCopyFromHDD\r\n"
           "AutoCopy\r\n"
           "DoConfirmSkip\r\n"
           "AutoSkipDisk\r\n"
           "DoShowResultWnd\r\n"
           "DoShowNoFilesWarn\r\n"
           "DoConfirmDel\r\n"
           "DoConfirmDiskDel\r\n"
           "[GoodFixed]\r\n"
           "IsFixed\r\n"
           "20\r\n"
           "OfPlayList\r\n"
           "[Other]\r\n"
           "DoFocusAfterDrag\r\n"
           "DoNotSaveLastTab\r\n"
           "0\r\n"
           "DoSaveLastTree\r\n"
           "DoNotAutoExpand\r\n"
           "DoAutoCloseAddDiskForm\r\n"
           "OnlyAfterDnD\r\n"
           "DoNotUseSilentAddingMode\r\n"
           "OnlyForHDDs\r\n"
           "[Player]\r\n"
           "BuiltIn\r\n" +
           std::to_string(playerConfigIndex) + "\r\n"
           "[ShellExecute]\r\n"
           "xdg-open>%file%\r\n"
           "DoPassDir\r\n"
           "OnlyIfFile\r\n"
           "DoShowHints\r\n"
           "DoShowTag\r\n";
}

inline std::string clearFlagLines() {
    return "DoNotPassFirstParamSeparately\r\nDoNotPassLastParamSeparately\r\nDoNotPassLastParamBeforeLastFile\r\n";
}

// The player configurations a new profile gets, as the 36 lines of PlayerConfig.ini.
inline std::string defaultPlayerConfigIni() {
    return "[Audacious]\r\naudacious\r\n\r\n\r\nm3u\r\n\r\n" + clearFlagLines() +
           "[VLC]\r\nvlc\r\n\r\n\r\nm3u\r\n\r\n" + clearFlagLines() +
           "[mpv]\r\nmpv\r\n\r\n\r\nm3u\r\n\r\n" + clearFlagLines() +
           "[User's]\r\n\r\n\r\n\r\nm3u\r\n\r\n" + clearFlagLines();
}

// A nine-line configuration block with the given name and application.
inline std::string playerBlock(const std::string& name, const std::string& app) {
    return "[" + name + "]\r\n" + app + "\r\n\r\n\r\nm3u\r\n\r\n" + clearFlagLines();
}

// A database with one disk, one root folder and the given songs of 1 MB each, unused unless
// another icon is given.
inline std::string databaseText(const std::string& label, const std::vector<std::string>& songs, int icon = 6) {
    std::string text = folderLine(0, "Disk /" + label + "/", 1) + folderLine(1, "Folder", 4);
    for (const auto& song : songs) text += songLine(2, song, icon, 1048576);
    return text;
}

inline bool exists(const std::string& path) { return std::filesystem::exists(path); }

inline std::vector<std::string> fileLines(const std::string& path) { return splitLines(readFile(path)); }

// A session over a fresh, empty program folder, with a scripted user.
class SessionTest : public ::testing::Test {
protected:
    SessionTest() : session(dir.path(), services.forUser(ui), std::make_unique<ScriptedRandom>()) {}

    std::string path(const std::string& relative) const { return dir.file(relative); }
    std::string profileFile(const std::string& profile, const std::string& name) const {
        return dir.file("Profiles/" + profile + "/" + name);
    }

    TempDir dir;
    ScriptedUi ui;
    FakeServices services;
    Session session;
};

} // namespace velmo::test
