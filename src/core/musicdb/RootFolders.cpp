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
// one is left.
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

// Whether `a` comes before `b` in a depth-first walk of the music tree: the order of songs of
// one name in a folder of the folder tree, whichever way the tree was built.
bool precedesInMusicTree(const TreeNode* a, const TreeNode* b) {
    auto depthOf = [](const TreeNode* n) {
        size_t depth = 0;
        for (; n->parent(); n = n->parent()) ++depth;
        return depth;
    };
    size_t da = depthOf(a), db = depthOf(b);
    for (; da > db; --da) a = a->parent();
    if (a == b) return false; // b holds a
    for (; db > da; --db) b = b->parent();
    if (a == b) return true; // a holds b
    while (a->parent() != b->parent()) a = a->parent(), b = b->parent();
    return a->row() < b->row();
}

// The order of songs in a folder-tree folder: by name, songs of one name as the music tree has them.
bool songBefore(const NodeCollator& collator, const TreeNode* a, const TreeNode* b) {
    const int order = collator.compare(a->text(), b->text());
    if (order != 0) return order < 0;
    return a->data() && b->data() && precedesInMusicTree(a->data()->MusicNode, b->data()->MusicNode);
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
    auto less = [&collator](const TreeNode* a, const TreeNode* b) { return songBefore(collator, a, b); };
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
    {
        PassDepth depth(depth_);
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
            placeSong(c, folderNode, run);
        }
    }
}

void RootFolders::placeSong(TreeNode* songNode, TreeNode* folderNode, size_t& run) {
    TDataRec* rec = songNode->data();
    if (!rec || rec->FolderNode) return;
    Tree& folders = db_.folderTree();
    TreeNode* s;
    if (deferSongOrder_) {
        if (run == SIZE_MAX) {
            run = pendingOrderOf(folderNode);
            pending_[run].runStarts.push_back(pending_[run].appended);
        }
        s = folders.append(folderNode, songNode->text(), songNode->imageIndex());
        ++pending_[run].appended;
    } else {
        s = folders.insert(folderNode, rowForSong(folderNode, songNode), songNode->text(), songNode->imageIndex());
    }
    s->setData(rec);
    rec->FolderNode = s;
    folders.setImageIndex(s, songNode->imageIndex());
    db_.DiskAdded = true;
    db_.setDBModified(true);
}

size_t RootFolders::rowForSong(const TreeNode* folderNode, const TreeNode* songNode) const {
    // Every song gets a node of its own, among the songs of its name in music-tree order;
    // subfolders come before every song.
    const NodeCollator& collator = db_.collator();
    size_t lo = 0, hi = folderNode->childCount();
    while (lo < hi) {
        const size_t mid = lo + (hi - lo) / 2;
        const TreeNode* sibling = folderNode->child(mid);
        if (isSongImage(sibling->imageIndex()) && songBefore(collator, songNode, sibling)) hi = mid;
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

bool RootFolders::songsBelowArePlaced(const TreeNode* node, std::vector<TDataRec*>& songs) const {
    std::vector<const TreeNode*> stack{node};
    while (!stack.empty()) {
        const TreeNode* n = stack.back();
        stack.pop_back();
        for (size_t i = 0; i < n->childCount(); ++i) stack.push_back(n->child(i));
        if (!isSongImage(n->imageIndex()) || !n->data()) continue;
        if (!n->data()->FolderNode) return false;
        songs.push_back(n->data());
    }
    return true;
}

void RootFolders::FollowRename(TreeNode* renamed) {
    // The root the node's songs hang from: the nearest marked node at or above it. No unmarked
    // node above that root (or above a node below every root) may hold songs of its own, as a
    // rebuild would make it a root, and every song must be placed; otherwise the folder tree
    // was not built from this music tree, and only a rebuild tells what it should be.
    TreeNode* root = renamed;
    while (root && !hasRootMark(root->imageIndex())) root = root->parent();
    std::vector<TDataRec*> songs;
    bool consistent = songsBelowArePlaced(renamed, songs) && (root || !isSongImage(renamed->imageIndex()));
    for (const TreeNode* n = root ? root->parent() : renamed; consistent && n && !hasRootMark(n->imageIndex());
         n = n->parent())
        consistent = !n->hasChildren() || !isSongImage(n->lastChild()->imageIndex());
    if (!consistent) {
        ReloadRootTree();
        return;
    }

    BulkUpdate bulk(db_);
    db_.detachFromFolderTree(songs);
    if (!root || root == renamed) {
        ReRoot(renamed);
    } else {
        {
            PassDepth depth(depth_);
            Tree& folders = db_.folderTree();
            std::vector<TreeNode*> between; // the unmarked folders from below the root down to the node
            for (TreeNode* n = renamed->parent(); n != root; n = n->parent()) between.push_back(n);
            std::vector<TreeNode*> entries{RootFolder(root)};
            for (auto it = between.rbegin(); it != between.rend(); ++it)
                entries.push_back(db_.TryToFindNode(entries.back(), folders, false, 0, iiFolder, (*it)->text()));
            if (isSongImage(renamed->imageIndex())) {
                size_t run = SIZE_MAX;
                placeSong(renamed, entries.back(), run);
            } else {
                entries.push_back(db_.TryToFindNode(entries.back(), folders, false, 0, iiFolder, renamed->text()));
                AddToRootTree(renamed, entries.back());
            }
            for (auto it = entries.rbegin(); it != entries.rend(); ++it) emptyCandidates_.push_back({*it, nullptr});
        }
        RemoveEmptyEntries();
    }
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
