#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "musicdb/ItemList.h"
#include "musicdb/NodeCollator.h"
#include "musicdb/SongStatus.h"
#include "musicdb/StatCounters.h"
#include "musicdb/TDataRec.h"
#include "musicdb/Tree.h"
#include "musicdb/UnheardSongs.h"
#include "util/RandomSource.h"

namespace velmo {

// Told about changes that are not rows of a tree or list.
class DatabaseListener {
public:
    virtual ~DatabaseListener() = default;
    // The counters or DBModified changed: the statistics line and caption are out of date.
    virtual void statisticsChanged() {}
    // ClearDB ran: forget any song or node kept outside the database (player, hints).
    virtual void databaseCleared() {}
    // These songs are about to leave the database (their records and nodes are still valid
    // during the call): forget them and their nodes (player, hints).
    virtual void songsRemoving(const std::vector<const TDataRec*>& /*songs*/) {}
};

// The music database in memory: the music tree, the folder tree, the five song lists, the
// records of every music-tree node and the status counters. Every status change goes
// through SetStatus, which keeps counters, lists and icons in step.
class MusicDatabase {
public:
    explicit MusicDatabase(std::unique_ptr<RandomSource> random = makeClockSeededRandom());
    MusicDatabase(const MusicDatabase&) = delete;
    MusicDatabase& operator=(const MusicDatabase&) = delete;
    ~MusicDatabase();

    Tree& musicTree() { return musicTree_; }
    Tree& folderTree() { return folderTree_; }
    ItemList& musicList() { return musicList_; }
    ItemList& playList() { return playList_; }
    ItemList& blackList() { return blackList_; }
    ItemList& favorites() { return favorites_; }
    ItemList& justGood() { return justGood_; }
    // The songs a playlist may draw, kept in step with the Music List and every status change.
    UnheardSongs& unheardSongs() { return unheard_; }
    const StatCounters& counters() const { return counters_; }
    const std::vector<std::unique_ptr<TDataRec>>& dataList() const { return DataList_; }
    RandomSource& random() { return *random_; }
    void setRandom(std::unique_ptr<RandomSource> random) { random_ = std::move(random); }
    const NodeCollator& collator() const { return collator_; }

    bool DBModified() const { return modified_; }
    void setDBModified(bool modified);

    // The status of a song: the image index of its Music List item minus 6.
    static int statusOf(const TDataRec* rec);

    // Changes a song's status: counters, list membership (a new Playlist item lands at a
    // random place), icons of all its nodes and items, DBModified. ssJustGood maps to the Just
    // Good status that matches the song's current one.
    void SetStatus(TDataRec* rec, int newStatus);

    // Creates the record of a music-tree node and stores it in the node.
    TDataRec* AddToDataList(TreeNode* node);
    TDataRec* lastRecord() const { return lastRecord_; }

    // The disk (parent nullptr) or folder node of this text below `parent`, found or created
    // at its sorted place with its record.
    TreeNode* addContainer(TreeNode* parent, std::string_view text, uint8_t imageIndex);
    // Enters a song node of the music tree into the database as unused: its record (made when
    // missing) gets `size`, its Music List item goes to `listIndex` (at or past the end:
    // appended), its node shows unused, and `a` and `n` count it. A song already entered is
    // returned as it is. The one way a song enters the database.
    TDataRec* enterSong(TreeNode* node, int32_t size, size_t listIndex = SIZE_MAX);
    // The song of this name and size below `folder`, found, or created at its sorted place and
    // entered (enterSong).
    TDataRec* addSong(TreeNode* folder, std::string_view name, int32_t size, size_t listIndex = SIZE_MAX);
    // A disk or folder line of a database file may carry a size, which files written
    // elsewhere rely on being part of the total size sum `a` (and of nothing else): `sign` 1
    // when its record is loaded, -1 when it goes.
    void countContainerSize(const TDataRec* rec, int sign);

    // Takes songs out of the database as deleting them does: each becomes used (leaving the
    // Playlist, Black List, Favorites and Just Good lists), leaves the Music List and the
    // counters `a` and `u`, loses its nodes in both trees, and the disks and folders that are
    // left empty go with their records. Listeners hear songsRemoving once first, then one statistics
    // change. Records that are not entered songs are skipped; repeats count once. Costs a
    // logarithmic time per song plus one pass over the siblings of each touched folder.
    void removeSongs(const std::vector<TDataRec*>& songs);
    // Removes a disk or folder node that holds no songs, with the records of it and of the
    // empty folders below it.
    void removeEmptyBranch(TreeNode* node);
    // Takes the folder-tree nodes of songs out (their FolderNode becomes null), with the
    // folders they leave empty; the songs stay in the music tree and the lists.
    void detachFromFolderTree(const std::vector<TDataRec*>& songs);

    // Gives a music-tree node a new text and moves it to its sorted place among its siblings.
    // A song's folder-tree node follows; a disk or folder rename changes which root folders
    // merge, so the caller brings the folder tree up to date (RootFolders::FollowRename). Every list
    // hears which of its rows now read a different caption. Sets DBModified.
    void renameNode(TreeNode* node, std::string newText);

    // The node at `path`, the texts from the top level down joined by "\" (a Music List
    // caption in the music tree), found by bisection level by level; nullptr when there is
    // none. Of several nodes of one path (songs of one name and several sizes, or siblings
    // renamed alike) the first in tree order.
    TreeNode* findNode(const Tree& tree, std::string_view path) const;
    // The songs whose Music List caption is `caption`, in tree order: one, or several files of
    // one name and different sizes (largest first); empty when there is none.
    std::vector<TDataRec*> findSongs(std::string_view caption) const;
    // The first of findSongs, or nullptr.
    TDataRec* findSong(std::string_view caption) const;

    // -1 when `node` sorts before a new node of this text, kind and size, 1 after, 0 a match.
    int CompareTreeNodes(const TreeNode* node, std::string_view text, bool compareSize, int32_t size,
                         uint8_t imageIndex) const;
    // The same order between an entry not yet in a tree (text, image, size) and a new one.
    int compareEntries(std::string_view existingText, uint8_t existingImage, int32_t existingSize,
                       std::string_view text, bool compareSize, int32_t size, uint8_t imageIndex) const;
    template <typename SizeOfExisting>
    int compareEntries(std::string_view existingText, uint8_t existingImage, SizeOfExisting existingSizeOf,
                       std::string_view text, bool compareSize, int32_t size, uint8_t imageIndex) const;
    // Returns the child of `parent` (nullptr: top level) that matches, or creates it at its
    // sorted place. Siblings are searched by bisection: they are kept in order.
    TreeNode* TryToFindNode(TreeNode* parent, Tree& tree, bool compareSize, int32_t size, uint8_t imageIndex,
                            std::string_view text, bool startAtSibling = false);
    // The compare handlers used when a whole tree is re-sorted.
    int TreeViewMusicTreeCompare(const TreeNode* node1, const TreeNode* node2) const;
    int TreeViewFoldersCompare(const TreeNode* node1, const TreeNode* node2) const;

    // Empties the whole database in memory. Neither refreshes the statistics nor touches
    // DBModified: callers do.
    void ClearDB();
    // "Reset icons": used and playlist songs become unused, Just Good ones Just Good unused.
    void ResetIcons();

    // Observers of the trees and lists hear one reset for everything between these calls,
    // and listeners one statistics change at the end. Calls nest.
    void beginBulkUpdate();
    void endBulkUpdate();

    // Listeners hear one statistics change at the end instead of one per song; the trees and
    // lists still report every row (so views keep their expansion and selection).
    void beginStatisticsBatch() { ++statisticsBatchDepth_; }
    void endStatisticsBatch();
    // The Playlist, Black List, Favorites and Just Good lists report one reset each instead
    // of every row: for changes of many songs at once.
    void beginStatusListsBulkUpdate();
    void endStatusListsBulkUpdate();

    void addListener(DatabaseListener* listener);
    void removeListener(DatabaseListener* listener);
    void notifyStatisticsChanged();

    // Set while a folder scan or a folder-tree rebuild adds songs; read by the add-disk dialog.
    bool DiskAdded = false;

private:
    int compareText(std::string_view a, std::string_view b) const { return collator_.compare(a, b); }
    ItemList& listOf(Counter c);
    ListItem*& itemField(TDataRec* rec, Counter c);
    // The one place counters change: each key gets its delta, its sum the delta times the
    // record's size; `a` gets `total` and `totalSize` times the size.
    void count(const TDataRec* rec, const int8_t* deltas, int total, int totalSize);
    void freeRecord(TDataRec* rec);
    // Row of the first child of `parent` that does not sort before an entry of this text,
    // kind and size (CompareTreeNodes), skipping the child at `skip`.
    size_t lowerBound(const Tree& tree, const TreeNode* parent, std::string_view text, bool compareSize,
                      int32_t size, uint8_t imageIndex, size_t skip = SIZE_MAX) const;
    // Row where a renamed node goes among its siblings.
    size_t sortedRow(const Tree& tree, const TreeNode* node, std::string_view text, bool compareSize) const;
    // Removes the nodes (children of various parents) from `tree`, one pass per parent, and then
    // the ancestors they leave empty, freeing the records of those (music tree only).
    void removeNodes(Tree& tree, std::vector<TreeNode*> nodes, bool freeEmptiedRecords);
    // The nodes below `parent` at `path`, in tree order; with `firstOnly` the first one.
    void findNodes(const Tree& tree, const TreeNode* parent, std::string_view path, std::vector<TreeNode*>& found,
                   bool firstOnly) const;

    std::unique_ptr<RandomSource> random_;
    NodeCollator collator_;
    Tree musicTree_;
    Tree folderTree_;
    ItemList musicList_, playList_, blackList_, favorites_, justGood_;
    UnheardSongs unheard_{musicList_};
    StatCounters counters_;
    std::vector<std::unique_ptr<TDataRec>> DataList_;
    TDataRec* lastRecord_ = nullptr;
    bool modified_ = false;
    int bulkDepth_ = 0;
    int statisticsBatchDepth_ = 0;
    bool statisticsPending_ = false;
    std::vector<DatabaseListener*> listeners_;
};

// RAII form of beginStatisticsBatch/endStatisticsBatch.
class StatisticsBatch {
public:
    explicit StatisticsBatch(MusicDatabase& db) : db_(db) { db_.beginStatisticsBatch(); }
    ~StatisticsBatch() { db_.endStatisticsBatch(); }
    StatisticsBatch(const StatisticsBatch&) = delete;
    StatisticsBatch& operator=(const StatisticsBatch&) = delete;

private:
    MusicDatabase& db_;
};

// RAII form of beginStatusListsBulkUpdate/endStatusListsBulkUpdate, when `active`.
class StatusListsBulkUpdate {
public:
    StatusListsBulkUpdate(MusicDatabase& db, bool active) : db_(db), active_(active) {
        if (active_) db_.beginStatusListsBulkUpdate();
    }
    ~StatusListsBulkUpdate() {
        if (active_) db_.endStatusListsBulkUpdate();
    }
    StatusListsBulkUpdate(const StatusListsBulkUpdate&) = delete;
    StatusListsBulkUpdate& operator=(const StatusListsBulkUpdate&) = delete;

private:
    MusicDatabase& db_;
    bool active_;
};

// RAII form of beginBulkUpdate/endBulkUpdate, so an error mid-way still ends the update.
class BulkUpdate {
public:
    explicit BulkUpdate(MusicDatabase& db) : db_(db) { db_.beginBulkUpdate(); }
    ~BulkUpdate() { db_.endBulkUpdate(); }
    BulkUpdate(const BulkUpdate&) = delete;
    BulkUpdate& operator=(const BulkUpdate&) = delete;

private:
    MusicDatabase& db_;
};

} // namespace velmo
