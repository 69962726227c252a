#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace velmo {

// The confirmation flags of a profile, in file order. Three groups of three (saving on exit,
// copying from hard disks, skip confirmations) hold exactly one set flag each.
enum ConfirmFlag : uint8_t {
    ConfirmClose,
    ConfirmSavingOnExit,
    AutoSave,
    AutoSaveAs,
    AutoDontSave,
    ConfirmLargePL,
    ConfirmCopyFromHDD,
    AutoCopy,
    AutoDontCopy,
    AskForEach,
    ConfirmSkip,
    AutoSkipDisk,
    AutoSkipFile,
    AutoSkipDiskAndFile,
    ShowResultWnd,
    ShowNoFilesWarn,
    ConfirmDel,
    ConfirmDiskDel,
    ConfirmFlagCount,
};

using ConfirmOptions = std::array<bool, ConfirmFlagCount>;

// The confirmation defaults.
ConfirmOptions SetDefaultConfirmOpts();

// The settings of one profile, as its Profile.ini keeps them.
struct ProfileSettings {
    std::string PathToDB;
    int32_t SizeOfDB = 500;
    std::string Language = "English";
    std::vector<std::string> StdExtensions{"MP3", "WMA"};
    std::vector<std::string> UserExtensions;
    std::string DBName;
    bool GoodCycle = false;
    ConfirmOptions ConfirmOpts = SetDefaultConfirmOpts();
    bool GoodFixed = true;
    int32_t GoodPercent = 20;
    bool GoodOfPlayList = true;
    bool FocusAfterDrag = true;
    bool SaveLastTab = false;
    bool SaveLastTree = true;
    bool AutoCloseAddDiskForm = true;
    bool OnlyAfterDnD = true;
    bool SilentAddingMode = false;
    bool OnlyForHDDs = true;
    bool BuiltInPlayer = true;
    int32_t PlayerConfigIndex = 1;
    std::string ShellCommand = "xdg-open>%file%";
    bool PassDir = true;
    bool OnlyIfFile = true;
    bool ShowHints = true;
    bool ShowTag = true;

    // Window state kept with the profile: which tree is shown, whether the trees expand on
    // their own, and the active tab (which may be out of range: then no tab is active).
    bool MusicTreeVisible = true;
    bool AutoExpand = false;
    int32_t ActiveTab = 0;
};

// The defaults of a profile named `profile`, its paths included.
ProfileSettings SetDefopts(const std::string& profile);

// The default database and destination paths of a profile, relative to the program folder.
std::string defaultDBName(const std::string& profile);
std::string defaultPathToDB(const std::string& profile);

} // namespace velmo
