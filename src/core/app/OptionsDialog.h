#pragma once
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "external/PlayerConfig.h"
#include "settings/ProfileSettings.h"

namespace velmo {

struct Session;
class MessageTable;

// What the options dialog shows: one value per control, named after the control. The dialog
// copies them to its widgets and back; everything it decides is decided here.
struct OptionsValues {
    // General
    std::string EditMDBPath; // a path on this machine
    std::string EditMDBSize;
    // MP3, WMA, OGG, WAV, APE, MID
    static constexpr std::array<const char*, 6> kStdExtensions = {"MP3", "WMA", "OGG", "WAV", "APE", "MID"};
    std::array<bool, 6> CheckBoxExtensions{};
    std::string EditWithExts;
    std::string ComboBoxLanguages;
    int ComboBoxGoodBehavior = 0; // 1: cycle
    bool CheckBoxFixGoodSize = false;
    std::string EditFixGoodSize;
    int ComboBoxFixGoodSize = 0; // 0: of the playlist
    bool CheckBoxShowHints = false;
    bool CheckBoxDontShowTag = false;
    // Confirmations; the combos hold the index of the set flag of their group.
    bool CheckBoxConfirmExit = false, CheckBoxConfirmSaving = false;
    int ComboBoxConfirmSaving = 0;
    bool CheckBoxConfirmLargePlayList = false, CheckBoxCopyFromHDD = false;
    int ComboBoxCopyFromDHH = 0;
    bool CheckBoxSkip = false;
    int ComboBoxSkip = 0;
    bool CheckBoxShowPlayListFileName = false, CheckBoxShowNoFilesFolderWarn = false, CheckBoxConfirmDel = false,
         CheckBoxConfirmDelFromDisk = false;
    // Other
    bool CheckBoxFocusAfterDragNDrop = false, CheckBoxLastVisitedTab = false, CheckBoxLastVisitedTree = false,
         CheckBoxAutoExpand = false, CheckBoxSilentAddMode = false, CheckBoxOnlyForHDDs = false,
         CheckBoxAutoCloseAddCDForm = false, CheckBoxOnlyAfterDnD = false;
    std::string EditShellCommand;
    bool CheckBoxPassDir = false, CheckBoxOnlyIfFile = false;
    // Play now !: the configurations as edited (switching the combo keeps the edits), the
    // one shown.
    bool RadioButtonBuiltIn = true;
    int ComboBoxPlayNowConfig = 0;
    std::vector<TPlayerConfig> PlayerConfigs;
};

// Which controls are usable, from the values.
struct OptionsEnabled {
    bool ComboBoxConfirmSaving, ComboBoxCopyFromDHH, ComboBoxSkip;
    bool EditFixGoodSize; // with ComboBoxFixGoodSize and LabelPercent
    bool CheckBoxOnlyAfterDnD, CheckBoxOnlyForHDDs, CheckBoxOnlyIfFile, CheckBoxDontShowTag;
    bool GroupBoxExPlayerConfig; // with ComboBoxPlayNowConfig and every control of the group
    bool CheckBoxPassLastBeforeFile;
};
OptionsEnabled enablingRules(const OptionsValues& v);

// The settings of the current profile as the dialog shows them.
OptionsValues LoadOpts(const Session& s);

// The items of the five combo boxes that come from the message table, in this order:
// ComboBoxGoodBehavior, ComboBoxConfirmSaving, ComboBoxCopyFromDHH, ComboBoxSkip,
// ComboBoxFixGoodSize.
std::array<std::vector<std::string>, 5> LoadOptsCombos(const MessageTable& messages);

// The confirmation check boxes and three-way combos from the flags, and back: a combo holds the
// index of its group's set flag, and gives the flag of its index alone.
void ApplyConfirmOptsToWnd(const ConfirmOptions& flags, OptionsValues& values);
void SetConfirmOpts(const OptionsValues& values, ConfirmOptions& flags);

// The calls external play would make with this configuration, each as program and parameters
// joined, with the list file it would write for the current profile, quoted.
std::vector<std::string> ReloadPreView(const TPlayerConfig& shown, const Session& s);

// The shell command that opens an item with a chosen application.
std::string shellCommandFor(const std::string& application);

// PathToDB as it is stored: relative to the program folder ("Profiles\Default\MusicBase", with
// ".." steps where needed) when the folder is on the program folder's file system, else the
// absolute path on this machine.
std::string storedPathToDB(const std::string& edited, const std::string& appDir);

// A field OK cannot take: the control holding it and the conversion error.
struct OptionsError {
    std::string control; // "EditMDBSize" or "EditFixGoodSize"
    std::string text;
};
std::optional<OptionsError> checkOpts(const OptionsValues& values);

// OK: every field is checked first (checkOpts); a bad number gives its conversion error and nothing is
// applied (the dialog stays open). Otherwise the values become the profile's settings (the
// language applied, Just Good songs made unused again when the cycle is turned off), the
// configurations are stored and the profile is saved. Returns the error, or nullopt.
std::optional<std::string> ApplyOpts(Session& s, const OptionsValues& values);

} // namespace velmo
