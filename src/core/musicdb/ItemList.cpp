#include "musicdb/ItemList.h"

#include <algorithm>
#include <bit>
#include <cassert>

#include "musicdb/TDataRec.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VELMO_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define VELMO_ASAN 1
#endif
#ifdef VELMO_ASAN
#include <sanitizer/asan_interface.h>
#endif

namespace velmo {

namespace {

// A removed item waits for reuse; the sanitizer builds catch a read of it meanwhile.
void markFree(ListItem* item) {
#ifdef VELMO_ASAN
    ASAN_POISON_MEMORY_REGION(item, sizeof *item);
#else
    (void)item;
#endif
}

void markInUse(ListItem* item) {
#ifdef VELMO_ASAN
    ASAN_UNPOISON_MEMORY_REGION(item, sizeof *item);
#else
    (void)item;
#endif
}

} // namespace

std::string ListItem::caption() const { return data_ ? musicTreePath(data_->MusicNode) : std::string(); }

ItemList::ItemList() = default;
ItemList::~ItemList() { clear(); }

uint32_t ItemList::nextPriority() {
    // xorshift64*: only the shape of the treap depends on it.
    seed_ ^= seed_ >> 12;
    seed_ ^= seed_ << 25;
    seed_ ^= seed_ >> 27;
    return static_cast<uint32_t>((seed_ * 2685821657736338717ULL) >> 32);
}

void ItemList::update(ListItem* n) {
    n->size_ = 1 + sizeOf(n->left_) + sizeOf(n->right_);
    if (n->left_) n->left_->parent_ = n;
    if (n->right_) n->right_->parent_ = n;
}

ListItem* ItemList::merge(ListItem* a, ListItem* b) {
    if (!a) return b;
    if (!b) return a;
    if (a->priority_ > b->priority_) {
        a->right_ = merge(a->right_, b);
        update(a);
        return a;
    }
    b->left_ = merge(a, b->left_);
    update(b);
    return b;
}

void ItemList::split(ListItem* t, size_t k, ListItem*& left, ListItem*& right) {
    if (!t) {
        left = right = nullptr;
        return;
    }
    if (sizeOf(t->left_) >= k) {
        split(t->left_, k, left, t->left_);
        update(t);
        right = t;
    } else {
        split(t->right_, k - sizeOf(t->left_) - 1, t->right_, right);
        update(t);
        left = t;
    }
}

void ItemList::appendItem(ListItem* item) {
    // The tree merge(root_, item) would give, built down the right spine alone: a split at the
    // end would also read the size of every left child on the way, each a cache miss in a list of
    // a million songs filled by a load.
    ListItem* parent = nullptr;
    ListItem* n = root_;
    while (n && n->priority_ > item->priority_) {
        ++n->size_;
        parent = n;
        n = n->right_;
    }
    item->left_ = n;
    if (n) {
        n->parent_ = item;
        item->size_ = 1 + n->size_;
    }
    item->parent_ = parent;
    if (parent) parent->right_ = item;
    else root_ = item;
}

ListItem* ItemList::at(size_t index) const {
    settle();
    ListItem* n = root_;
    while (n) {
        size_t leftSize = sizeOf(n->left_);
        if (index < leftSize) {
            n = n->left_;
        } else if (index == leftSize) {
            return n;
        } else {
            index -= leftSize + 1;
            n = n->right_;
        }
    }
    return nullptr;
}

size_t ItemList::indexOf(const ListItem* item) const {
    settle();
    size_t index = sizeOf(item->left_);
    for (const ListItem* n = item; n->parent_; n = n->parent_)
        if (n->parent_->right_ == n) index += sizeOf(n->parent_->left_) + 1;
    return index;
}

ListItem* ItemList::first() const {
    settle();
    ListItem* n = root_;
    while (n && n->left_) n = n->left_;
    return n;
}

ListItem* ItemList::next(const ListItem* item) const {
    settle();
    if (item->right_) {
        ListItem* n = item->right_;
        while (n->left_) n = n->left_;
        return n;
    }
    const ListItem* n = item;
    while (n->parent_ && n->parent_->right_ == n) n = n->parent_;
    return n->parent_;
}

std::vector<ListItem*> ItemList::items() const {
    std::vector<ListItem*> out;
    out.reserve(size());
    for (ListItem* n = first(); n; n = next(n)) out.push_back(n);
    return out;
}

ListItem* ItemList::insert(size_t index, TDataRec* rec, uint8_t image) {
    index = std::min(index, size());
    ListItem* item = newItem();
    item->data_ = rec;
    item->image_ = image;
    item->priority_ = nextPriority();
    if (batchDepth_ > 0 && !notifying()) {
        pending_.emplace_back(item, index);
        return item;
    }
    settle();
    notify([&](ItemListObserver* o) { o->beginInsert(index, index); });
    placeAt(index, item);
    notify([](ItemListObserver* o) { o->endInsert(); });
    return item;
}

void ItemList::placeAt(size_t index, ListItem* item) {
    if (index == sizeOf(root_)) {
        appendItem(item);
        return;
    }
    ListItem *left, *right;
    split(root_, index, left, right);
    root_ = merge(merge(left, item), right);
    root_->parent_ = nullptr;
}

void ItemList::endInsertBatch() {
    assert(batchDepth_ > 0);
    if (--batchDepth_ == 0) settle();
}

void ItemList::placePending() {
    std::vector<std::pair<ListItem*, size_t>> pending;
    pending.swap(pending_);
    const size_t existing = sizeOf(root_), total = existing + pending.size();
    // A few insertions into a long list cost less one by one.
    if (existing / 16 > pending.size()) {
        for (const auto& [item, index] : pending) placeAt(index, item);
        return;
    }
    // Backwards: the last insertion keeps its index; each earlier one takes the place its index
    // names among those the later ones left free (a Fenwick tree counting free places).
    auto lowBit = [](size_t i) { return i & (~i + 1); };
    std::vector<int32_t> free(total + 1);
    for (size_t i = 1; i <= total; ++i) free[i] = static_cast<int32_t>(lowBit(i));
    std::vector<ListItem*> order(total, nullptr);
    for (size_t j = pending.size(); j-- > 0;) {
        size_t place = 0;
        auto k = static_cast<int32_t>(pending[j].second + 1);
        for (size_t step = std::bit_floor(total); step > 0; step >>= 1) {
            if (place + step <= total && free[place + step] < k) {
                place += step;
                k -= free[place];
            }
        }
        order[place] = pending[j].first;
        for (size_t i = place + 1; i <= total; i += lowBit(i)) --free[i];
    }
    // The items already in the list fill the free places, in their order.
    size_t next = 0;
    visitInOrder(root_, [&](ListItem* item) {
        while (order[next]) ++next;
        order[next++] = item;
    });
    root_ = nullptr;
    for (ListItem* item : order) {
        item->left_ = item->right_ = item->parent_ = nullptr;
        item->size_ = 1;
        appendItem(item);
    }
}

void ItemList::unlink(ListItem* item) {
    settle();
    ListItem* parent = item->parent_;
    ListItem* joined = merge(item->left_, item->right_);
    if (joined) joined->parent_ = parent;
    if (!parent) {
        root_ = joined;
    } else {
        (parent->left_ == item ? parent->left_ : parent->right_) = joined;
        for (ListItem* n = parent; n; n = n->parent_) n->size_ = 1 + sizeOf(n->left_) + sizeOf(n->right_);
    }
    freeItem(item);
}

void ItemList::remove(ListItem* item) {
    size_t index = notifying() ? indexOf(item) : 0;
    notify([&](ItemListObserver* o) { o->beginRemove(index, index); });
    unlink(item);
    notify([](ItemListObserver* o) { o->endRemove(); });
}

std::vector<std::pair<size_t, size_t>> ItemList::runsOf(const std::vector<ListItem*>& items) const {
    std::vector<size_t> rows;
    rows.reserve(items.size());
    for (const ListItem* item : items) rows.push_back(indexOf(item));
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    std::vector<std::pair<size_t, size_t>> runs;
    for (size_t row : rows) {
        if (!runs.empty() && runs.back().second + 1 == row) runs.back().second = row;
        else runs.emplace_back(row, row);
    }
    return runs;
}

void ItemList::remove(const std::vector<ListItem*>& items) {
    if (!notifying()) {
        for (ListItem* item : items) unlink(item);
        return;
    }
    // Runs from the last one, so the rows of the runs still to come stay valid.
    const auto runs = runsOf(items);
    for (auto run = runs.rbegin(); run != runs.rend(); ++run) {
        const size_t first = run->first, last = run->second;
        notify([&](ItemListObserver* o) { o->beginRemove(first, last); });
        for (size_t row = last + 1; row-- > first;) unlink(at(row));
        notify([](ItemListObserver* o) { o->endRemove(); });
    }
}

void ItemList::captionsChanged(const std::vector<ListItem*>& items) {
    if (!notifying() || items.empty()) return;
    for (const auto& run : runsOf(items))
        notify([&](ItemListObserver* o) { o->itemChanged(run.first, run.second, TextChanged); });
}

void ItemList::clear() {
    notify([](ItemListObserver* o) { o->beginReset(); });
    root_ = nullptr;
    pending_.clear();
    for (ListItem* item = freeItems_; item;) {
        markInUse(item);
        item = item->right_;
    }
    blocks_.clear();
    usedInBlock_ = kBlockItems;
    freeItems_ = nullptr;
    notify([](ItemListObserver* o) { o->endReset(); });
}

ListItem* ItemList::newItem() {
    if (ListItem* item = freeItems_) {
        markInUse(item);
        freeItems_ = item->right_;
        *item = ListItem();
        return item;
    }
    if (usedInBlock_ == kBlockItems) {
        blocks_.push_back(std::make_unique<ListItem[]>(kBlockItems));
        usedInBlock_ = 0;
    }
    return &blocks_.back()[usedInBlock_++];
}

void ItemList::freeItem(ListItem* item) {
    item->data_ = nullptr;
    item->right_ = freeItems_;
    freeItems_ = item;
    markFree(item);
}

void ItemList::setImageIndex(ListItem* item, uint8_t image) {
    if (item->image_ == image) return;
    item->image_ = image;
    if (notifying()) {
        size_t index = indexOf(item);
        notify([&](ItemListObserver* o) { o->itemChanged(index, index, IconChanged); });
    }
}

void ItemList::addObserver(ItemListObserver* observer) { observers_.push_back(observer); }

void ItemList::removeObserver(ItemListObserver* observer) {
    observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

void ItemList::beginBulkUpdate() {
    if (bulkDepth_++ == 0)
        for (ItemListObserver* o : observers_) o->beginReset();
}

void ItemList::endBulkUpdate() {
    assert(bulkDepth_ > 0);
    if (--bulkDepth_ == 0)
        for (ItemListObserver* o : observers_) o->endReset();
}

} // namespace velmo
