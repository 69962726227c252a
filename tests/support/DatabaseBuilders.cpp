#include "DatabaseBuilders.h"

namespace velmo::test {

TreeNode* addContainer(MusicDatabase& db, TreeNode* parent, const std::string& text, uint8_t image) {
    return db.addContainer(parent, text, image);
}

TreeNode* addCD(MusicDatabase& db, const std::string& description, const std::string& label, uint8_t image) {
    return addContainer(db, nullptr, description + " /" + label + "/", image);
}

TreeNode* addFolder(MusicDatabase& db, TreeNode* parent, const std::string& name, uint8_t image) {
    return addContainer(db, parent, name, image);
}

TDataRec* addSong(MusicDatabase& db, TreeNode* folder, const std::string& name, int32_t size, int status) {
    const size_t before = db.musicList().size();
    TDataRec* rec = db.addSong(folder, name, size);
    // A song already there keeps its status.
    if (db.musicList().size() > before && status != ssUnused) db.SetStatus(rec, status);
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
