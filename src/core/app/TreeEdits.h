#pragma once
#include <optional>
#include <string>
#include <vector>

namespace velmo {

struct Session;
struct TDataRec;
class TreeNode;

// Whether an in-place edit may start. Music tree: a disk node of any kind, and every node of a
// disk on a local drive (what lies on a CD cannot be renamed). Folder tree: songs of local
// drives only.
bool TreeViewMusicTreeEditing(const TreeNode* node);
bool TreeViewFoldersEditing(const TreeNode* folderTreeNode);

// A music-tree node's place: its path below its disk ("Pop\Old\a.mp3", empty for the disk
// itself), the disk node's text and the drive letter of a local drive's disk ("C:").
struct TreePath {
    std::string path;
    std::string ShellDisk;
    std::string HardRoot;
};
TreePath GetTreePath(const TreeNode* node);

// "Drive <C> /L/\Music\a.mp3" as "C:\Music\a.mp3"; an optical disk's caption as "\Music\a.mp3".
std::string ConvertToPath(const std::string& caption);

// Why `newText` cannot become the text of `node`, or nullopt when it can. A song or folder name
// must be storable and a possible file name: not empty, ".", "..", no leading blank, none of
// \ / : * ? " < > |, no line break or TAB, not the name of a sibling. A disk keeps what locates
// it: a CD's text still ends in " /LABEL/" with its label, a local drive's keeps "<X>" with its
// letter.
std::optional<std::string> refusedNewText(const TreeNode* node, const std::string& newText);

// The end of an in-place edit of a music-tree node: on a local drive the file or folder is
// renamed on the disk first (never over another), then the node, the captions below it and the
// folder tree follow. A refused name or a rename the file system refuses changes nothing and is
// shown with its reason; false then.
bool TreeViewMusicTreeEdited(Session& s, TreeNode* node, const std::string& newText);

// Delete (physical: Shift+Delete): after the confirmation the selection's songs leave the
// database, with the folders and disks they leave empty; physically, the files of local drives
// are deleted too, and the folders that leaves empty, up to (not including) the drive's root and
// never through a link. Songs of optical disks are never deleted from a disk. False when the
// user said No.
bool DeleteSelectedFiles(Session& s, const std::vector<TDataRec*>& selection, bool physical);

} // namespace velmo
