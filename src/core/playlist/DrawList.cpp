#include "playlist/DrawList.h"

#include <bit>

namespace velmo {

void DrawList::Fenwick::build(const std::vector<uint8_t>& present) {
    // Linear construction: each node passes its sum to its parent.
    tree.assign(present.size() + 1, 0);
    for (size_t i = 1; i <= present.size(); ++i) {
        tree[i] += present[i - 1];
        size_t parent = i + (i & (~i + 1));
        if (parent <= present.size()) tree[parent] += tree[i];
    }
}

void DrawList::Fenwick::add(size_t index, int32_t delta) {
    for (size_t i = index + 1; i < tree.size(); i += i & (~i + 1)) tree[i] += delta;
}

int32_t DrawList::Fenwick::prefix(size_t count) const {
    int32_t sum = 0;
    for (size_t i = count; i > 0; i -= i & (~i + 1)) sum += tree[i];
    return sum;
}

size_t DrawList::Fenwick::findKth(int32_t k) const {
    size_t pos = 0;
    const size_t n = tree.size() - 1;
    for (size_t step = n ? std::bit_floor(n) : 0; step > 0; step >>= 1) {
        if (pos + step <= n && tree[pos + step] < k) {
            pos += step;
            k -= tree[pos];
        }
    }
    return pos; // zero-based index of the k-th present entry
}

void DrawList::clear() { assign({}, {}); }

void DrawList::assign(std::vector<TDataRec*> records, std::vector<Kind> kinds) {
    records_ = std::move(records);
    kinds_ = std::move(kinds);
    present_.assign(records_.size(), 1);
    all_.build(present_);
    for (int k = 0; k < 2; ++k) {
        std::vector<uint8_t> ofKind(records_.size());
        remaining_[k] = 0;
        for (size_t i = 0; i < kinds_.size(); ++i) {
            ofKind[i] = kinds_[i] == k;
            remaining_[k] += ofKind[i];
        }
        byKind_[k].build(ofKind);
    }
}

size_t DrawList::positionOf(size_t i) const { return all_.findKth(static_cast<int32_t>(i) + 1); }

size_t DrawList::nextOfKind(size_t position, Kind k) const {
    if (remaining_[k] == 0) return SIZE_MAX;
    const Fenwick& f = byKind_[k];
    const int32_t upToHere = f.prefix(position + 1);
    if (static_cast<size_t>(upToHere) < remaining_[k]) return f.findKth(upToHere + 1);
    return f.findKth(1);
}

void DrawList::remove(size_t position) {
    if (!present_[position]) return;
    present_[position] = 0;
    all_.add(position, -1);
    byKind_[kinds_[position]].add(position, -1);
    --remaining_[kinds_[position]];
}

} // namespace velmo
