#include "app/Session.h"

#include <algorithm>

#include "app/SessionListener.h"
#include "platform/NativePaths.h"

namespace velmo {

namespace {
std::vector<std::string> driveNames(const std::vector<char>& letters) {
    std::vector<std::string> names;
    for (char letter : letters) names.push_back(std::string(1, letter) + ":");
    return names;
}
} // namespace

Session::Session(std::string appDir, SessionServices services, std::unique_ptr<RandomSource> random)
    : AppDir(std::move(appDir)),
      settings(SetDefopts("Default")),
      PlayerConfigs(defaultPlayerConfigs()),
      ui(services.ui),
      launcher(services.launcher),
      clock(services.clock),
      db(std::move(random)),
      loadDrives_(std::move(services.loadDrives)),
      diskPrompt_({ui, messages, settings.ConfirmOpts, [this]() -> platform::DriveTable& {
                       DetectCDDrives();
                       return *drives_;
                   }}) {
    if (!loadDrives_)
        loadDrives_ = [](const std::string& dir) { return platform::DriveTable::load(dir); };
}

FolderScan::Context Session::scanContext() {
    return {db, settings, ui, messages, DebugMode ? AppDir + "/FileList.txt" : std::string()};
}

std::string Session::databasePath() const { return nativePath(settings.DBName); }

std::string Session::nativePath(const std::string& stored) const { return platform::storedToNative(AppDir, stored); }

std::string Session::profileFolder(const std::string& profile) const { return nativePath("Profiles\\" + profile); }

platform::DriveTable& Session::drives() {
    if (!drives_) DetectCDDrives();
    return *drives_;
}

void Session::DetectCDDrives() {
    // Assigned, not re-made: whoever holds the table (a prompt, a copy) keeps a valid one.
    if (drives_)
        *drives_ = loadDrives_(AppDir);
    else
        drives_.emplace(loadDrives_(AppDir));
    cdDrives_ = driveNames(drives_->cdDrives());
    hardDrives_ = driveNames(drives_->hardDrives());
}

const std::vector<std::string>& Session::CDDrives() {
    drives();
    return cdDrives_;
}

const std::vector<std::string>& Session::HardDrives() {
    drives();
    return hardDrives_;
}

void Session::addListener(SessionListener* listener) { listeners_.push_back(listener); }

void Session::removeListener(SessionListener* listener) {
    listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), listener), listeners_.end());
}

void Session::notifyProfilesChanged() {
    for (SessionListener* l : std::vector<SessionListener*>(listeners_)) l->profilesChanged();
}

void Session::notifySettingsChanged() {
    for (SessionListener* l : std::vector<SessionListener*>(listeners_)) l->settingsChanged();
}

void Session::notifyLanguageChanged() {
    for (SessionListener* l : std::vector<SessionListener*>(listeners_)) l->languageChanged();
}

void Session::notifyCopyStateChanged() {
    for (SessionListener* l : std::vector<SessionListener*>(listeners_)) l->copyStateChanged();
}

} // namespace velmo
