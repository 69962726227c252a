#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "catalog/DiskPrompt.h"

namespace velmo {

namespace platform {
class DriveTable;
}

// A song's destination name: its Music List caption with "/" as "-", "<" as "[" and ">" as "]",
// so the destination mirrors the music tree with one folder per disk ("D /L/\Pop\a.mp3" goes to
// "D -L-\Pop\a.mp3", "Drive <C> /L/\a.mp3" to "Drive [C] -L-\a.mp3").
std::string DestName(std::string_view caption);

// The destination folder (PathToDB) on this machine.
struct DestinationFolder {
    // The folder as a native path without a trailing "/" ("/" itself aside).
    std::string folder;
    // The folders to create for it, outermost first: from the first component of PathToDB down
    // to the folder itself (for "Profiles\Rock\MusicBase" AppDir/Profiles, AppDir/Profiles/Rock,
    // AppDir/Profiles/Rock/MusicBase; for "E:\Music" the drive's root, then its Music folder).
    std::vector<std::string> chain;

    // PathToDB as stored in the profile: relative with "\" separators (below `appDir`), a native
    // absolute path ("/media/usb/Music"), or a catalogue path ("E:\Music") placed through the
    // drive table. A trailing separator is ignored. nullopt when the drive of a catalogue path
    // has no place on this machine.
    static std::optional<DestinationFolder> resolve(const std::string& PathToDB, const std::string& appDir,
                                                    const platform::DriveTable& drives);

    // Where a destination name lies: folder + "/" + destName with "\" turned into "/".
    std::string nativePath(std::string_view destName) const;
};

} // namespace velmo
