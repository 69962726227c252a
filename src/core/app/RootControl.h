#pragma once
#include <vector>

namespace velmo {

class MusicDatabase;
class TreeNode;

// Root-control mode, in which the user sets and clears the root marks of disks and folders
// in the music tree. The folder tree is not touched while the mode runs; the marks take
// effect when it ends. The window shows the panel and the enabled buttons from here.
class RootControl {
public:
    explicit RootControl(MusicDatabase& db) : db_(db) {}

    // Whether the mode runs: the Root/Simple/Finish panel is shown, the view switch is
    // disabled and Finish is the cancel (Esc) button.
    bool active() const { return active_; }
    // A mark was changed in the mode since the program started; once set it stays set.
    bool RootsChanged() const { return rootsChanged_; }

    // Enters the mode.
    void enter();
    // "Root" and "Simple" on the selected music-tree nodes; ignored outside the mode. A changed
    // mark marks the database modified and refreshes the statistics.
    void markAsRoots(const std::vector<TreeNode*>& selected);
    void clearRootMarks(const std::vector<TreeNode*>& selected);
    // Leaves the mode; the folder tree is rebuilt when a mark has changed. Returns whether it was.
    bool finish();

private:
    MusicDatabase& db_;
    bool active_ = false;
    bool rootsChanged_ = false;
};

} // namespace velmo
