#include "app/ContextMenu.h"

namespace velmo {

ContextMenuItems contextMenuItems(const ContextMenuPlace& place) {
    ContextMenuItems items;
    items.justGoodSubmenu = place.onList && place.onJustGoodList;
    items.justGoodItem = !items.justGoodSubmenu;
    // The shell command opens songs and the folders of the music tree, not a folder tree's folder.
    items.shellOpen = place.onList || !place.onFolderNode;
    items.deleteItem = true;
    items.playNow = place.hasSelection;
    return items;
}

} // namespace velmo
