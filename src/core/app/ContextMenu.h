#pragma once

namespace velmo {

// Where the main window's context menu opens.
struct ContextMenuPlace {
    bool onList = false;          // one of the five lists (else a node of the visible tree)
    bool onJustGoodList = false;  // the Just Good list
    bool onFolderNode = false;    // a disk or folder node of the folder tree
    bool hasSelection = false;    // the list or tree has a selected item
};

// Which items of the context menu are shown and enabled there.
struct ContextMenuItems {
    bool justGoodSubmenu = false; // the three Just Good statuses, on the Just Good list only
    bool justGoodItem = false;    // the plain Just Good item, everywhere else
    bool shellOpen = false;
    bool deleteItem = false;
    bool playNow = false;
};

ContextMenuItems contextMenuItems(const ContextMenuPlace& place);

} // namespace velmo
