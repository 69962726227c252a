#pragma once
#include <optional>
#include <string>
#include <vector>

#include "base/MessageTable.h"
#include "base/TextTable.h"
#include "catalog/FolderScan.h"
#include "playlist/PlaylistGenerator.h"
#include "external/PlayerConfig.h"
#include "musicdb/MusicDatabase.h"
#include "settings/ProfileSettings.h"

namespace velmo {

class UserInterface;

// One run of the program: its folder, profiles, settings, messages and database, and the
// user it talks to. Both front ends build one and hand it to the commands.
struct Session {
    Session(std::string appDir, UserInterface& userInterface,
            std::unique_ptr<RandomSource> random = makeClockSeededRandom());

    std::string AppDir; // a path on this machine, without a trailing slash
    bool DebugMode = false;
    std::string CurrentProfile = "Default";
    // The profile box: the listed profiles and the selected one (-1: none).
    std::vector<std::string> Profiles{"Default"};
    int SelectedProfile = 0;
    ProfileSettings settings;
    std::vector<TPlayerConfig> PlayerConfigs;
    MessageTable messages;
    TextTable texts; // every caption and hint of the windows, in the current language
    UserInterface& ui;
    MusicDatabase db;
    // The database file whose load stopped at a bad line. The first save over it keeps the
    // whole original beside it as "<name>.bak", so the songs after that line are not lost.
    std::string partiallyLoadedFile;
    // Set when a copy of the playlist starts: its songs count as heard at the next
    // "Make playlist" or Playlist/Favorites status command.
    bool PlaylistCopied = false;
    // A seed given by the user: playlist generations then continue one reproducible sequence
    // instead of re-seeding from the clock.
    std::optional<uint64_t> fixedSeed;
    // Set while a profile is used for one run only: the current profile Options.ini keeps.
    std::optional<std::string> optionsCurrentProfile;

    // What a folder scan of this session works with (the trace file only in debug mode).
    FolderScan::Context scanContext();

    // What drawing a playlist in this session works with.
    PlaylistContext playlistContext() { return {db, settings, ui, messages, !fixedSeed}; }

    // The database file as a path on this machine.
    std::string databasePath() const;
    // A path stored relative to the program folder ("Profiles\Default") on this machine.
    std::string nativePath(const std::string& stored) const;
    // The folder of a profile on this machine.
    std::string profileFolder(const std::string& profile) const;
};

} // namespace velmo
