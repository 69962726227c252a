#pragma once
#include <string>

namespace velmo {

class MusicDatabase;
class MessageTable;
class UserInterface;
struct ProfileSettings;
namespace platform {
class DriveTable;
}

// What preparing a copy and writing its playlist file read: the database, the profile's
// settings (PathToDB, the confirmations), whom to ask, the drives of this machine, and the
// program folder and profile name that place the destination and the playlist file.
struct CopyContext {
    MusicDatabase& db;
    const ProfileSettings& settings;
    UserInterface& ui;
    const MessageTable& messages;
    const platform::DriveTable& drives;
    std::string AppDir; // a path on this machine, without a trailing slash
    std::string CurrentProfile;
};

} // namespace velmo
