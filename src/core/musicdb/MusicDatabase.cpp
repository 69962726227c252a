#include "musicdb/MusicDatabase.h"

#include <algorithm>

namespace velmo {

namespace {

// The text a node is compared by: hard-disk disks ("Drive <C> /label/") are ordered and
// matched by their drive letter. Only hard-disk texts take part: a file name or a CD label on
// this system may hold "<", and two such songs or CDs must not fall together.
std::string_view letterAfterLessThan(std::string_view text) {
    size_t pos = text.find('<');
    if (pos == std::string_view::npos) return text;
    std::string_view rest = text.substr(pos + 1);
    if (rest.empty()) return rest;
    // One character, which in UTF-8 may take several bytes.
    size_t len = 1;
    while (len < rest.size() && (static_cast<unsigned char>(rest[len]) & 0xC0) == 0x80) ++len;
    return rest.substr(0, len);
}

} // namespace

MusicDatabase::MusicDatabase(std::unique_ptr<RandomSource> random) : random_(std::move(random)) {}

MusicDatabase::~MusicDatabase() {
    // Lists point into records and trees; drop them first.
    musicList_.clear();
    playList_.clear();
    blackList_.clear();
    favorites_.clear();
    justGood_.clear();
}

void MusicDatabase::setDBModified(bool modified) {
    if (modified_ == modified) return;
    modified_ = modified;
    notifyStatisticsChanged();
}

int MusicDatabase::statusOf(const TDataRec* rec) { return statusOfImage(rec->MusicListItem->imageIndex()); }

ItemList& MusicDatabase::listOf(Counter c) {
    switch (c) {
    case cP: return playList_;
    case cB: return blackList_;
    case cF: return favorites_;
    default: return justGood_;
    }
}

ListItem*& MusicDatabase::itemField(TDataRec* rec, Counter c) {
    switch (c) {
    case cP: return rec->PlayListItem;
    case cB: return rec->BlackListItem;
    case cF: return rec->FavoritesItem;
    default: return rec->JustGoodItem;
    }
}

void MusicDatabase::SetStatus(TDataRec* rec, int newStatus) {
    const int oldImage = rec->MusicListItem->imageIndex();
    const int oldStatus = statusOfImage(oldImage);
    const double sizeMB = rec->Size / kBytesPerMegabyte;

    if (newStatus == ssJustGood) {
        switch (oldImage) {
        case 6: case 9: SetStatus(rec, ssGoodUnused); break;
        case 7: SetStatus(rec, ssGoodUsed); break;
        case 8: case 10: SetStatus(rec, ssGoodPlayList); break;
        default: break; // already Just Good
        }
        return;
    }

    const int8_t* d = StatusTransitionTable[oldStatus][newStatus];
    for (int k = 0; k < cCounterCount; ++k) {
        counters_.keys[k].count += d[k];
        counters_.keys[k].sizeMB += d[k] * sizeMB;
    }

    const uint8_t image = imageOfStatus(newStatus);
    for (Counter c : {cP, cB, cF, cG}) {
        ListItem*& field = itemField(rec, c);
        if (d[c] > 0) {
            size_t position = c == cP ? random_->below(static_cast<uint32_t>(counters_[cP].count) + 2)
                                      : listOf(c).size();
            field = listOf(c).insert(position, rec, image);
        } else if (d[c] < 0 && field) {
            listOf(c).remove(field);
            field = nullptr;
        }
    }

    musicTree_.setImageIndex(rec->MusicNode, image);
    if (rec->FolderNode) folderTree_.setImageIndex(rec->FolderNode, image);
    musicList_.setImageIndex(rec->MusicListItem, image);
    for (Counter c : {cP, cB, cF, cG})
        if (ListItem* item = itemField(rec, c)) listOf(c).setImageIndex(item, image);

    if (newStatus != oldStatus) modified_ = true;
    notifyStatisticsChanged();
}

TDataRec* MusicDatabase::AddToDataList(TreeNode* node) {
    auto rec = std::make_unique<TDataRec>();
    rec->MusicNode = node;
    node->setData(rec.get());
    lastRecord_ = rec.get();
    DataList_.push_back(std::move(rec));
    return lastRecord_;
}

void MusicDatabase::removeEmptyBranch(TreeNode* node) {
    std::vector<const TDataRec*> records;
    std::vector<TreeNode*> stack{node};
    while (!stack.empty()) {
        TreeNode* n = stack.back();
        stack.pop_back();
        if (n->data()) records.push_back(n->data());
        for (size_t i = 0; i < n->childCount(); ++i) stack.push_back(n->child(i));
    }
    if (!records.empty()) {
        std::erase_if(DataList_, [&](const std::unique_ptr<TDataRec>& r) {
            return std::find(records.begin(), records.end(), r.get()) != records.end();
        });
        if (std::find(records.begin(), records.end(), lastRecord_) != records.end()) lastRecord_ = nullptr;
    }
    musicTree_.remove(node);
}

void MusicDatabase::countNewUnusedSong(const TDataRec* rec) {
    const double sizeMB = rec->Size / kBytesPerMegabyte;
    counters_.a.count += 1;
    counters_.a.sizeMB += sizeMB;
    counters_[cN].count += 1;
    counters_[cN].sizeMB += sizeMB;
}

int MusicDatabase::CompareTreeNodes(const TreeNode* node, std::string_view text, bool compareSize, int32_t size,
                                    uint8_t imageIndex) const {
    return compareEntries(node->text(), node->imageIndex(), node->data() ? node->data()->Size : 0, text, compareSize,
                          size, imageIndex);
}

int MusicDatabase::compareEntries(std::string_view existingText, uint8_t existingImage, int32_t existingSize,
                                  std::string_view text, bool compareSize, int32_t size, uint8_t imageIndex) const {
    const int existing = existingImage;
    std::string_view a = existingText;
    std::string_view b = text;
    if ((existing == iiHardDiskRoot || existing == iiHardDisk) && a.find('<') != std::string_view::npos) {
        a = letterAfterLessThan(a);
        b = letterAfterLessThan(b);
    }
    int result;
    if (existing <= 1) {
        result = imageIndex <= 1 ? compareText(a, b) : 1;
    } else if (existing <= 3) {
        result = imageIndex <= 1 ? -1 : compareText(a, b);
    } else if (existing <= 5) {
        result = imageIndex >= 6 ? -1 : compareText(a, b);
    } else {
        result = imageIndex <= 5 ? 1 : compareText(a, b);
    }
    if (existing >= 4 && result == 0 && compareSize)
        result = existingSize > size ? -1 : existingSize < size ? 1 : 0;
    return result;
}

TreeNode* MusicDatabase::TryToFindNode(TreeNode* parent, Tree& tree, bool compareSize, int32_t size,
                                       uint8_t imageIndex, std::string_view text, bool startAtSibling) {
    auto compareAt = [&](const TreeNode* n) { return CompareTreeNodes(n, text, compareSize, size, imageIndex); };
    TreeNode* owner = parent;
    size_t row;
    if (startAtSibling) {
        // A plain scan from the given sibling, as the order before it is not ours to assume.
        owner = parent ? parent->parent() : nullptr;
        TreeNode* current = parent;
        int result = current ? compareAt(current) : -1;
        while (current && result == -1) {
            current = current->nextSibling();
            if (current) result = compareAt(current);
        }
        if (current && result == 0) return current;
        row = current ? current->row() : tree.childCount(owner);
    } else {
        const size_t count = tree.childCount(owner);
        // Siblings are sorted, so the first one that does not sort before the new node is
        // found by bisection. Loads and scans mostly append: try the last sibling first.
        if (count == 0 || compareAt(tree.child(owner, count - 1)) == -1) {
            row = count;
        } else {
            size_t lo = 0, hi = count - 1; // the answer lies in [lo, hi]
            while (lo < hi) {
                size_t mid = lo + (hi - lo) / 2;
                if (compareAt(tree.child(owner, mid)) == -1) lo = mid + 1;
                else hi = mid;
            }
            row = lo;
            TreeNode* found = tree.child(owner, row);
            if (compareAt(found) == 0) return found;
        }
    }
    return tree.insert(owner, row, std::string(text), imageIndex);
}

int MusicDatabase::TreeViewMusicTreeCompare(const TreeNode* node1, const TreeNode* node2) const {
    return CompareTreeNodes(node1, node2->text(), false, 0, node2->imageIndex());
}

int MusicDatabase::TreeViewFoldersCompare(const TreeNode* node1, const TreeNode* node2) const {
    if (isFolderImage(node1->imageIndex()))
        return node2->imageIndex() <= 5 ? compareText(node1->text(), node2->text()) : -1;
    return isSongImage(node2->imageIndex()) ? compareText(node1->text(), node2->text()) : 1;
}

void MusicDatabase::ClearDB() {
    BulkUpdate bulk(*this);
    musicList_.clear();
    playList_.clear();
    blackList_.clear();
    favorites_.clear();
    justGood_.clear();
    musicTree_.clear();
    folderTree_.clear();
    DataList_.clear();
    lastRecord_ = nullptr;
    counters_.clear();
    for (DatabaseListener* l : listeners_) l->databaseCleared();
}

void MusicDatabase::ResetIcons() {
    StatisticsBatch batch(*this);
    StatusListsBulkUpdate lists(*this, true);
    for (ListItem* item = musicList_.first(); item; item = musicList_.next(item)) {
        switch (item->imageIndex()) {
        case 7: case 8: SetStatus(item->data(), ssUnused); break;
        case 12: case 13: SetStatus(item->data(), ssGoodUnused); break;
        default: break;
        }
    }
    notifyStatisticsChanged();
}

void MusicDatabase::beginBulkUpdate() {
    if (bulkDepth_++ > 0) return;
    musicTree_.beginBulkUpdate();
    folderTree_.beginBulkUpdate();
    for (ItemList* l : {&musicList_, &playList_, &blackList_, &favorites_, &justGood_}) l->beginBulkUpdate();
}

void MusicDatabase::endBulkUpdate() {
    if (--bulkDepth_ > 0) return;
    musicTree_.endBulkUpdate();
    folderTree_.endBulkUpdate();
    for (ItemList* l : {&musicList_, &playList_, &blackList_, &favorites_, &justGood_}) l->endBulkUpdate();
    if (statisticsPending_ && statisticsBatchDepth_ == 0) {
        statisticsPending_ = false;
        notifyStatisticsChanged();
    }
}

void MusicDatabase::endStatisticsBatch() {
    if (--statisticsBatchDepth_ > 0 || bulkDepth_ > 0 || !statisticsPending_) return;
    statisticsPending_ = false;
    notifyStatisticsChanged();
}

void MusicDatabase::beginStatusListsBulkUpdate() {
    for (ItemList* l : {&playList_, &blackList_, &favorites_, &justGood_}) l->beginBulkUpdate();
}

void MusicDatabase::endStatusListsBulkUpdate() {
    for (ItemList* l : {&playList_, &blackList_, &favorites_, &justGood_}) l->endBulkUpdate();
}

void MusicDatabase::addListener(DatabaseListener* listener) { listeners_.push_back(listener); }

void MusicDatabase::removeListener(DatabaseListener* listener) {
    listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), listener), listeners_.end());
}

void MusicDatabase::notifyStatisticsChanged() {
    if (bulkDepth_ > 0 || statisticsBatchDepth_ > 0) {
        statisticsPending_ = true;
        return;
    }
    for (DatabaseListener* l : listeners_) l->statisticsChanged();
}

} // namespace velmo
