#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace velmo {

struct TDataRec;

// The candidates of one playlist generation, in Music List order, each ordinary or Just Good.
// Entries are taken out as songs are drawn; finding the i-th remaining entry, the next
// remaining entry of a kind after a place, and removing one are logarithmic (Fenwick trees),
// so a generation from a million candidates stays fast.
class DrawList {
public:
    enum Kind : uint8_t { Ordinary = 0, JustGood = 1 };

    void clear();
    // Fills the list; `kinds[k]` says the kind of `records[k]`.
    void assign(std::vector<TDataRec*> records, std::vector<Kind> kinds);

    size_t size() const { return remaining_[0] + remaining_[1]; }
    bool empty() const { return size() == 0; }
    size_t remaining(Kind kind) const { return remaining_[kind]; }

    // The position (in the original order) of the i-th remaining entry.
    size_t positionOf(size_t i) const;
    TDataRec* record(size_t position) const { return records_[position]; }
    Kind kind(size_t position) const { return kinds_[position]; }
    // The first remaining entry of `kind` after `position`, else the first from the start;
    // SIZE_MAX when none of that kind remains.
    size_t nextOfKind(size_t position, Kind kind) const;
    void remove(size_t position);

private:
    struct Fenwick {
        std::vector<int32_t> tree;
        void build(const std::vector<uint8_t>& present);
        void add(size_t index, int32_t delta);
        int32_t prefix(size_t count) const; // sum of the first `count` entries
        size_t findKth(int32_t k) const;    // index of the k-th (from 1) present entry
    };

    std::vector<TDataRec*> records_;
    std::vector<Kind> kinds_;
    std::vector<uint8_t> present_;
    Fenwick all_, byKind_[2];
    size_t remaining_[2] = {0, 0};
};

} // namespace velmo
