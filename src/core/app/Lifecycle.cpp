#include "app/Lifecycle.h"

#include <algorithm>

#include "app/DatabaseCommands.h"
#include "app/Languages.h"
#include "app/Session.h"
#include "base/UserInterface.h"
#include "app/Profiles.h"
#include "platform/FileIO.h"

namespace velmo {

namespace {

// The settings part of start-up, after Options.ini has been read.
void ReadIni(Session& s, bool haveOptions, const std::optional<std::string>& profile) {
    if (profile) s.CurrentProfile = *profile;
    if (!haveOptions && !profile) {
        s.CurrentProfile = "Default";
        ResetProfile(s, true);
        SaveProfile(s);
    } else {
        ReadProfile(s);
    }
}

} // namespace

bool Startup(Session& s, const StartupOptions& options) {
    const auto& args = options.arguments;
    s.DebugMode = !args.empty() && (args.front() == "/debug" || args.front() == "-debug");
    if (options.seed) s.fixedSeed = options.seed;
    for (const char* folder : {"/Profiles", "/Language"}) {
        const std::string path = s.AppDir + folder;
        if (auto failure = platform::createFolders(path)) s.ui.showError("Cannot create folder \"" + path + "\". " + *failure);
    }

    const bool haveOptions = ReadOpt(s);
    if (options.profile &&
        std::find(s.Profiles.begin(), s.Profiles.end(), *options.profile) == s.Profiles.end()) {
        s.ui.showError("The profile \"" + *options.profile + "\" does not exist.");
        return false;
    }
    if (options.profile && *options.profile != s.CurrentProfile) s.optionsCurrentProfile = s.CurrentProfile;
    ReadIni(s, haveOptions, options.profile);
    // The profile's language, else English; then its file is written, so "English.lng" is
    // always there for translators to start from.
    SetLanguage(s, s.settings.Language);
    SaveLanguage(s);
    s.db.notifyStatisticsChanged();
    s.notifyProfilesChanged();
    s.notifySettingsChanged();
    const bool loaded = LoadData(s);
    s.db.setDBModified(false);
    s.db.notifyStatisticsChanged();
    if (loaded && options.askForReset && options.askForReset(s)) MenuItemResetIconsClick(s);
    return loaded;
}

bool FormCloseQuery(Session& s) {
    if (!s.settings.ConfirmOpts[ConfirmClose]) return true;
    return s.ui.askYesNo(s.messages[msgConfirmation22], s.messages[msgQuitQuestion], false);
}

void AskForSaving(Session& s) {
    if (!s.db.DBModified()) return;
    const ConfirmOptions& o = s.settings.ConfirmOpts;
    if (o[ConfirmSavingOnExit]) {
        if (s.ui.askYesNo(s.messages[msgConfirmation26], s.messages[msgSaveQuestion], true)) SaveOrDeleteDatabase(s);
    } else if (o[AutoSave]) {
        MenuItemSaveBaseClick(s);
    } else if (o[AutoSaveAs]) {
        MenuItemSaveDBAsClick(s);
    }
}

void Shutdown(Session& s, bool askForSaving) {
    if (askForSaving) AskForSaving(s);
    if (s.optionsCurrentProfile) {
        const std::string runProfile = s.CurrentProfile;
        s.CurrentProfile = *s.optionsCurrentProfile;
        SaveOpt(s);
        s.CurrentProfile = runProfile;
    } else {
        SaveOpt(s);
    }
    SaveProfileUnlessKept(s);
}

} // namespace velmo
