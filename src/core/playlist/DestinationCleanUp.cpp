#include "playlist/DestinationCleanUp.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "musicdb/MusicDatabase.h"
#include "platform/FileIO.h"
#include "platform/Folders.h"
#include "settings/ProfileSettings.h"

namespace velmo {

bool isInNewPlaylist(const TreeNode* songNode) {
    const int image = songNode->imageIndex();
    return image == imageOfStatus(ssPlayList) || image == imageOfStatus(ssFavorites) ||
           image == imageOfStatus(ssGoodPlayList);
}

std::vector<TDataRec*> newPlaylistInListOrder(MusicDatabase& db) {
    std::vector<std::pair<size_t, TDataRec*>> keyed;
    ItemList& playList = db.playList();
    keyed.reserve(playList.size());
    for (ListItem* item = playList.first(); item; item = playList.next(item)) {
        TDataRec* rec = item->data();
        if (rec->MusicListItem && isInNewPlaylist(rec->MusicNode))
            keyed.emplace_back(db.musicList().indexOf(rec->MusicListItem), rec);
    }
    std::sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<TDataRec*> out;
    out.reserve(keyed.size());
    for (const auto& [index, rec] : keyed) out.push_back(rec);
    return out;
}

DestinationCleanUp::DestinationCleanUp(const CopyContext& context)
    : c_(context), destination_(DestinationFolder::resolve(context.settings.PathToDB, context.AppDir, context.drives)) {}

void DestinationCleanUp::DeleteOldSongs() {
    existingFolders_.clear();
    if (!destination_) return;
    cleanFolder(destination_->folder, {nullptr}, true);
}

// `mirrored` are the music-tree nodes whose children this folder holds (nullptr: the top level);
// usually one, more when names differ only in the characters a destination name replaces.
void DestinationCleanUp::cleanFolder(const std::string& native, const std::vector<const TreeNode*>& mirrored,
                                     bool isRoot) {
    // The destination folder itself may be a link (to a stick, say); nothing below it is followed.
    std::optional<std::vector<platform::FolderEntry>> entries = platform::listFolderEntries(native, isRoot);
    if (!entries || entries->empty()) return;
    const std::string prefix = native.back() == '/' ? native : native + "/";

    std::unordered_map<std::string_view, size_t> byName;
    byName.reserve(entries->size());
    for (size_t i = 0; i < entries->size(); ++i) {
        const platform::FolderEntry& e = (*entries)[i];
        if (e.kind != platform::EntryKind::Folder && platform::isPartialCopyName(e.name)) {
            platform::removeFile(prefix + e.name);
            continue;
        }
        byName.emplace(e.name, i);
    }

    std::vector<bool> removed(entries->size(), false);
    std::vector<std::vector<const TreeNode*>> subfolders(entries->size());
    std::vector<size_t> subfolderOrder;
    const Tree& tree = c_.db.musicTree();
    std::string scratch;
    for (const TreeNode* parent : mirrored) {
        const size_t count = tree.childCount(parent);
        for (size_t i = 0; i < count; ++i) {
            const TreeNode* child = tree.child(parent, i);
            std::string_view name = child->text();
            if (name.find_first_of("/<>") != std::string_view::npos) {
                scratch = DestName(name);
                name = scratch;
            }
            auto found = byName.find(name);
            if (found == byName.end()) continue;
            const size_t at = found->second;
            const platform::EntryKind kind = (*entries)[at].kind;
            if (isSongImage(child->imageIndex())) {
                if (removed[at] || isInNewPlaylist(child)) continue;
                if (kind == platform::EntryKind::File || kind == platform::EntryKind::Link) {
                    platform::removeFile(prefix + (*entries)[at].name);
                    removed[at] = true;
                }
            } else if (kind == platform::EntryKind::Folder) {
                if (subfolders[at].empty()) subfolderOrder.push_back(at);
                subfolders[at].push_back(child);
            }
        }
    }
    for (size_t at : subfolderOrder) {
        std::string path = prefix + (*entries)[at].name;
        existingFolders_.push_back(path);
        cleanFolder(path, subfolders[at], false);
    }
}

void DestinationCleanUp::MakeDirLists() {
    OldDirs = existingFolders_;
    NewDirs.clear();
    if (!destination_) return;
    NewDirs = destination_->chain;
    std::unordered_set<const TreeNode*> listed;
    const TreeNode* lastFolder = nullptr;
    std::vector<const TreeNode*> missing;
    for (const TDataRec* rec : newPlaylistInListOrder(c_.db)) {
        const TreeNode* folder = rec->MusicNode->parent();
        if (!folder || folder == lastFolder) continue;
        lastFolder = folder;
        missing.clear();
        for (const TreeNode* n = folder; n && !listed.count(n); n = n->parent()) missing.push_back(n);
        for (size_t i = missing.size(); i-- > 0;) {
            listed.insert(missing[i]);
            NewDirs.push_back(destination_->nativePath(DestName(musicTreePath(missing[i]))));
        }
    }
}

void DestinationCleanUp::DeleteOldDirs() {
    // A folder the new playlist needs would be made again at once: removing it changes nothing
    // but costs a removal and a creation, which on some disks take milliseconds each.
    std::unordered_set<std::string_view> needed(NewDirs.begin(), NewDirs.end());
    for (size_t i = OldDirs.size(); i-- > 0;)
        if (!needed.count(OldDirs[i])) platform::removeEmptyFolder(OldDirs[i]);
    OldDirs.clear();
}

void DestinationCleanUp::CreateNewDirs() {
    for (const std::string& dir : NewDirs) platform::createFolder(dir);
    NewDirs.clear();
}

void cleanUpDestination(const CopyContext& context) {
    DestinationCleanUp cleanUp(context);
    cleanUp.DeleteOldSongs();
    cleanUp.MakeDirLists();
    cleanUp.DeleteOldDirs();
    cleanUp.CreateNewDirs();
}

} // namespace velmo
