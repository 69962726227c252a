#pragma once
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "musicdb/ItemList.h"
#include "musicdb/NodeCollator.h"
#include "musicdb/SongStatus.h"
#include "musicdb/StatCounters.h"
#include "musicdb/TDataRec.h"
#include "musicdb/Tree.h"
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
    const StatCounters& counters() const { return counters_; }
    StatCounters& counters() { return counters_; }
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
    // Removes a disk or folder node that holds no songs, with the records of it and of the
    // empty folders below it.
    void removeEmptyBranch(TreeNode* node);

    // Counts a song that enters the database as unused (totals `a` and `n`).
    void countNewUnusedSong(const TDataRec* rec);

    // -1 when `node` sorts before a new node of this text, kind and size, 1 after, 0 a match.
    int CompareTreeNodes(const TreeNode* node, std::string_view text, bool compareSize, int32_t size,
                         uint8_t imageIndex) const;
    // The same order between an entry not yet in a tree (text, image, size) and a new one.
    int compareEntries(std::string_view existingText, uint8_t existingImage, int32_t existingSize,
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

    std::unique_ptr<RandomSource> random_;
    NodeCollator collator_;
    Tree musicTree_;
    Tree folderTree_;
    ItemList musicList_, playList_, blackList_, favorites_, justGood_;
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
