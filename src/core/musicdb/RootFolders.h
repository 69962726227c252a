#pragma once
#include <cstddef>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace velmo {

class MusicDatabase;
class TreeNode;
struct TDataRec;

// The folder tree: every root folder of every disk as a top-level entry, roots of the same
// name merged into one, with the subfolders and songs below them. Roots are the disk and
// folder nodes of the music tree whose image carries the root mark. Songs of one name in one
// folder stand in the order of the music tree, however the folder tree came about (a load, a
// rebuild, an added disk, a rename), so it looks the same again after a restart.
class RootFolders {
public:
    // With `deferSongOrder` the songs are appended to their folder-tree folders and each
    // folder's songs are put in order once, by finishSongOrder: for building a whole tree, where
    // a bisection per song among the tens of thousands of songs that a merged folder gathers
    // from many disks would touch cold memory at every step.
    explicit RootFolders(MusicDatabase& db, bool deferSongOrder = false)
        : db_(db), deferSongOrder_(deferSongOrder) {}
    ~RootFolders() { finishSongOrder(); }
    RootFolders(const RootFolders&) = delete;
    RootFolders& operator=(const RootFolders&) = delete;

    // Sorts the songs appended since the start, as if each had been inserted at its place.
    void finishSongOrder();

    // Brings the folder tree up to date for a music-tree node and everything below it.
    void ReRoot(TreeNode* musicNode);
    // The top-level folder-tree node of a root, found or created.
    TreeNode* RootFolder(TreeNode* musicNode);
    // Copies the subfolders and songs below a music-tree node under a folder-tree node.
    void AddToRootTree(TreeNode* musicNode, TreeNode* folderNode);
    // A node without a root mark: it becomes a root when it holds songs, else its children
    // are looked at.
    void FindRoot(TreeNode* musicNode);
    // Rebuilds the whole folder tree.
    void ReloadRootTree();
    // Brings the folder tree up to date after a disk, folder or song of the music tree got a
    // new text (and its new place among its siblings): the songs below it leave their
    // folder-tree nodes and come back where the new name puts them, as a rebuild would place
    // them. Costs what the node holds and the folders it touches, not the whole tree; a
    // folder tree that does not match its music tree is rebuilt instead.
    void FollowRename(TreeNode* renamed);
    // Removes the root marks of every folder below a node.
    void ResetRoots(TreeNode* musicNode);

    // Root-control mode. "Root": each selected disk or folder without a mark gets one, and the
    // folders below it lose theirs. "Simple": each selected node with a mark loses it. Both
    // return whether a mark changed; the folder tree follows at Finish (ReloadRootTree).
    bool ButtonRootClick(const std::vector<TreeNode*>& selected);
    bool ButtonSimpleClick(const std::vector<TreeNode*>& selected);

private:
    // A folder-tree entry to remove if it stays empty; `root` is the music-tree root it
    // stands for, which then loses its mark.
    struct EmptyCandidate {
        TreeNode* folderNode;
        TreeNode* root;
    };
    void RemoveEmptyEntries();
    // Counts the nesting of ReRoot passes: empty entries go when the outermost one ends.
    struct PassDepth {
        int& depth;
        explicit PassDepth(int& d) : depth(d) { ++depth; }
        ~PassDepth() { --depth; }
    };
    void placeSong(TreeNode* songNode, TreeNode* folderNode, size_t& run);
    bool songsBelowArePlaced(const TreeNode* node, std::vector<TDataRec*>& songs) const;
    // A folder whose songs were appended out of order: each AddToRootTree call appended one
    // run of songs in the order of its music-tree folder, which is theirs too.
    struct PendingOrder {
        TreeNode* folder;
        size_t appended = 0;                // songs appended, the last ones among its children
        std::vector<size_t> runStarts;      // where each run begins, counted among those songs
    };
    size_t pendingOrderOf(TreeNode* folderNode); // its index in pending_
    // Where a new song node goes among a folder's children.
    size_t rowForSong(const TreeNode* folderNode, const TreeNode* songNode) const;

    MusicDatabase& db_;
    bool deferSongOrder_;
    std::vector<PendingOrder> pending_;
    std::unordered_map<const TreeNode*, size_t> pendingIndex_;
    int depth_ = 0;
    std::vector<EmptyCandidate> emptyCandidates_;
};

} // namespace velmo
