#pragma once
#include <array>
#include <string>
#include <vector>

#include "playlist/CopyContext.h"

namespace velmo {

// Per drive letter (index 'C' - 'A'): whether the copy copied that local drive's songs into the
// destination; set by the copy for every local drive it reached.
using DriveFlags = std::array<bool, 26>;

// The lines of the result playlist, in playlist order, for players on this machine: a copied song
// as its destination name relative to the destination folder with "/" separators
// ("D -L-/Pop/a.mp3"), a song of a local drive that was not copied as its own native path. A song
// whose file does not exist is left out. A relative name that a player would read as a comment
// (one starting with "#") is written as "./#...".
std::vector<std::string> PlayListLines(const CopyContext& context, const DriveFlags& CopyFromDrive);

// The playlist file: PathToDB/<profile>.m3u as a native path; empty when PathToDB has no place on
// this machine.
std::string playlistFilePath(const CopyContext& context);

// Writes the result playlist (UTF-8, CR LF after each line, no header) over the playlist file at
// once, and tells the user where it went when ShowResultWnd is on. When the file cannot be
// written the user is shown why and false is returned; an old file of that name stays whole.
bool FormPlayList(const CopyContext& context, const DriveFlags& CopyFromDrive);

} // namespace velmo
