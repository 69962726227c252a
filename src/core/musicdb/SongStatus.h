#pragma once
#include <cstdint>
#include <optional>
#include <string_view>

namespace velmo {

// A song's status. It is not stored in a field of its own: every node and item of a song
// carries it as its image index, status + ssImageOffset.
enum SongStatus : uint8_t {
    ssUnused = 0,
    ssUsed = 1,
    ssPlayList = 2,
    ssBlack = 3,
    ssFavorites = 4,
    ssGoodUnused = 5,
    ssGoodUsed = 6,
    ssGoodPlayList = 7,
    ssJustGood = 8, // a command ("make this song Just Good"), never a stored status
};

constexpr int ssStoredCount = 8;
constexpr int ssImageOffset = 6;

// Image indexes of tree nodes; an even disk or folder index carries the root mark.
enum ImageIndex : uint8_t {
    iiCDDiskRoot = 0,
    iiCDDisk = 1,
    iiHardDiskRoot = 2,
    iiHardDisk = 3,
    iiFolderRoot = 4,
    iiFolder = 5,
    iiSongFirst = 6,
    iiSongLast = 13,
    iiTabJustGood = 14,
    iiIconCount = 19,
};

constexpr bool isDiskImage(int image) { return image >= 0 && image <= 3; }
constexpr bool isFolderImage(int image) { return image == iiFolderRoot || image == iiFolder; }
constexpr bool isSongImage(int image) { return image >= iiSongFirst; }
constexpr bool hasRootMark(int image) { return image <= iiFolderRoot && image % 2 == 0; }
constexpr uint8_t imageOfStatus(int status) { return static_cast<uint8_t>(status + ssImageOffset); }
constexpr int statusOfImage(int image) { return image - ssImageOffset; }

// The command-line and test names of the statuses ("unused", "goodplaylist", "justgood", ...).
std::optional<SongStatus> statusFromName(std::string_view name);

} // namespace velmo
