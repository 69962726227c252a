#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "musicdb/ChangedRoles.h"

namespace velmo {

struct TDataRec;
class ItemList;

// An item of a song list: the song's record and an image index. The caption is the song's
// path in the music tree, read from the tree when asked for, so a rename in the tree is seen
// by every list at once.
class ListItem {
public:
    TDataRec* data() const { return data_; }
    uint8_t imageIndex() const { return image_; }
    std::string caption() const;

private:
    friend class ItemList;
    friend class UnheardSongs;
    TDataRec* data_ = nullptr;
    ListItem* left_ = nullptr;
    ListItem* right_ = nullptr;
    ListItem* parent_ = nullptr;
    uint32_t size_ = 1;
    uint32_t priority_ = 0;
    // A Music List item's place among the database's unheard songs.
    uint32_t slot_ = 0;
    uint8_t image_ = 0;
};

// What a view needs to follow a list. Row ranges are inclusive: rows first to last.
class ItemListObserver {
public:
    virtual ~ItemListObserver() = default;
    virtual void beginInsert(size_t /*first*/, size_t /*last*/) {}
    virtual void endInsert() {}
    virtual void beginRemove(size_t /*first*/, size_t /*last*/) {}
    virtual void endRemove() {}
    virtual void itemChanged(size_t /*first*/, size_t /*last*/, ChangedRoles /*roles*/) {}
    virtual void beginReset() {}
    virtual void endReset() {}
};

// An ordered list of items with logarithmic insertion, removal and lookup by position or by
// item (an implicit treap), so a playlist of thousands of songs inserted at random places
// stays fast in a database of a million songs.
class ItemList {
public:
    ItemList();
    ItemList(const ItemList&) = delete;
    ItemList& operator=(const ItemList&) = delete;
    ~ItemList();

    size_t size() const { return sizeOf(root_) + pending_.size(); }
    bool empty() const { return size() == 0; }
    ListItem* at(size_t index) const;
    size_t indexOf(const ListItem* item) const;
    ListItem* first() const;
    ListItem* next(const ListItem* item) const;
    std::vector<ListItem*> items() const;
    // Visits every item in order, each reached once from its parent; first() and next() over a
    // whole list climb back up through the parents as well.
    template <typename Visit> void forEach(Visit&& visit) const {
        settle();
        visitInOrder(root_, visit);
    }

    // Inserts at `index`; an index at or past the end appends.
    ListItem* insert(size_t index, TDataRec* rec, uint8_t image);
    ListItem* append(TDataRec* rec, uint8_t image) { return insert(size(), rec, image); }
    void remove(ListItem* item);
    // Removes many items at once; observers hear one removal per run of adjacent rows.
    void remove(const std::vector<ListItem*>& items);
    void clear();
    void setImageIndex(ListItem* item, uint8_t image);
    // Tells observers that the captions of these items read differently now (their song or a
    // folder above it was renamed), one notification per run of adjacent rows.
    void captionsChanged(const std::vector<ListItem*>& items);

    void addObserver(ItemListObserver* observer);
    void removeObserver(ItemListObserver* observer);
    // Observers hear one reset instead of the single changes made in between. Calls nest.
    void beginBulkUpdate();
    void endBulkUpdate();
    // While no observer is told of single changes, insertions between these calls take their
    // places together, in one pass over the list, when the batch ends or the list is next read:
    // a playlist draw puts tens of thousands of songs at random rows. Calls nest.
    void beginInsertBatch() { ++batchDepth_; }
    void endInsertBatch();

private:
    template <typename F> void notify(F f) {
        if (bulkDepth_ == 0)
            for (ItemListObserver* o : observers_) f(o);
    }
    static uint32_t sizeOf(const ListItem* n) { return n ? n->size_ : 0; }
    template <typename Visit> static void visitInOrder(ListItem* root, Visit&& visit) {
        std::vector<ListItem*> path;
        for (ListItem* n = root; n || !path.empty();) {
            if (n) {
                path.push_back(n);
                n = n->left_;
                continue;
            }
            n = path.back();
            path.pop_back();
            visit(n);
            n = n->right_;
        }
    }
    // Puts the batched insertions in their places. Reading a list settles it: its items stay
    // what they are, only where the batched ones stand is worked out.
    void settle() const {
        if (!pending_.empty()) const_cast<ItemList*>(this)->placePending();
    }
    void placePending();
    void placeAt(size_t index, ListItem* item);
    static void update(ListItem* n);
    static ListItem* merge(ListItem* a, ListItem* b);
    static void split(ListItem* t, size_t k, ListItem*& left, ListItem*& right);
    void appendItem(ListItem* item);
    ListItem* newItem();
    void freeItem(ListItem* item);
    uint32_t nextPriority();
    bool notifying() const { return bulkDepth_ == 0 && !observers_.empty(); }
    void unlink(ListItem* item);
    // The rows of `items`, ascending, cut into runs of adjacent rows.
    std::vector<std::pair<size_t, size_t>> runsOf(const std::vector<ListItem*>& items) const;

    ListItem* root_ = nullptr;
    // Batched insertions, each with the index it was given.
    std::vector<std::pair<ListItem*, size_t>> pending_;
    int batchDepth_ = 0;
    // Items come from blocks of the list's own: a list of a million songs costs a thousand
    // allocations instead of a million, keeps its items close in memory, and a cleared list
    // gives its blocks back at once. Removed items wait in a free list for the next insertion.
    static constexpr size_t kBlockItems = 1024;
    std::vector<std::unique_ptr<ListItem[]>> blocks_;
    size_t usedInBlock_ = kBlockItems;
    ListItem* freeItems_ = nullptr;
    uint64_t seed_ = 0x9E3779B97F4A7C15ULL;
    std::vector<ItemListObserver*> observers_;
    int bulkDepth_ = 0;
};

// RAII form of beginInsertBatch/endInsertBatch.
class InsertBatch {
public:
    explicit InsertBatch(ItemList& list) : list_(list) { list_.beginInsertBatch(); }
    ~InsertBatch() { list_.endInsertBatch(); }
    InsertBatch(const InsertBatch&) = delete;
    InsertBatch& operator=(const InsertBatch&) = delete;

private:
    ItemList& list_;
};

} // namespace velmo
