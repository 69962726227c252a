#include "DatabaseBuilders.h"

namespace velmo::test {

TreeNode* addContainer(MusicDatabase& db, TreeNode* parent, const std::string& text, uint8_t image) {
    TreeNode* n = db.TryToFindNode(parent, db.musicTree(), parent != nullptr, 0, image, text);
    if (!n->data()) db.AddToDataList(n);
    return n;
}

TreeNode* addCD(MusicDatabase& db, const std::string& description, const std::string& label, uint8_t image) {
    return addContainer(db, nullptr, description + " /" + label + "/", image);
}

TreeNode* addFolder(MusicDatabase& db, TreeNode* parent, const std::string& name, uint8_t image) {
    return addContainer(db, parent, name, image);
}

TDataRec* addSong(MusicDatabase& db, TreeNode* folder, const std::string& name, int32_t size, int status) {
    TreeNode* n = db.TryToFindNode(folder, db.musicTree(), true, size, imageOfStatus(ssUnused), name);
    if (n->data()) return n->data();
    TDataRec* rec = db.AddToDataList(n);
    rec->Size = size;
    rec->MusicListItem = db.musicList().append(rec, imageOfStatus(ssUnused));
    db.countNewUnusedSong(rec);
    if (status != ssUnused) db.SetStatus(rec, status);
    return rec;
}

std::vector<TDataRec*> recordsOf(const ItemList& list) {
    std::vector<TDataRec*> out;
    for (ListItem* item = list.first(); item; item = list.next(item)) out.push_back(item->data());
    return out;
}

std::vector<std::string> captionsOf(const ItemList& list) {
    std::vector<std::string> out;
    for (ListItem* item = list.first(); item; item = list.next(item)) out.push_back(item->caption());
    return out;
}

} // namespace velmo::test
