#include "musicdb/UnheardSongs.h"

#include <bit>
#include <cassert>

#include "musicdb/ItemList.h"
#include "musicdb/SongStatus.h"

namespace velmo {

namespace {

size_t lowBit(size_t i) { return i & (~i + 1); }

} // namespace

UnheardSongs::Kind UnheardSongs::kindOfImage(uint8_t image) {
    if (image == imageOfStatus(ssUnused)) return Ordinary;
    if (image == imageOfStatus(ssGoodUnused)) return JustGood;
    return None;
}

void UnheardSongs::clear() {
    records_.clear();
    kinds_.clear();
    all_.clear();
    good_.clear();
    remaining_[None] = remaining_[Ordinary] = remaining_[JustGood] = 0;
    occupied_ = 0;
    ordered_ = true;
    built_ = false;
}

void UnheardSongs::appended(ListItem* item, Kind kind) {
    if (!ordered_) return;
    item->slot_ = static_cast<uint32_t>(records_.size());
    records_.push_back(item->data());
    kinds_.push_back(kind);
    ++remaining_[kind];
    ++occupied_;
    built_ = false; // the trees cover a fixed number of slots
}

void UnheardSongs::removed(const ListItem* item) {
    if (!ordered_) return;
    setKind(item->slot_, None);
    records_[item->slot_] = nullptr;
    // Empty slots cost every query a little: once they are most of them, hand out slots anew.
    if (--occupied_ * 2 + 1024 < records_.size()) ordered_ = false;
}

void UnheardSongs::changed(const ListItem* item, Kind kind) {
    if (ordered_) setKind(item->slot_, kind);
}

void UnheardSongs::setKind(size_t slot, Kind kind) {
    const Kind old = kinds_[slot];
    if (old == kind) return;
    kinds_[slot] = kind;
    --remaining_[old];
    ++remaining_[kind];
    if (!built_) return;
    // A reset of every status is cheaper to follow by one rebuild at the next query.
    if (++changesSinceBuild_ > records_.size() / 8 + 64) {
        built_ = false;
        return;
    }
    const int32_t unheard = (kind != None) - (old != None);
    const int32_t good = (kind == JustGood) - (old == JustGood);
    if (unheard) add(all_, slot, unheard);
    if (good) add(good_, slot, good);
}

size_t UnheardSongs::size() {
    if (!ordered_) renumber();
    return remaining_[Ordinary] + remaining_[JustGood];
}

size_t UnheardSongs::remaining(Kind kind) {
    if (!ordered_) renumber();
    return kind == None ? size() : remaining_[kind];
}

void UnheardSongs::prepare() {
    if (!ordered_) renumber();
    if (!built_) build();
}

void UnheardSongs::renumber() {
    records_.clear();
    kinds_.clear();
    remaining_[None] = remaining_[Ordinary] = remaining_[JustGood] = 0;
    occupied_ = 0;
    ordered_ = true;
    built_ = false;
    records_.reserve(musicList_.size());
    kinds_.reserve(musicList_.size());
    musicList_.forEach([this](ListItem* item) { appended(item, kindOfImage(item->imageIndex())); });
}

void UnheardSongs::build() {
    // Linear construction: each node passes its sum to its parent.
    const size_t n = records_.size();
    all_.assign(n + 1, 0);
    good_.assign(n + 1, 0);
    for (size_t i = 1; i <= n; ++i) {
        all_[i] += kinds_[i - 1] != None;
        good_[i] += kinds_[i - 1] == JustGood;
        const size_t parent = i + lowBit(i);
        if (parent <= n) {
            all_[parent] += all_[i];
            good_[parent] += good_[i];
        }
    }
    built_ = true;
    changesSinceBuild_ = 0;
}

void UnheardSongs::add(std::vector<int32_t>& tree, size_t slot, int32_t delta) {
    for (size_t i = slot + 1; i < tree.size(); i += lowBit(i)) tree[i] += delta;
}

int32_t UnheardSongs::prefix(const std::vector<int32_t>& tree, size_t count) const {
    int32_t sum = 0;
    for (size_t i = count; i > 0; i -= lowBit(i)) sum += tree[i];
    return sum;
}

int32_t UnheardSongs::prefixOfKind(Kind kind, size_t count) const {
    if (kind == JustGood) return prefix(good_, count);
    if (kind == Ordinary) return prefix(all_, count) - prefix(good_, count);
    return prefix(all_, count);
}

size_t UnheardSongs::findKth(Kind kind, int32_t k) const {
    // The ordinary songs of a node's range are its unheard songs less its Just Good ones.
    auto countAt = [&](size_t i) {
        if (kind == JustGood) return good_[i];
        if (kind == Ordinary) return all_[i] - good_[i];
        return all_[i];
    };
    size_t pos = 0;
    const size_t n = records_.size();
    for (size_t step = n ? std::bit_floor(n) : 0; step > 0; step >>= 1) {
        if (pos + step <= n && countAt(pos + step) < k) {
            pos += step;
            k -= countAt(pos);
        }
    }
    return pos; // the zero-based slot of the k-th song
}

size_t UnheardSongs::slotOf(size_t i) {
    prepare();
    assert(i < size());
    return findKth(None, static_cast<int32_t>(i) + 1);
}

size_t UnheardSongs::nextOfKind(size_t slot, Kind kind) {
    assert(kind != None);
    prepare();
    if (remaining_[kind] == 0) return SIZE_MAX;
    const int32_t upToHere = prefixOfKind(kind, slot + 1);
    if (static_cast<size_t>(upToHere) < remaining_[kind]) return findKth(kind, upToHere + 1);
    return findKth(kind, 1);
}

} // namespace velmo
