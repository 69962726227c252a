#include "app/OptionsDialog.h"

#include <filesystem>
#include <sys/stat.h>

#include "app/ExternalPlay.h"
#include "app/Languages.h"
#include "app/Profiles.h"
#include "app/Session.h"
#include "base/MessageTable.h"
#include "playlist/DestinationFolder.h"
#include "playlist/PlaylistGenerator.h"
#include "util/AsciiCase.h"
#include "util/IntConversion.h"
#include "util/TextLines.h"

namespace velmo {

namespace {

namespace fs = std::filesystem;

int indexOfSetFlag(const ConfirmOptions& o, ConfirmFlag first) {
    for (int i = 0; i < 3; ++i)
        if (o[first + i]) return i;
    return 0;
}

void setGroup(ConfirmOptions& o, ConfirmFlag first, int index) {
    for (int i = 0; i < 3; ++i) o[first + i] = i == index;
}

// The device of a path, or of its nearest existing folder above it.
std::optional<dev_t> deviceOf(fs::path path) {
    for (;;) {
        struct stat st {};
        if (::stat(path.c_str(), &st) == 0) return st.st_dev;
        if (!path.has_relative_path()) return std::nullopt;
        path = path.parent_path();
    }
}

} // namespace

OptionsEnabled enablingRules(const OptionsValues& v) {
    OptionsEnabled e{};
    e.ComboBoxConfirmSaving = !v.CheckBoxConfirmSaving;
    e.ComboBoxCopyFromDHH = !v.CheckBoxCopyFromHDD;
    e.ComboBoxSkip = v.CheckBoxSkip;
    e.EditFixGoodSize = v.CheckBoxFixGoodSize;
    e.CheckBoxOnlyAfterDnD = v.CheckBoxAutoCloseAddCDForm;
    e.CheckBoxOnlyForHDDs = v.CheckBoxSilentAddMode;
    e.CheckBoxOnlyIfFile = v.CheckBoxPassDir;
    e.CheckBoxDontShowTag = v.CheckBoxShowHints;
    e.GroupBoxExPlayerConfig = !v.RadioButtonBuiltIn;
    const bool lastSeparately = v.ComboBoxPlayNowConfig >= 0 &&
                                static_cast<size_t>(v.ComboBoxPlayNowConfig) < v.PlayerConfigs.size() &&
                                v.PlayerConfigs[static_cast<size_t>(v.ComboBoxPlayNowConfig)].PassLastSeparately;
    e.CheckBoxPassLastBeforeFile = !lastSeparately && !v.RadioButtonBuiltIn;
    return e;
}

OptionsValues LoadOpts(const Session& s) {
    const ProfileSettings& p = s.settings;
    OptionsValues v;
    auto destination = DestinationFolder::resolve(p.PathToDB, s.AppDir, const_cast<Session&>(s).drives());
    v.EditMDBPath = destination ? destination->folder : p.PathToDB;
    v.EditMDBSize = std::to_string(p.SizeOfDB);
    for (size_t i = 0; i < v.CheckBoxExtensions.size(); ++i)
        for (const std::string& e : p.StdExtensions)
            if (asciiUpper(e) == OptionsValues::kStdExtensions[i]) v.CheckBoxExtensions[i] = true;
    v.EditWithExts = joinListLine(p.UserExtensions);
    v.ComboBoxLanguages = p.Language;
    v.ComboBoxGoodBehavior = p.GoodCycle ? 1 : 0;
    v.CheckBoxFixGoodSize = p.GoodFixed;
    v.EditFixGoodSize = std::to_string(p.GoodPercent);
    v.ComboBoxFixGoodSize = p.GoodOfPlayList ? 0 : 1;
    v.CheckBoxShowHints = p.ShowHints;
    v.CheckBoxDontShowTag = !p.ShowTag;
    ApplyConfirmOptsToWnd(p.ConfirmOpts, v);
    v.CheckBoxFocusAfterDragNDrop = p.FocusAfterDrag;
    v.CheckBoxLastVisitedTab = p.SaveLastTab;
    v.CheckBoxLastVisitedTree = p.SaveLastTree;
    v.CheckBoxAutoExpand = p.AutoExpand;
    v.CheckBoxSilentAddMode = p.SilentAddingMode;
    v.CheckBoxOnlyForHDDs = p.OnlyForHDDs;
    v.CheckBoxAutoCloseAddCDForm = p.AutoCloseAddDiskForm;
    v.CheckBoxOnlyAfterDnD = p.OnlyAfterDnD;
    v.EditShellCommand = p.ShellCommand;
    v.CheckBoxPassDir = p.PassDir;
    v.CheckBoxOnlyIfFile = p.OnlyIfFile;
    v.RadioButtonBuiltIn = p.BuiltInPlayer;
    v.PlayerConfigs = s.PlayerConfigs;
    v.ComboBoxPlayNowConfig = p.PlayerConfigIndex;
    return v;
}

std::array<std::vector<std::string>, 5> LoadOptsCombos(const MessageTable& m) {
    return {{{m[msgGoodRemainUnused], m[msgGoodCycle]},
             {m[msgSave], m[msgSaveAs], m[msgDontSave]},
             {m[msgCopyFromHDDAlso], m[msgDontCopy], m[msgAskForEachDrive]},
             {m[msgSkipADisk], m[msgSkipAFile], m[msgSkipADiskOrAFile]},
             {m[msgOfPlaylistSize], m[msgOfAllJustGoodSize]}}};
}

void ApplyConfirmOptsToWnd(const ConfirmOptions& o, OptionsValues& v) {
    v.CheckBoxConfirmExit = o[ConfirmClose];
    v.CheckBoxConfirmSaving = o[ConfirmSavingOnExit];
    v.ComboBoxConfirmSaving = indexOfSetFlag(o, AutoSave);
    v.CheckBoxConfirmLargePlayList = o[ConfirmLargePL];
    v.CheckBoxCopyFromHDD = o[ConfirmCopyFromHDD];
    v.ComboBoxCopyFromDHH = indexOfSetFlag(o, AutoCopy);
    v.CheckBoxSkip = o[ConfirmSkip];
    v.ComboBoxSkip = indexOfSetFlag(o, AutoSkipDisk);
    v.CheckBoxShowPlayListFileName = o[ShowResultWnd];
    v.CheckBoxShowNoFilesFolderWarn = o[ShowNoFilesWarn];
    v.CheckBoxConfirmDel = o[ConfirmDel];
    v.CheckBoxConfirmDelFromDisk = o[ConfirmDiskDel];
}

void SetConfirmOpts(const OptionsValues& v, ConfirmOptions& o) {
    o[ConfirmClose] = v.CheckBoxConfirmExit;
    o[ConfirmSavingOnExit] = v.CheckBoxConfirmSaving;
    setGroup(o, AutoSave, v.ComboBoxConfirmSaving);
    o[ConfirmLargePL] = v.CheckBoxConfirmLargePlayList;
    o[ConfirmCopyFromHDD] = v.CheckBoxCopyFromHDD;
    setGroup(o, AutoCopy, v.ComboBoxCopyFromDHH);
    o[ConfirmSkip] = v.CheckBoxSkip;
    setGroup(o, AutoSkipDisk, v.ComboBoxSkip);
    o[ShowResultWnd] = v.CheckBoxShowPlayListFileName;
    o[ShowNoFilesWarn] = v.CheckBoxShowNoFilesFolderWarn;
    o[ConfirmDel] = v.CheckBoxConfirmDel;
    o[ConfirmDiskDel] = v.CheckBoxConfirmDelFromDisk;
}

std::vector<std::string> ReloadPreView(const TPlayerConfig& c, const Session& s) {
    const std::string app = expandVariable(c.ApplicationPath);
    // The file external play would really write, so the preview is what will be started.
    const std::string sample = "\"" + listFilePathFor(s, c.FileListExt) + "\"";
    std::vector<std::string> lines;
    std::string line = app + c.ParameterBefore;
    if (c.PassFirstSeparately) {
        lines.push_back(line);
        line = app;
    }
    if (c.PassLastSeparately)
        line += " " + sample;
    else if (c.PassLastBeforeFile)
        line += c.ParameterAfter + " " + sample;
    else
        line += " " + sample + c.ParameterAfter;
    lines.push_back(line);
    if (c.PassLastSeparately) lines.push_back(app + c.ParameterAfter);
    return lines;
}

std::string shellCommandFor(const std::string& application) { return application + ">%file%"; }

std::optional<OptionsError> checkOpts(const OptionsValues& v) {
    for (const auto& [control, text] : {std::pair{"EditMDBSize", &v.EditMDBSize},
                                        std::pair{"EditFixGoodSize", &v.EditFixGoodSize}}) {
        try {
            strToInt(*text);
        } catch (const ConversionError& e) {
            return OptionsError{control, e.what()};
        }
    }
    return std::nullopt;
}

std::string storedPathToDB(const std::string& edited, const std::string& appDir) {
    std::string text = edited;
    while (text.size() > 1 && (text.back() == '/' || text.back() == '\\')) text.pop_back();
    if (text.empty() || text.front() != '/') return text; // already relative, or a catalogue path
    const fs::path target = fs::path(text).lexically_normal();
    const fs::path base = fs::path(appDir).lexically_normal();
    const auto targetDevice = deviceOf(target);
    if (!targetDevice || targetDevice != deviceOf(base)) return target.string();
    std::string relative = target.lexically_relative(base).string();
    if (relative.empty() || relative == ".") return target.string();
    for (char& c : relative)
        if (c == '/') c = '\\';
    return relative;
}

std::optional<std::string> ApplyOpts(Session& s, const OptionsValues& v) {
    if (auto error = checkOpts(v)) return error->text;
    const int32_t size = strToInt(v.EditMDBSize), percent = strToInt(v.EditFixGoodSize);

    ProfileSettings& p = s.settings;
    p.PathToDB = storedPathToDB(v.EditMDBPath, s.AppDir);
    p.SizeOfDB = size;
    p.StdExtensions.clear();
    for (size_t i = 0; i < v.CheckBoxExtensions.size(); ++i)
        if (v.CheckBoxExtensions[i]) p.StdExtensions.push_back(OptionsValues::kStdExtensions[i]);
    p.UserExtensions = v.EditWithExts.empty() ? std::vector<std::string>{} : splitListLine(v.EditWithExts);
    if (v.ComboBoxLanguages != p.Language) SetLanguage(s, v.ComboBoxLanguages);
    p.GoodCycle = v.ComboBoxGoodBehavior == 1;
    if (!p.GoodCycle) UnUseGood(s.playlistContext());
    p.GoodFixed = v.CheckBoxFixGoodSize;
    p.GoodPercent = percent;
    p.GoodOfPlayList = v.ComboBoxFixGoodSize == 0;
    p.FocusAfterDrag = v.CheckBoxFocusAfterDragNDrop;
    p.SaveLastTree = v.CheckBoxLastVisitedTree;
    p.SaveLastTab = v.CheckBoxLastVisitedTab;
    p.AutoExpand = v.CheckBoxAutoExpand;
    p.AutoCloseAddDiskForm = v.CheckBoxAutoCloseAddCDForm;
    p.OnlyAfterDnD = v.CheckBoxOnlyAfterDnD;
    p.SilentAddingMode = v.CheckBoxSilentAddMode;
    p.OnlyForHDDs = v.CheckBoxOnlyForHDDs;
    p.BuiltInPlayer = v.RadioButtonBuiltIn;
    p.PlayerConfigIndex = v.ComboBoxPlayNowConfig;
    p.ShellCommand = v.EditShellCommand;
    p.PassDir = v.CheckBoxPassDir;
    p.OnlyIfFile = v.CheckBoxOnlyIfFile;
    p.ShowHints = v.CheckBoxShowHints;
    p.ShowTag = !v.CheckBoxDontShowTag;
    SetConfirmOpts(v, p.ConfirmOpts);
    if (!v.PlayerConfigs.empty()) s.PlayerConfigs = v.PlayerConfigs;
    SaveProfile(s);
    s.notifySettingsChanged();
    s.db.notifyStatisticsChanged();
    return std::nullopt;
}

} // namespace velmo
