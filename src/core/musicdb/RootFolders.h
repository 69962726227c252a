#pragma once
#include <vector>

namespace velmo {

class MusicDatabase;
class TreeNode;

// The folder tree: every root folder of every disk as a top-level entry, roots of the same
// name merged into one, with the subfolders and songs below them. Roots are the disk and
// folder nodes of the music tree whose image carries the root mark.
class RootFolders {
public:
    explicit RootFolders(MusicDatabase& db) : db_(db) {}

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

    MusicDatabase& db_;
    int depth_ = 0;
    std::vector<EmptyCandidate> emptyCandidates_;
};

} // namespace velmo
