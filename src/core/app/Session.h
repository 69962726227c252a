#pragma once
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/MessageTable.h"
#include "base/TextTable.h"
#include "catalog/DiskPrompt.h"
#include "catalog/FolderScan.h"
#include "playlist/CopyContext.h"
#include "playlist/PlaylistGenerator.h"
#include "playlist/ResultPlaylist.h"
#include "external/PlayerConfig.h"
#include "musicdb/MusicDatabase.h"
#include "platform/Drives.h"
#include "settings/ProfileSettings.h"

namespace velmo {

namespace platform {
class Clock;
class ProcessLauncher;
} // namespace platform
class CopyEngine;
class SessionListener;
class UserInterface;

// What a front hands the session to reach the user and the machine.
struct SessionServices {
    UserInterface& ui;
    platform::ProcessLauncher& launcher;
    platform::Clock& clock;
    // Reads the drive table of the run from the program folder; called again by each
    // DetectCDDrives. Empty: Drives.ini of the program folder.
    std::function<platform::DriveTable(const std::string& appDir)> loadDrives;
};

// One run of the program: its folder, profiles, settings, messages and database, the user it
// talks to and the machine's services. Both front ends build one and hand it to the commands.
struct Session {
    Session(std::string appDir, SessionServices services,
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
    platform::ProcessLauncher& launcher;
    platform::Clock& clock;
    MusicDatabase db;
    // The database file whose load stopped at a bad line. The first save over it keeps the
    // whole original beside it as "<name>.bak", so the songs after that line are not lost.
    std::string partiallyLoadedFile;
    // Profile.ini held a value that could not be read: the file stays as the user wrote it
    // until settings are saved on purpose (SaveProfile), not rewritten by a start or an exit.
    bool keepProfileFile = false;
    // Set when a copy of the playlist starts: its songs count as heard at the next
    // "Make playlist" or Playlist/Favorites status command.
    bool PlaylistCopied = false;
    // Per drive letter: whether the last copy that reached that local drive copied its songs
    // (else the playlist file points at the songs where they are).
    DriveFlags CopyFromDrive{};
    // Set when Exit is pressed during a copy: the program closes once the copy has ended.
    bool ExitAfterCopy = false;
    // The copy that is running, while one runs.
    CopyEngine* activeCopy = nullptr;
    bool copyRunning() const { return activeCopy != nullptr; }
    // The prompt for a disk that no drive holds, shared by the copy and by playing a song.
    DiskPrompt& diskPrompt() { return diskPrompt_; }
    // A seed given by the user: playlist generations then continue one reproducible sequence
    // instead of re-seeding from the clock.
    std::optional<uint64_t> fixedSeed;
    // Set while a profile is used for one run only: the current profile Options.ini keeps.
    std::optional<std::string> optionsCurrentProfile;

    // What a folder scan of this session works with (the trace file only in debug mode).
    FolderScan::Context scanContext();

    // What drawing a playlist in this session works with.
    PlaylistContext playlistContext() { return {db, settings, ui, messages, !fixedSeed}; }

    // What preparing a copy and writing its playlist file in this session work with.
    CopyContext copyContext() { return {db, settings, ui, messages, drives(), AppDir, CurrentProfile}; }

    // The database file as a path on this machine.
    std::string databasePath() const;
    // A path stored relative to the program folder ("Profiles\Default") on this machine.
    std::string nativePath(const std::string& stored) const;
    // The folder of a profile on this machine.
    std::string profileFolder(const std::string& profile) const;

    // The drive table of the run, read at its first use.
    platform::DriveTable& drives();
    // Reads the drive table again (a drive was added to Drives.ini, a disk changed) and
    // rebuilds CDDrives and HardDrives from it.
    void DetectCDDrives();
    // The optical drives and the other drives, each as letter and colon ("E:"), in letter
    // order, as the last DetectCDDrives found them.
    const std::vector<std::string>& CDDrives();
    const std::vector<std::string>& HardDrives();

    // Debug mode: the add reports every folder it reads.
    void setDebugMode(bool on) { DebugMode = on; }
    // The window's view choices, kept in the profile's settings.
    void setMusicTreeVisible(bool visible) { settings.MusicTreeVisible = visible; }
    void setActiveTab(int tab) { settings.ActiveTab = tab; }

    // Listeners hear profile, settings and language changes; they must outlive the session or
    // remove themselves.
    void addListener(SessionListener* listener);
    void removeListener(SessionListener* listener);
    void notifyProfilesChanged();
    void notifySettingsChanged();
    void notifyLanguageChanged();
    void notifyCopyStateChanged();

private:
    std::function<platform::DriveTable(const std::string&)> loadDrives_;
    std::optional<platform::DriveTable> drives_;
    std::vector<std::string> cdDrives_;
    std::vector<std::string> hardDrives_;
    std::vector<SessionListener*> listeners_;
    DiskPrompt diskPrompt_;
};

} // namespace velmo
