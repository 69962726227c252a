// options, set and languages: the options dialog without its window.
#include <algorithm>
#include <array>
#include <cstdint>
#include <ostream>

#include "CliCommand.h"
#include "TerminalUi.h"
#include "app/Languages.h"
#include "app/OptionsDialog.h"
#include "app/Session.h"
#include "musicdb/MusicDatabase.h"
#include "util/AsciiCase.h"
#include "util/IntConversion.h"
#include "util/TextLines.h"

namespace velmo::cli {

namespace {

using Refusal = std::optional<std::string>;

// One setting as `options` prints it and `set` changes it: shown from the profile's settings,
// changed in the values the dialog's OK applies.
struct Setting {
    const char* name;
    std::function<std::string(const Session&)> show;
    std::function<Refusal(const Session&, OptionsValues&, const std::string&)> change;
};

// The names of the confirmation flags, in their order; a three-way group's value is the name of
// its set flag.
constexpr const char* kFlagNames[ConfirmFlagCount] = {
    "ConfirmClose",       "ConfirmSavingOnExit", "AutoSave",      "AutoSaveAs",   "AutoDontSave",
    "ConfirmLargePL",     "ConfirmCopyFromHDD",  "AutoCopy",      "AutoDontCopy", "AskForEach",
    "ConfirmSkip",        "AutoSkipDisk",        "AutoSkipFile",  "AutoSkipDiskAndFile",
    "ShowResultWnd",      "ShowNoFilesWarn",     "ConfirmDel",    "ConfirmDiskDel"};

std::string boolText(bool b) { return b ? "true" : "false"; }

Refusal parseBool(const std::string& value, bool& to) {
    if (value != "true" && value != "false") return "\"" + value + "\" is neither true nor false.";
    to = value == "true";
    return std::nullopt;
}

Refusal parseInt(const std::string& value, int32_t& to) {
    try {
        to = strToInt(value);
    } catch (const ConversionError& e) {
        return std::string(e.what());
    }
    return std::nullopt;
}

Setting flag(const char* name, bool ProfileSettings::*field, bool OptionsValues::*control, bool inverted = false) {
    return {name, [=](const Session& s) { return boolText(s.settings.*field); },
            [=](const Session&, OptionsValues& v, const std::string& value) {
                bool b = false;
                if (auto why = parseBool(value, b)) return why;
                v.*control = b != inverted;
                return Refusal{};
            }};
}

Setting confirmation(ConfirmFlag f, bool OptionsValues::*control) {
    return {kFlagNames[f], [=](const Session& s) { return boolText(s.settings.ConfirmOpts[f]); },
            [=](const Session&, OptionsValues& v, const std::string& value) { return parseBool(value, v.*control); }};
}

Setting group(const char* name, ConfirmFlag first, int OptionsValues::*combo) {
    return {name,
            [=](const Session& s) {
                for (int i = 0; i < 3; ++i)
                    if (s.settings.ConfirmOpts[first + i]) return std::string(kFlagNames[first + i]);
                return std::string(kFlagNames[first]);
            },
            [=](const Session&, OptionsValues& v, const std::string& value) {
                for (int i = 0; i < 3; ++i)
                    if (value == kFlagNames[first + i]) {
                        v.*combo = i;
                        return Refusal{};
                    }
                return Refusal("\"" + value + "\" is none of " + kFlagNames[first] + ", " + kFlagNames[first + 1] +
                               ", " + kFlagNames[first + 2] + ".");
            }};
}

// A number the dialog keeps as typed text and ApplyOpts converts; checked here so that the
// error names the setting.
Setting number(const char* name, int32_t ProfileSettings::*field, std::string OptionsValues::*edit) {
    return {name, [=](const Session& s) { return std::to_string(s.settings.*field); },
            [=](const Session&, OptionsValues& v, const std::string& value) {
                int32_t n = 0;
                if (auto why = parseInt(value, n)) return why;
                v.*edit = value;
                return Refusal{};
            }};
}

Refusal changeStdExtensions(const Session&, OptionsValues& v, const std::string& value) {
    std::array<bool, 6> checked{};
    for (const std::string& e : splitListLine(value)) {
        if (e.empty()) continue;
        const auto* known = std::find(OptionsValues::kStdExtensions.begin(), OptionsValues::kStdExtensions.end(),
                                      asciiUpper(e));
        if (known == OptionsValues::kStdExtensions.end())
            return "\"" + e + "\" is none of MP3, WMA, OGG, WAV, APE, MID (others go into UserExtensions).";
        checked[static_cast<size_t>(known - OptionsValues::kStdExtensions.begin())] = true;
    }
    v.CheckBoxExtensions = checked;
    return std::nullopt;
}

const std::vector<Setting>& settings() {
    using P = ProfileSettings;
    using V = OptionsValues;
    static const std::vector<Setting> table = {
        {"PathToDB", [](const Session& s) { return s.settings.PathToDB; },
         [](const Session&, V& v, const std::string& value) {
             if (value.empty()) return Refusal("the destination folder must not be empty.");
             v.EditMDBPath = value;
             return Refusal{};
         }},
        number("SizeOfDB", &P::SizeOfDB, &V::EditMDBSize),
        {"Language", [](const Session& s) { return s.settings.Language; },
         [](const Session& s, V& v, const std::string& value) {
             const std::vector<std::string> languages = FindLangFiles(s);
             if (std::find(languages.begin(), languages.end(), value) == languages.end())
                 return Refusal("there is no language file \"" + value + ".lng\".");
             v.ComboBoxLanguages = value;
             return Refusal{};
         }},
        {"StdExtensions", [](const Session& s) { return joinListLineTerminated(s.settings.StdExtensions); },
         changeStdExtensions},
        {"UserExtensions", [](const Session& s) { return joinListLine(s.settings.UserExtensions); },
         [](const Session&, V& v, const std::string& value) {
             v.EditWithExts = value;
             return Refusal{};
         }},
        {"GoodCycle", [](const Session& s) { return boolText(s.settings.GoodCycle); },
         [](const Session&, V& v, const std::string& value) {
             bool b = false;
             if (auto why = parseBool(value, b)) return why;
             v.ComboBoxGoodBehavior = b ? 1 : 0;
             return Refusal{};
         }},
        flag("GoodFixed", &P::GoodFixed, &V::CheckBoxFixGoodSize),
        number("GoodPercent", &P::GoodPercent, &V::EditFixGoodSize),
        {"GoodOfPlayList", [](const Session& s) { return boolText(s.settings.GoodOfPlayList); },
         [](const Session&, V& v, const std::string& value) {
             bool b = false;
             if (auto why = parseBool(value, b)) return why;
             v.ComboBoxFixGoodSize = b ? 0 : 1;
             return Refusal{};
         }},
        confirmation(ConfirmClose, &V::CheckBoxConfirmExit),
        confirmation(ConfirmSavingOnExit, &V::CheckBoxConfirmSaving),
        group("SaveOnExit", AutoSave, &V::ComboBoxConfirmSaving),
        confirmation(ConfirmLargePL, &V::CheckBoxConfirmLargePlayList),
        confirmation(ConfirmCopyFromHDD, &V::CheckBoxCopyFromHDD),
        group("CopyFromHDD", AutoCopy, &V::ComboBoxCopyFromDHH),
        confirmation(ConfirmSkip, &V::CheckBoxSkip),
        group("Skip", AutoSkipDisk, &V::ComboBoxSkip),
        confirmation(ShowResultWnd, &V::CheckBoxShowPlayListFileName),
        confirmation(ShowNoFilesWarn, &V::CheckBoxShowNoFilesFolderWarn),
        confirmation(ConfirmDel, &V::CheckBoxConfirmDel),
        confirmation(ConfirmDiskDel, &V::CheckBoxConfirmDelFromDisk),
        flag("FocusAfterDrag", &P::FocusAfterDrag, &V::CheckBoxFocusAfterDragNDrop),
        flag("SaveLastTab", &P::SaveLastTab, &V::CheckBoxLastVisitedTab),
        flag("SaveLastTree", &P::SaveLastTree, &V::CheckBoxLastVisitedTree),
        flag("AutoCloseAddDiskForm", &P::AutoCloseAddDiskForm, &V::CheckBoxAutoCloseAddCDForm),
        flag("OnlyAfterDnD", &P::OnlyAfterDnD, &V::CheckBoxOnlyAfterDnD),
        flag("SilentAddingMode", &P::SilentAddingMode, &V::CheckBoxSilentAddMode),
        flag("OnlyForHDDs", &P::OnlyForHDDs, &V::CheckBoxOnlyForHDDs),
        flag("BuiltInPlayer", &P::BuiltInPlayer, &V::RadioButtonBuiltIn),
        {"PlayerConfigIndex", [](const Session& s) { return std::to_string(s.settings.PlayerConfigIndex); },
         [](const Session&, V& v, const std::string& value) {
             int32_t n = 0;
             if (auto why = parseInt(value, n)) return why;
             if (n < 0 || static_cast<size_t>(n) >= v.PlayerConfigs.size())
                 return Refusal("there are player configurations 0 to " + std::to_string(int(v.PlayerConfigs.size()) - 1) +
                                " only.");
             v.ComboBoxPlayNowConfig = n;
             return Refusal{};
         }},
        {"ShellCommand", [](const Session& s) { return s.settings.ShellCommand; },
         [](const Session&, V& v, const std::string& value) {
             v.EditShellCommand = value;
             return Refusal{};
         }},
        flag("PassDir", &P::PassDir, &V::CheckBoxPassDir),
        flag("OnlyIfFile", &P::OnlyIfFile, &V::CheckBoxOnlyIfFile),
        flag("ShowHints", &P::ShowHints, &V::CheckBoxShowHints),
        flag("ShowTag", &P::ShowTag, &V::CheckBoxDontShowTag, true),
        flag("AutoExpand", &P::AutoExpand, &V::CheckBoxAutoExpand),
    };
    return table;
}

const Setting* settingNamed(const std::string& name) {
    for (const Setting& s : settings())
        if (name == s.name) return &s;
    return nullptr;
}

void checkSet(const Arguments& args) {
    for (const std::string& a : args)
        if (a.find('=') == std::string::npos || a.front() == '=') throw UsageError("set needs NAME=VALUE, not \"" + a + "\"");
}

bool cmdOptions(Context& c, const Arguments&) {
    for (const Setting& setting : settings()) c.out << setting.name << '=' << setting.show(c.session) << '\n';
    return true;
}

// As the dialog's OK: the values it would show, changed where named, applied all at once.
bool cmdSet(Context& c, const Arguments& args) {
    Session& s = c.session;
    OptionsValues values = LoadOpts(s);
    for (const std::string& arg : args) {
        const size_t eq = arg.find('=');
        const std::string name = arg.substr(0, eq), value = arg.substr(eq + 1);
        const Setting* setting = settingNamed(name);
        if (!setting) {
            c.ui.showError("There is no setting \"" + name + "\".");
            return false;
        }
        // A settings file keeps one value a line.
        Refusal why = value.find_first_of("\r\n") != std::string::npos
                          ? Refusal("a value cannot hold a line break.")
                          : setting->change(s, values, value);
        if (why) {
            c.ui.showError(name + ": " + *why);
            return false;
        }
    }
    if (auto error = ApplyOpts(s, values)) {
        c.ui.showError(*error);
        return false;
    }
    // Turning the Just Good cycle off makes used Just Good songs unused again.
    if (s.db.DBModified()) c.databaseChanged = true;
    return true;
}

bool cmdLanguages(Context& c, const Arguments&) {
    for (const std::string& name : FindLangFiles(c.session))
        c.out << name << (name == c.session.settings.Language ? "\t*" : "") << '\n';
    return true;
}

} // namespace

std::vector<Command> optionsCommands() {
    return {
        {"options", 0, 0, false, cmdOptions},
        {"set", 1, SIZE_MAX, false, cmdSet, checkSet},
        {"languages", 0, 0, false, cmdLanguages},
    };
}

} // namespace velmo::cli
