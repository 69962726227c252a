#include "musicdb/RootFolders.h"

#include <algorithm>
#include <cstdint>
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

// Merges the sorted runs of [begin, end) that start at `starts` (the first at 0) pairwise until
// one is left. Merging is stable, so songs that compare equal keep the order they came in.
template <typename Less> void mergeRuns(TreeNode** begin, TreeNode** end, std::vector<size_t> starts, Less less) {
    const size_t n = static_cast<size_t>(end - begin);
    starts.push_back(n);
    std::vector<TreeNode*> buffer(n);
    TreeNode** from = begin;
    TreeNode** to = buffer.data();
    while (starts.size() > 2) {
        std::vector<size_t> merged;
        for (size_t j = 0; j + 1 < starts.size(); j += 2) {
            const size_t a = starts[j], b = starts[j + 1], e = j + 2 < starts.size() ? starts[j + 2] : b;
            std::merge(from + a, from + b, from + b, from + e, to + a, less);
            merged.push_back(a);
        }
        merged.push_back(n);
        starts = std::move(merged);
        std::swap(from, to);
    }
    if (from != begin) std::copy(from, from + n, begin);
}

} // namespace

size_t RootFolders::pendingOrderOf(TreeNode* folderNode) {
    auto [it, added] = pendingIndex_.try_emplace(folderNode, pending_.size());
    if (added) pending_.push_back(PendingOrder{folderNode, 0, {}});
    return it->second;
}

void RootFolders::finishSongOrder() {
    if (pending_.empty()) return;
    Tree& folders = db_.folderTree();
    const NodeCollator& collator = db_.collator();
    auto less = [&collator](const TreeNode* a, const TreeNode* b) { return collator.compare(a->text(), b->text()) < 0; };
    for (PendingOrder& p : pending_) {
        TreeNode* folder = p.folder;
        const size_t count = folder->childCount();
        size_t firstSong = 0;
        while (firstSong < count && !isSongImage(folder->child(firstSong)->imageIndex())) ++firstSong;
        // Songs that were there before form the first run.
        const size_t before = count - p.appended - firstSong;
        std::vector<size_t> starts;
        if (before > 0) starts.push_back(0);
        for (size_t start : p.runStarts) starts.push_back(before + start);
        folders.reorderChildren(folder, firstSong,
                                [&](TreeNode** begin, TreeNode** end) { mergeRuns(begin, end, std::move(starts), less); });
    }
    pending_.clear();
    pendingIndex_.clear();
}

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
    size_t run = SIZE_MAX; // the pending order this call appends a run to, with deferSongOrder
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
            TreeNode* s;
            if (deferSongOrder_) {
                if (run == SIZE_MAX) {
                    run = pendingOrderOf(folderNode);
                    pending_[run].runStarts.push_back(pending_[run].appended);
                }
                s = folders.append(folderNode, c->text(), c->imageIndex());
                ++pending_[run].appended;
            } else {
                s = folders.insert(folderNode, rowAfterSongsNamed(folderNode, c->text()), c->text(), c->imageIndex());
            }
            s->setData(rec);
            rec->FolderNode = s;
            folders.setImageIndex(s, c->imageIndex());
            db_.DiskAdded = true;
            db_.setDBModified(true);
        }
    }
}

size_t RootFolders::rowAfterSongsNamed(const TreeNode* folderNode, std::string_view text) const {
    // Every song gets a node of its own, behind the songs of its name from disks rooted before.
    size_t lo = 0, hi = folderNode->childCount();
    while (lo < hi) {
        const size_t mid = lo + (hi - lo) / 2;
        if (db_.CompareTreeNodes(folderNode->child(mid), text, false, 0, iiSongFirst) == 1) hi = mid;
        else lo = mid + 1;
    }
    return lo;
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
    RootFolders builder(db_, true);
    Tree& music = db_.musicTree();
    for (size_t i = 0; i < music.topLevelCount(); ++i) builder.ReRoot(music.topLevel(i));
    builder.finishSongOrder();
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
