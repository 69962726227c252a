#pragma once
#include <cstdint>
#include <string>

#include "musicdb/TIDTag.h"

namespace velmo {

class TreeNode;
class ListItem;

// The record of one music-tree node. Disks and folders use only MusicNode; songs use all
// fields. A song's list items are present exactly while it counts in the matching counter.
struct TDataRec {
    TreeNode* MusicNode = nullptr;
    TreeNode* FolderNode = nullptr;
    ListItem* MusicListItem = nullptr;
    ListItem* PlayListItem = nullptr;
    ListItem* BlackListItem = nullptr;
    ListItem* FavoritesItem = nullptr;
    ListItem* JustGoodItem = nullptr;
    int32_t Size = 0;
    // The record's place in the database's record list, so it leaves that list in constant time.
    uint32_t dataIndex = 0;
    // The tag is kept in its one-line database form: one string per song instead of five
    // keeps a collection of a million songs within memory.
    std::string TagStr = kEmptyTagString;

    TIDTag IDTag() const;
    void SetIDTag(const TIDTag& tag) { TagStr = MakeTagStr(tag); }
};

// A node's path in the music tree: the texts from the top level down, joined by "\". For a
// song this is its Music List caption.
std::string musicTreePath(const TreeNode* node);

} // namespace velmo
