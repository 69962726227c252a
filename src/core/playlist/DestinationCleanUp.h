#pragma once
#include <optional>
#include <string>
#include <vector>

#include "playlist/CopyContext.h"
#include "playlist/DestinationFolder.h"

namespace velmo {

class MusicDatabase;
class TreeNode;
struct TDataRec;

// True for a song of the new playlist: in the Playlist, in Favorites or Just Good in the playlist.
bool isInNewPlaylist(const TreeNode* songNode);

// The songs of the new playlist in Music List order (the order of the music tree), found from the
// playlist itself rather than by walking every song of the database.
std::vector<TDataRec*> newPlaylistInListOrder(MusicDatabase& db);

// The clean-up of the destination before a copy: the files of songs that left the playlist go,
// folders emptied by that go, and the folders the new playlist needs are made. Files that never
// belonged to a song stay.
//
// The destination is listed once, along the folders that mirror the music tree, instead of trying
// a delete for every song of the database: the result is the same, the work follows what the
// destination holds. Nothing outside the destination folder is touched: a symbolic link below it
// is never followed (a link under a song's name is removed as a link), and neither the folder
// itself nor anything above it is removed. File operations report nothing and stop nothing: what
// cannot be removed or made stays as it is.
class DestinationCleanUp {
public:
    explicit DestinationCleanUp(const CopyContext& context);

    // Removes the copies of the songs that are not in the new playlist, and the leftovers of an
    // interrupted copy, from the folders of the destination that mirror music-tree folders.
    void DeleteOldSongs();
    // OldDirs: the folders found by DeleteOldSongs, outermost first. NewDirs: the destination's
    // own chain, then every folder of a playlist song in Music List order; each folder once,
    // every folder after its parent.
    void MakeDirLists();
    // Tries each folder of OldDirs once, from the last to the first, so a folder emptied by the
    // removal of its subfolders goes too; then empties OldDirs. Folders in NewDirs are left
    // alone: CreateNewDirs would make them again.
    void DeleteOldDirs();
    // Creates the folders of NewDirs from the first to the last; then empties NewDirs.
    void CreateNewDirs();

    // Native paths.
    std::vector<std::string> OldDirs;
    std::vector<std::string> NewDirs;

    // nullopt when PathToDB has no place on this machine (a drive letter without a drive).
    const std::optional<DestinationFolder>& destination() const { return destination_; }

private:
    void cleanFolder(const std::string& native, const std::vector<const TreeNode*>& mirrored, bool isRoot);

    CopyContext c_;
    std::optional<DestinationFolder> destination_;
    std::vector<std::string> existingFolders_;
};

// The clean-up of the destination in its order: DeleteOldSongs, MakeDirLists, DeleteOldDirs,
// CreateNewDirs.
void cleanUpDestination(const CopyContext& context);

} // namespace velmo
