#include "app/Profiles.h"

#include <algorithm>
#include <filesystem>
#include <unicode/uchar.h>
#include <unicode/ustring.h>

#include "app/DatabaseCommands.h"
#include "app/Lifecycle.h"
#include "app/Session.h"
#include "app/SessionListener.h"
#include "base/UserInterface.h"
#include "platform/FileIO.h"
#include "settings/ProfileFile.h"
#include "util/IntConversion.h"
#include "util/TextEncoding.h"
#include "util/TextLines.h"

namespace fs = std::filesystem;

namespace velmo {

namespace {

constexpr const char* kOptionsFile = "Options.ini";
constexpr const char* kDeletedSuffix = " [DELETED]";

std::string profileFile(const Session& s, const char* name) { return s.profileFolder(s.CurrentProfile) + "/" + name; }

std::optional<std::vector<std::string>> readLines(const std::string& path) {
    if (!platform::fileExists(path)) return std::nullopt;
    auto bytes = platform::readWholeFile(path, platform::kMaxSettingsBytes);
    if (!bytes) return std::nullopt;
    return splitLines(decodeTextFile(*bytes));
}

void writeLines(Session& s, const std::string& path, const std::vector<std::string>& lines) {
    // Settings are written at every exit; unchanged files are left alone.
    if (auto failure = platform::writeFileIfChanged(path, joinLinesCrLf(lines)))
        s.ui.showError("Cannot create file \"" + path + "\". " + *failure);
}

bool folderExists(const std::string& path) { return platform::folderExists(path); }

// Case-insensitive, as the profile box finds its entries.
bool sameNameIgnoringCase(const std::string& a, const std::string& b) {
    UErrorCode status = U_ZERO_ERROR;
    auto toUtf16 = [&](const std::string& text) {
        std::u16string out(text.size() + 1, u'\0');
        int32_t length = 0;
        u_strFromUTF8(reinterpret_cast<UChar*>(out.data()), static_cast<int32_t>(out.size()), &length, text.data(),
                      static_cast<int32_t>(text.size()), &status);
        out.resize(static_cast<size_t>(std::max(length, 0)));
        return out;
    };
    std::u16string ua = toUtf16(a), ub = toUtf16(b);
    if (U_FAILURE(status)) return a == b;
    return u_strCaseCompare(reinterpret_cast<const UChar*>(ua.data()), static_cast<int32_t>(ua.size()),
                            reinterpret_cast<const UChar*>(ub.data()), static_cast<int32_t>(ub.size()),
                            U_FOLD_CASE_DEFAULT, &status) == 0;
}

bool isFolderName(const std::string& name) {
    if (name.empty() || name == "." || name == "..") return false;
    if (name.back() == ' ' || name.back() == '.') return false;
    return name.find_first_of(kRefusedProfileChars) == std::string::npos && name.find('\0') == std::string::npos;
}

void selectProfile(Session& s, const std::string& name) {
    auto it = std::find(s.Profiles.begin(), s.Profiles.end(), name);
    s.SelectedProfile = it == s.Profiles.end() ? -1 : static_cast<int>(it - s.Profiles.begin());
}

} // namespace

void SaveProfile(Session& s) {
    s.keepProfileFile = false;
    const std::string folder = s.profileFolder(s.CurrentProfile);
    if (auto failure = platform::createFolders(folder)) {
        s.ui.showError("Cannot create folder \"" + folder + "\". " + *failure);
        return;
    }
    writeLines(s, profileFile(s, "Profile.ini"), profileFileLines(s.settings));
    SavePlayerConfig(s);
}

void ResetProfile(Session& s, bool writePlayerDefaults) {
    s.settings = SetDefopts(s.CurrentProfile);
    if (writePlayerDefaults) SetDefPlayerConfig(s);
}

void ReadProfile(Session& s) {
    s.keepProfileFile = false;
    if (!folderExists(s.profileFolder(s.CurrentProfile))) {
        s.CurrentProfile = "Default";
        ResetProfile(s, false);
    } else {
        // A user's player configurations survive: only a missing or broken file is replaced.
        ResetProfile(s, false);
        const std::string path = profileFile(s, "Profile.ini");
        if (auto lines = readLines(path)) {
            std::string errors;
            for (const BadProfileLine& bad : readProfileFileLines(s.settings, *lines)) {
                if (!errors.empty()) errors += "\n";
                errors += "Line " + std::to_string(bad.line) + " of \"" + path + "\": " + bad.error;
            }
            if (!errors.empty()) {
                s.ui.showError(errors);
                s.keepProfileFile = true;
            }
        }
    }
    ReadPlayerConfig(s);
    selectProfile(s, s.CurrentProfile);
    SaveProfileUnlessKept(s);
}

void SaveProfileUnlessKept(Session& s) {
    if (s.keepProfileFile) {
        SavePlayerConfig(s);
        return;
    }
    SaveProfile(s);
}

void ReadPlayerConfig(Session& s) {
    const std::string path = profileFile(s, "PlayerConfig.ini");
    auto lines = readLines(path);
    const size_t lineCount = lines ? lines->size() : 0;
    auto configs = lines ? parsePlayerConfigLines(*lines) : std::nullopt;
    if (configs) {
        s.PlayerConfigs = std::move(*configs);
    } else {
        // The user's players are replaced: say which file and why.
        if (lineCount > 0)
            s.ui.showError("Line " + std::to_string(lineCount) + " of \"" + path + "\": the file ends inside a player's block of " +
                           std::to_string(kPlayerConfigBlockLines) + " lines; the default players are used instead.");
        SetDefPlayerConfig(s);
    }
    if (static_cast<int64_t>(lineCount / kPlayerConfigBlockLines) - 1 < s.settings.PlayerConfigIndex)
        s.settings.PlayerConfigIndex = 0;
    // A hand-edited index may still point before the list or past the blocks that were read.
    if (s.settings.PlayerConfigIndex < 0 || static_cast<size_t>(s.settings.PlayerConfigIndex) >= s.PlayerConfigs.size())
        s.settings.PlayerConfigIndex = 0;
}

void SavePlayerConfig(Session& s) {
    if (s.PlayerConfigs.empty()) s.PlayerConfigs = defaultPlayerConfigs();
    writeLines(s, profileFile(s, "PlayerConfig.ini"), playerConfigLines(s.PlayerConfigs));
}

void SetDefPlayerConfig(Session& s) {
    s.PlayerConfigs = defaultPlayerConfigs();
    SavePlayerConfig(s);
}

bool ReadOpt(Session& s) {
    const std::string path = s.AppDir + "/" + kOptionsFile;
    auto lines = readLines(path);
    if (!lines) {
        s.CurrentProfile = "Default";
        SaveOpt(s);
    } else {
        if (lines->size() >= 2) s.CurrentProfile = (*lines)[1];
        if (lines->size() >= 4 && (*lines)[2] == "[Profiles]" && !(*lines)[3].empty()) {
            s.Profiles = splitListLine((*lines)[3]);
        } else if (lines->size() >= 2 &&
                   std::find(s.Profiles.begin(), s.Profiles.end(), s.CurrentProfile) == s.Profiles.end()) {
            // Listed once only: a second "Default" would let a delete remove the live profile.
            s.Profiles.push_back(s.CurrentProfile);
        }
    }
    // A name no folder can carry (a hand-edited "..\..") is dropped like a missing folder.
    std::erase_if(s.Profiles, [&](const std::string& name) {
        return name != "Default" && (!isFolderName(name) || !folderExists(s.profileFolder(name)));
    });
    // A list whose every profile lost its folder would leave no profile to work in.
    if (s.Profiles.empty()) s.Profiles.push_back("Default");
    if (s.CurrentProfile != "Default" && !isFolderName(s.CurrentProfile)) s.CurrentProfile = "Default";
    selectProfile(s, s.CurrentProfile);
    return lines && lines->size() >= 2;
}

void SaveOpt(Session& s) {
    writeLines(s, s.AppDir + "/" + kOptionsFile, {"[Profile]", s.CurrentProfile, "[Profiles]", joinListLine(s.Profiles)});
}

ProfileNameCheck checkProfileName(const Session& s, const std::string& name) {
    for (const std::string& listed : s.Profiles)
        if (sameNameIgnoringCase(listed, name)) return ProfileNameCheck::Listed;
    return isFolderName(name) ? ProfileNameCheck::Ok : ProfileNameCheck::Invalid;
}

bool refuseProfileName(Session& s, const std::string& name) {
    switch (checkProfileName(s, name)) {
    case ProfileNameCheck::Ok: return false;
    case ProfileNameCheck::Listed: s.ui.showErrorBox(s.messages[msgError], s.messages[msgProfileExists]); return true;
    case ProfileNameCheck::Invalid:
        s.ui.showErrorBox(s.messages[msgError],
                          "A profile name must not be empty, \".\" or \"..\", end in a blank or a dot, or hold any "
                        "of the characters \\ / : * ? \" < > |, please, try another one.");
        return true;
    }
    return true;
}

void MakeProfile(Session& s) {
    ResetProfile(s, true);
    s.db.ClearDB();
    s.Profiles.push_back(s.CurrentProfile);
    s.SelectedProfile = static_cast<int>(s.Profiles.size()) - 1;
    SaveProfile(s);
    SaveOpt(s);
    s.db.notifyStatisticsChanged();
    s.notifyProfilesChanged();
    s.notifySettingsChanged();
}

bool NewProfile(Session& s, const std::string& name) {
    if (refuseProfileName(s, name)) return false;
    s.CurrentProfile = name;
    MakeProfile(s);
    return true;
}

bool RenameProfile(Session& s, const std::string& newName) {
    if (refuseProfileName(s, newName)) return false;
    const std::string old = s.CurrentProfile;
    const std::string oldFolder = s.profileFolder(old);
    const std::string newFolder = s.profileFolder(newName);
    const bool defaultDatabase = s.settings.DBName == defaultDBName(old);
    // The folder moves first, then the default-named database inside it; when a step fails the
    // steps before it are undone, so the profile stays whole under its old name.
    const bool moveFolder = folderExists(oldFolder);
    if (moveFolder) {
        if (auto failure = platform::renamePath(oldFolder, newFolder)) {
            s.ui.showError("Cannot rename the folder \"" + oldFolder + "\" to \"" + newFolder + "\". " + *failure);
            return false;
        }
    }
    if (defaultDatabase) {
        const std::string movedFile = s.nativePath("Profiles\\" + newName + "\\" + old + ".vmdb");
        const std::string newFile = s.nativePath(defaultDBName(newName));
        if (platform::fileExists(movedFile)) {
            if (auto failure = platform::renamePath(movedFile, newFile)) {
                if (moveFolder) platform::renamePath(newFolder, oldFolder);
                s.ui.showError("Cannot rename the file \"" + movedFile + "\" to \"" + newFile + "\". " + *failure);
                return false;
            }
        }
        s.settings.DBName = defaultDBName(newName);
    }
    if (s.SelectedProfile >= 0 && static_cast<size_t>(s.SelectedProfile) < s.Profiles.size())
        s.Profiles[static_cast<size_t>(s.SelectedProfile)] = newName;
    selectProfile(s, newName);
    s.settings.PathToDB = replaceAll(s.settings.PathToDB, "Profiles\\" + old + "\\", "Profiles\\" + newName + "\\");
    s.CurrentProfile = newName;
    SaveOpt(s);
    SaveProfile(s);
    s.db.notifyStatisticsChanged();
    s.notifyProfilesChanged();
    s.notifySettingsChanged();
    return true;
}

bool DeleteProfile(Session& s) {
    if (s.Profiles.size() <= 1) return false;
    const std::string folder = s.profileFolder(s.CurrentProfile);
    if (folderExists(folder)) {
        if (auto failure = platform::renamePath(folder, folder + kDeletedSuffix)) {
            s.ui.showError("Cannot rename the folder \"" + folder + "\" to \"" + folder + kDeletedSuffix + "\". " +
                           *failure);
            return false;
        }
    }
    if (s.SelectedProfile >= 0 && static_cast<size_t>(s.SelectedProfile) < s.Profiles.size())
        s.Profiles.erase(s.Profiles.begin() + s.SelectedProfile);
    s.SelectedProfile = 0;
    SwitchProfile(s, s.Profiles.front());
    SaveOpt(s);
    s.notifyProfilesChanged();
    return true;
}

void SwitchProfile(Session& s, const std::string& name) {
    if (name == s.CurrentProfile) return;
    SaveProfileUnlessKept(s);
    AskForSaving(s);
    s.CurrentProfile = name;
    s.db.ClearDB();
    ReadProfile(s);
    LoadData(s);
    s.db.setDBModified(false);
    s.db.notifyStatisticsChanged();
    s.notifyProfilesChanged();
    s.notifySettingsChanged();
}

} // namespace velmo
