#include "musicdb/RootFolders.h"

#include <string>

#include "musicdb/MusicDatabase.h"

namespace velmo {

namespace {

// A folder's root name is its text; a disk's is its description, the text before " /label/".
std::string rootName(const TreeNode* node) {
    const std::string& text = node->text();
    if (!isDiskImage(node->imageIndex())) return text;
    size_t slash = text.find('/');
    if (slash == std::string::npos) return text;
    return text.substr(0, slash == 0 ? 0 : slash - 1);
}

} // namespace

void RootFolders::ReRoot(TreeNode* musicNode) {
    if (!hasRootMark(musicNode->imageIndex())) {
        FindRoot(musicNode);
        return;
    }
    TreeNode* root = RootFolder(musicNode);
    AddToRootTree(musicNode, root);
    if (!root->hasChildren()) {
        db_.folderTree().remove(root);
        db_.musicTree().setImageIndex(musicNode, static_cast<uint8_t>(musicNode->imageIndex() + 1));
    }
}

TreeNode* RootFolders::RootFolder(TreeNode* musicNode) {
    return db_.TryToFindNode(nullptr, db_.folderTree(), false, 0, iiFolderRoot, rootName(musicNode));
}

void RootFolders::AddToRootTree(TreeNode* musicNode, TreeNode* folderNode) {
    Tree& folders = db_.folderTree();
    for (size_t i = 0; i < musicNode->childCount(); ++i) {
        TreeNode* c = musicNode->child(i);
        const int image = c->imageIndex();
        if (image == iiFolderRoot) {
            ReRoot(c);
        } else if (image == iiFolder) {
            TreeNode* g = db_.TryToFindNode(folderNode, folders, false, 0, iiFolder, c->text());
            AddToRootTree(c, g);
            if (!g->hasChildren()) folders.remove(g);
        } else if (isSongImage(image)) {
            TDataRec* rec = c->data();
            if (!rec || rec->FolderNode) continue;
            TreeNode* s = db_.TryToFindNode(folderNode, folders, true, 0, c->imageIndex(), c->text());
            // An empty file matches a same-named song of another disk by size 0; it still needs
            // a node of its own.
            if (s->data() && s->data() != rec)
                s = folders.insert(folderNode, s->row() + 1, c->text(), c->imageIndex());
            s->setData(rec);
            rec->FolderNode = s;
            folders.setImageIndex(s, c->imageIndex());
            db_.DiskAdded = true;
            db_.setDBModified(true);
        }
    }
}

void RootFolders::FindRoot(TreeNode* musicNode) {
    for (size_t i = 0; i < musicNode->childCount(); ++i) {
        if (isSongImage(musicNode->child(i)->imageIndex())) {
            db_.musicTree().setImageIndex(musicNode, static_cast<uint8_t>(musicNode->imageIndex() - 1));
            ReRoot(musicNode);
            return;
        }
    }
    for (size_t i = 0; i < musicNode->childCount(); ++i) ReRoot(musicNode->child(i));
}

void RootFolders::ReloadRootTree() {
    BulkUpdate bulk(db_);
    for (const auto& rec : db_.dataList()) rec->FolderNode = nullptr;
    db_.folderTree().clear();
    Tree& music = db_.musicTree();
    for (size_t i = 0; i < music.topLevelCount(); ++i) ReRoot(music.topLevel(i));
}

void RootFolders::ResetRoots(TreeNode* musicNode) {
    for (size_t i = 0; i < musicNode->childCount(); ++i) {
        TreeNode* c = musicNode->child(i);
        if (!isFolderImage(c->imageIndex())) continue;
        db_.musicTree().setImageIndex(c, iiFolder);
        ResetRoots(c);
    }
}

bool RootFolders::ButtonRootClick(const std::vector<TreeNode*>& selected) {
    bool changed = false;
    for (TreeNode* node : selected) {
        const int image = node->imageIndex();
        if (image != iiCDDisk && image != iiHardDisk && image != iiFolder) continue;
        db_.musicTree().setImageIndex(node, static_cast<uint8_t>(image - 1));
        ResetRoots(node);
        changed = true;
    }
    if (changed) db_.setDBModified(true);
    return changed;
}

bool RootFolders::ButtonSimpleClick(const std::vector<TreeNode*>& selected) {
    bool changed = false;
    for (TreeNode* node : selected) {
        const int image = node->imageIndex();
        if (image != iiCDDiskRoot && image != iiHardDiskRoot && image != iiFolderRoot) continue;
        db_.musicTree().setImageIndex(node, static_cast<uint8_t>(image + 1));
        changed = true;
    }
    if (changed) db_.setDBModified(true);
    return changed;
}

} // namespace velmo
