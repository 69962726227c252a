// Which items the main window's context menu offers where it opens.
#include <gtest/gtest.h>

#include "app/ContextMenu.h"

namespace velmo {
namespace {

TEST(ContextMenu, JustGoodSubmenuOnlyOnTheJustGoodListAndThePlainItemEverywhereElse) {
    ContextMenuPlace justGood{.onList = true, .onJustGoodList = true, .hasSelection = true};
    ContextMenuItems items = contextMenuItems(justGood);
    EXPECT_TRUE(items.justGoodSubmenu);
    EXPECT_FALSE(items.justGoodItem);
    for (const ContextMenuPlace& place : {ContextMenuPlace{.onList = true}, ContextMenuPlace{},
                                          ContextMenuPlace{.onFolderNode = true}}) {
        items = contextMenuItems(place);
        EXPECT_FALSE(items.justGoodSubmenu);
        EXPECT_TRUE(items.justGoodItem);
    }
}

TEST(ContextMenu, ShellOpenRefusedOnAFolderOfTheFolderTreeAndPlayNeedsASelection) {
    EXPECT_FALSE(contextMenuItems({.onFolderNode = true, .hasSelection = true}).shellOpen);
    EXPECT_TRUE(contextMenuItems({.hasSelection = true}).shellOpen);
    EXPECT_TRUE(contextMenuItems({.onList = true}).shellOpen);
    EXPECT_TRUE(contextMenuItems({.onList = true, .hasSelection = true}).playNow);
    EXPECT_FALSE(contextMenuItems({.onList = true}).playNow);
    EXPECT_FALSE(contextMenuItems({.onFolderNode = true}).playNow);
    EXPECT_TRUE(contextMenuItems({}).deleteItem);
}

} // namespace
} // namespace velmo
