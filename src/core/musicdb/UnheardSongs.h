#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace velmo {

struct TDataRec;
class ItemList;
class ListItem;

// The songs a playlist may draw (unused and Just Good unused), in Music List order, each
// ordinary or Just Good. The database keeps it up to date as songs enter, leave and change
// status, so a generation neither walks the Music List nor builds anything of its own.
//
// Each Music List item owns a slot; slots keep the list's order. A song that leaves the list
// leaves an empty slot, a song appended to the list gets the next one. A song inserted inside
// the list has no slot between its neighbours: every slot is handed out anew, from one walk of
// the list, at the next query. Finding the i-th unheard song and the next one of a kind after a
// slot is logarithmic (Fenwick trees, built at the first query after many changes).
class UnheardSongs {
public:
    enum Kind : uint8_t { None = 0, Ordinary = 1, JustGood = 2 };

    explicit UnheardSongs(const ItemList& musicList) : musicList_(musicList) {}
    // The kind of a song whose Music List item shows this image.
    static Kind kindOfImage(uint8_t image);
    UnheardSongs(const UnheardSongs&) = delete;
    UnheardSongs& operator=(const UnheardSongs&) = delete;

    // Told by the database as the Music List changes.
    void clear();
    void appended(ListItem* item, Kind kind);
    void insertedInside() { ordered_ = false; }
    void removed(const ListItem* item);
    void changed(const ListItem* item, Kind kind);

    size_t size();
    bool empty() { return size() == 0; }
    size_t remaining(Kind kind);
    // The slot of the i-th unheard song (from 0), in list order.
    size_t slotOf(size_t i);
    TDataRec* record(size_t slot) const { return records_[slot]; }
    Kind kind(size_t slot) const { return kinds_[slot]; }
    // The first unheard song of `kind` (Ordinary or JustGood) after `slot`, else the first from the start; SIZE_MAX
    // when no song of that kind is unheard.
    size_t nextOfKind(size_t slot, Kind kind);

private:
    // Renumbers the slots when their order was lost, and builds the trees when they were dropped.
    void prepare();
    void renumber();
    void build();
    void setKind(size_t slot, Kind kind);
    // Counts of the first `count` slots: unheard songs, Just Good ones, or the kind asked for.
    int32_t prefix(const std::vector<int32_t>& tree, size_t count) const;
    int32_t prefixOfKind(Kind kind, size_t count) const;
    // The slot of the k-th (from 1) unheard song of `kind`; Kind None counts both kinds.
    size_t findKth(Kind kind, int32_t k) const;
    void add(std::vector<int32_t>& tree, size_t slot, int32_t delta);

    const ItemList& musicList_;
    std::vector<TDataRec*> records_;
    std::vector<Kind> kinds_;
    // Fenwick trees over the slots: unheard songs, and Just Good unheard songs.
    std::vector<int32_t> all_, good_;
    size_t remaining_[3] = {0, 0, 0};
    size_t occupied_ = 0;
    bool ordered_ = true;
    bool built_ = false;
    // Changes since the trees were built: after many, rebuilding costs less than following.
    size_t changesSinceBuild_ = 0;
};

} // namespace velmo
