#include "app/RootControl.h"

#include "musicdb/RootFolders.h"
#include "musicdb/MusicDatabase.h"

namespace velmo {

void RootControl::enter() { active_ = true; }

void RootControl::markAsRoots(const std::vector<TreeNode*>& selected) {
    if (!active_) return;
    if (RootFolders(db_).ButtonRootClick(selected)) {
        rootsChanged_ = true;
        db_.notifyStatisticsChanged();
    }
}

void RootControl::clearRootMarks(const std::vector<TreeNode*>& selected) {
    if (!active_) return;
    if (RootFolders(db_).ButtonSimpleClick(selected)) {
        rootsChanged_ = true;
        db_.notifyStatisticsChanged();
    }
}

bool RootControl::finish() {
    if (!active_) return false;
    active_ = false;
    if (!rootsChanged_) return false;
    RootFolders(db_).ReloadRootTree();
    return true;
}

} // namespace velmo
