#pragma once
#include <string_view>
#include <vector>

namespace velmo {

struct Session;
struct TDataRec;
class TreeNode;

// The songs a command acts on. From a list: its selected items in list order. From a tree:
// the selected nodes in display order; songs count when `songs` is set, every song below a
// selected disk or folder when `songsUnderFolders` is set. No record appears twice.
std::vector<TDataRec*> selectionFromTree(const std::vector<const TreeNode*>& selectedInDisplayOrder, bool songs,
                                         bool songsUnderFolders);

// The status a status button sets, derived from its name ("BitBtnFav3" -> ssFavorites).
int statusOfButtonName(std::string_view name);

// SetSelStatus: every song of the selection, in order, gets the status.
void SetSelStatus(Session& s, const std::vector<TDataRec*>& selection, int status);

// A status button: a copied playlist is first marked heard when the status puts songs into the
// playlist (Playlist or Favorites), then the selection gets the status.
void runStatusButton(Session& s, const std::vector<TDataRec*>& selection, int status);

// What the main commands' enabled states follow.
struct CommandStates {
    bool playNow = false;       // ButtonPlayNow and the active tab's delete button
    bool pressToStart = false;
    bool makePlayList = false;
};
CommandStates UpDatePlayButton(const Session& s, bool activeViewHasSelection, bool copyRunning);

// The scroll of a mouse-wheel turn on a list tab: (dx, dy) in pixels; both 0 when the
// modifiers call for nothing.
struct WheelScroll {
    int dx = 0;
    int dy = 0;
};
WheelScroll wheelScroll(int delta, bool ctrl, bool shift, bool alt);

} // namespace velmo
