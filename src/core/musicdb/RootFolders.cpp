#include "musicdb/RootFolders.h"

#include <string>
#include <unordered_set>

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
    struct Depth {
        int& depth;
        explicit Depth(int& d) : depth(d) { ++depth; }
        ~Depth() { --depth; }
    };
    {
        Depth depth(depth_);
        if (!hasRootMark(musicNode->imageIndex())) {
            FindRoot(musicNode);
        } else {
            TreeNode* root = RootFolder(musicNode);
            AddToRootTree(musicNode, root);
            emptyCandidates_.push_back({root, musicNode});
        }
    }
    if (depth_ == 0) RemoveEmptyEntries();
}

void RootFolders::RemoveEmptyEntries() {
    // A root nested in a root of the same name (or a folder reached twice that way) shares its
    // folder-tree entry with a caller still filling it, so entries are only removed here, once
    // the whole pass is done: children were noted before their parents, and a removed entry
    // had no children, so no other noted entry goes with it.
    std::vector<EmptyCandidate> candidates;
    candidates.swap(emptyCandidates_);
    Tree& folders = db_.folderTree();
    std::unordered_set<const TreeNode*> removed;
    for (const EmptyCandidate& c : candidates) {
        bool gone = removed.count(c.folderNode) != 0;
        if (!gone && !c.folderNode->hasChildren()) {
            removed.insert(c.folderNode);
            folders.remove(c.folderNode);
            gone = true;
        }
        // A root that brought nothing into the folder tree loses its mark.
        if (gone && c.root && hasRootMark(c.root->imageIndex()))
            db_.musicTree().setImageIndex(c.root, static_cast<uint8_t>(c.root->imageIndex() + 1));
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
            emptyCandidates_.push_back({g, nullptr});
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
