#include "app/Session.h"

#include "platform/NativePaths.h"

namespace velmo {

Session::Session(std::string appDir, UserInterface& userInterface, std::unique_ptr<RandomSource> random)
    : AppDir(std::move(appDir)),
      settings(SetDefopts("Default")),
      PlayerConfigs(defaultPlayerConfigs()),
      ui(userInterface),
      db(std::move(random)) {}

FolderScan::Context Session::scanContext() {
    return {db, settings, ui, messages, DebugMode ? AppDir + "/FileList.txt" : std::string()};
}

std::string Session::databasePath() const { return nativePath(settings.DBName); }

std::string Session::nativePath(const std::string& stored) const { return platform::storedToNative(AppDir, stored); }

std::string Session::profileFolder(const std::string& profile) const { return nativePath("Profiles\\" + profile); }

} // namespace velmo
