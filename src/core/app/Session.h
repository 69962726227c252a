#pragma once
#include <functional>
#include <string>

#include "app/MessageTable.h"
#include "musicdb/MusicDatabase.h"

namespace velmo {

class UserInterface;

// The settings of the current profile that the database needs. The profile file fills and
// writes them; until then they hold the defaults of the profile "Default".
struct ProfileSettings {
    std::string DBName = "Profiles\\Default\\Default.vmdb";
    bool GoodCycle = false;
};

// One run of the program: its folder, profile, settings, messages and database, and the user
// it talks to. Both front ends build one and hand it to the commands.
struct Session {
    Session(std::string appDir, UserInterface& userInterface,
            std::unique_ptr<RandomSource> random = makeClockSeededRandom())
        : AppDir(std::move(appDir)), ui(userInterface), db(std::move(random)) {}

    std::string AppDir; // a path on this machine, without a trailing slash
    std::string CurrentProfile = "Default";
    ProfileSettings settings;
    MessageTable messages;
    UserInterface& ui;
    MusicDatabase db;
    int activeTab = 0;
    // The database file whose load stopped at a bad line. The first save over it keeps the
    // whole original beside it as "<name>.bak", so the songs after that line are not lost.
    std::string partiallyLoadedFile;
    // Writes the profile file; set by the settings module, a no-op until then.
    std::function<void()> saveProfile = [] {};

    // The database file as a path on this machine.
    std::string databasePath() const;
};

} // namespace velmo
