#include "app/StatusCommands.h"

#include <unordered_set>

#include "app/Session.h"
#include "app/PlaylistCommands.h"

namespace velmo {

std::vector<TDataRec*> selectionFromTree(const std::vector<const TreeNode*>& selected, bool songs,
                                         bool songsUnderFolders) {
    std::vector<TDataRec*> out;
    std::unordered_set<const TDataRec*> present;
    auto add = [&](TDataRec* rec) {
        if (rec && present.insert(rec).second) out.push_back(rec);
    };
    for (const TreeNode* node : selected) {
        if (isSongImage(node->imageIndex())) {
            if (songs) add(node->data());
            continue;
        }
        if (!songsUnderFolders) continue;
        // Every song below, in tree order, expanded or not.
        std::vector<std::pair<const TreeNode*, size_t>> stack{{node, 0}};
        while (!stack.empty()) {
            auto& [n, next] = stack.back();
            if (next == n->childCount()) {
                stack.pop_back();
                continue;
            }
            const TreeNode* c = n->child(next++);
            if (isSongImage(c->imageIndex())) add(c->data());
            else stack.emplace_back(c, 0);
        }
    }
    return out;
}

int statusOfButtonName(std::string_view name) {
    return 1 * name.starts_with("BitBtnUsed") + 2 * name.starts_with("BitBtnPlayList") +
           3 * name.starts_with("BitBtnBlack") + 4 * name.starts_with("BitBtnFav") +
           8 * name.starts_with("BitBtnJustGood");
}

void SetSelStatus(Session& s, const std::vector<TDataRec*>& selection, int status) {
    StatisticsBatch batch(s.db);
    // Many songs at once: the status lists are redrawn once instead of row by row.
    StatusListsBulkUpdate lists(s.db, selection.size() > 256);
    for (TDataRec* rec : selection)
        if (rec && rec->MusicListItem) s.db.SetStatus(rec, status);
}

void runStatusButton(Session& s, const std::vector<TDataRec*>& selection, int status) {
    if (s.PlaylistCopied && (status == ssPlayList || status == ssFavorites)) {
        DoAfterCopy(s);
        s.PlaylistCopied = false;
    }
    SetSelStatus(s, selection, status);
}

CommandStates UpDatePlayButton(const Session& s, bool activeViewHasSelection, bool copyRunning) {
    const StatCounters& c = s.db.counters();
    return {activeViewHasSelection, c[cP].count > 0 && !copyRunning, c[cN].count > 0 && !copyRunning};
}

WheelScroll wheelScroll(int delta, bool ctrl, bool shift, bool alt) {
    const int d = delta / 2; // truncates toward zero
    if (alt) return {};
    if (!ctrl && !shift) return {0, -d};
    if (ctrl && !shift) return {0, -6 * d};
    if (shift && !ctrl) return {-d, 0};
    return {};
}

} // namespace velmo
