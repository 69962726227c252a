#include "musicdb/MusicDatabase.h"

#include <algorithm>
#include <optional>
#include <span>

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

// Counter deltas of a song entering the database as unused and of a used song leaving it.
constexpr int8_t kEnterUnused[cCounterCount] = {1, 0, 0, 0, 0, 0, 0, 0, 0};
constexpr int8_t kLeaveUsed[cCounterCount] = {0, -1, 0, 0, 0, 0, 0, 0, 0};
constexpr int8_t kNoKeys[cCounterCount] = {};

// Above this many songs a removal resets the views instead of reporting each run of rows.
constexpr size_t kRemovalsBeforeReset = 2000;

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
    count(rec, d, 0, 0);

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
    unheard_.changed(rec->MusicListItem, UnheardSongs::kindOfImage(image));
    for (Counter c : {cP, cB, cF, cG})
        if (ListItem* item = itemField(rec, c)) listOf(c).setImageIndex(item, image);

    if (newStatus != oldStatus) modified_ = true;
    notifyStatisticsChanged();
}

void MusicDatabase::count(const TDataRec* rec, const int8_t* deltas, int total, int totalSize) {
    const double sizeMB = rec->Size / kBytesPerMegabyte;
    counters_.a.count += total;
    counters_.a.sizeMB += totalSize * sizeMB;
    for (int k = 0; k < cCounterCount; ++k) {
        counters_.keys[k].count += deltas[k];
        counters_.keys[k].sizeMB += deltas[k] * sizeMB;
    }
}

TDataRec* MusicDatabase::AddToDataList(TreeNode* node) {
    auto rec = std::make_unique<TDataRec>();
    rec->MusicNode = node;
    rec->dataIndex = static_cast<uint32_t>(DataList_.size());
    node->setData(rec.get());
    lastRecord_ = rec.get();
    DataList_.push_back(std::move(rec));
    return lastRecord_;
}

void MusicDatabase::freeRecord(TDataRec* rec) {
    if (rec == lastRecord_) lastRecord_ = nullptr;
    // The last record takes the freed place: the order of the list means nothing.
    const uint32_t index = rec->dataIndex;
    if (index + 1 != DataList_.size()) {
        std::swap(DataList_[index], DataList_.back());
        DataList_[index]->dataIndex = index;
    }
    DataList_.pop_back();
}

void MusicDatabase::countContainerSize(const TDataRec* rec, int sign) {
    if (rec->Size != 0) count(rec, kNoKeys, 0, sign);
}

TreeNode* MusicDatabase::addContainer(TreeNode* parent, std::string_view text, uint8_t imageIndex) {
    TreeNode* node = TryToFindNode(parent, musicTree_, false, 0, imageIndex, text);
    if (!node->data()) AddToDataList(node);
    return node;
}

TDataRec* MusicDatabase::enterSong(TreeNode* node, int32_t size, size_t listIndex) {
    TDataRec* rec = node->data();
    if (rec && rec->MusicListItem) return rec;
    if (!rec) rec = AddToDataList(node);
    rec->Size = size;
    musicTree_.setImageIndex(node, imageOfStatus(ssUnused));
    const bool atEnd = listIndex >= musicList_.size();
    rec->MusicListItem = musicList_.insert(listIndex, rec, imageOfStatus(ssUnused));
    if (atEnd) unheard_.appended(rec->MusicListItem, UnheardSongs::Ordinary);
    else unheard_.insertedInside();
    count(rec, kEnterUnused, 1, 1);
    notifyStatisticsChanged();
    return rec;
}

TDataRec* MusicDatabase::addSong(TreeNode* folder, std::string_view name, int32_t size, size_t listIndex) {
    TreeNode* node = TryToFindNode(folder, musicTree_, true, size, imageOfStatus(ssUnused), name);
    return enterSong(node, size, listIndex);
}

void MusicDatabase::removeNodes(Tree& tree, std::vector<TreeNode*> nodes, bool freeEmptiedRecords) {
    // Level by level: the nodes, then the parents they left empty, and so on upwards. The
    // records of the nodes given are the caller's; those of emptied disks and folders go here.
    for (bool emptiedRound = false; !nodes.empty(); emptiedRound = true) {
        std::sort(nodes.begin(), nodes.end(), [](const TreeNode* a, const TreeNode* b) {
            if (a->parent() != b->parent()) return std::less<const TreeNode*>()(a->parent(), b->parent());
            return a->row() < b->row();
        });
        std::vector<TreeNode*> emptied;
        std::vector<size_t> rows;
        for (size_t i = 0; i < nodes.size();) {
            TreeNode* parent = nodes[i]->parent();
            rows.clear();
            for (; i < nodes.size() && nodes[i]->parent() == parent; ++i) rows.push_back(nodes[i]->row());
            std::vector<TDataRec*> records;
            if (freeEmptiedRecords && emptiedRound)
                for (size_t row : rows)
                    if (TDataRec* rec = tree.child(parent, row)->data()) records.push_back(rec);
            tree.removeChildren(parent, rows);
            for (TDataRec* rec : records) {
                countContainerSize(rec, -1);
                freeRecord(rec);
            }
            if (parent && !parent->hasChildren()) emptied.push_back(parent);
        }
        nodes = std::move(emptied);
    }
}

void MusicDatabase::detachFromFolderTree(const std::vector<TDataRec*>& songs) {
    std::vector<TreeNode*> nodes;
    nodes.reserve(songs.size());
    for (TDataRec* rec : songs) {
        if (!rec->FolderNode) continue;
        nodes.push_back(rec->FolderNode);
        rec->FolderNode = nullptr;
    }
    removeNodes(folderTree_, std::move(nodes), false);
}

void MusicDatabase::removeSongs(const std::vector<TDataRec*>& songs) {
    std::vector<TDataRec*> batch;
    batch.reserve(songs.size());
    for (TDataRec* rec : songs)
        if (rec && rec->MusicListItem) batch.push_back(rec);
    std::sort(batch.begin(), batch.end());
    batch.erase(std::unique(batch.begin(), batch.end()), batch.end());
    if (batch.empty()) return;

    const std::vector<const TDataRec*> leaving(batch.begin(), batch.end());
    for (DatabaseListener* l : listeners_) l->songsRemoving(leaving);

    StatisticsBatch statistics(*this);
    std::optional<BulkUpdate> bulk;
    if (batch.size() > kRemovalsBeforeReset) bulk.emplace(*this);

    std::vector<ListItem*> items;
    std::vector<TreeNode*> musicNodes, folderNodes;
    items.reserve(batch.size());
    musicNodes.reserve(batch.size());
    for (TDataRec* rec : batch) {
        SetStatus(rec, ssUsed);
        count(rec, kLeaveUsed, -1, -1);
        items.push_back(rec->MusicListItem);
        unheard_.removed(rec->MusicListItem);
        rec->MusicListItem = nullptr;
        musicNodes.push_back(rec->MusicNode);
        if (rec->FolderNode) folderNodes.push_back(rec->FolderNode);
    }
    musicList_.remove(items);
    removeNodes(musicTree_, std::move(musicNodes), true);
    removeNodes(folderTree_, std::move(folderNodes), false);
    for (TDataRec* rec : batch) freeRecord(rec);
    modified_ = true;
    notifyStatisticsChanged();
}

void MusicDatabase::removeEmptyBranch(TreeNode* node) {
    std::vector<TDataRec*> records;
    std::vector<TreeNode*> stack{node};
    while (!stack.empty()) {
        TreeNode* n = stack.back();
        stack.pop_back();
        if (n->data()) records.push_back(n->data());
        for (size_t i = 0; i < n->childCount(); ++i) stack.push_back(n->child(i));
    }
    musicTree_.remove(node);
    for (TDataRec* rec : records) {
        countContainerSize(rec, -1);
        freeRecord(rec);
    }
}

size_t MusicDatabase::lowerBound(const Tree& tree, const TreeNode* parent, std::string_view text, bool compareSize,
                                 int32_t size, uint8_t imageIndex, size_t skip) const {
    const size_t total = tree.childCount(parent);
    const size_t count = skip < total ? total - 1 : total;
    auto at = [&](size_t i) { return tree.child(parent, i < skip ? i : i + 1); };
    size_t lo = 0, hi = count;
    while (lo < hi) {
        const size_t mid = lo + (hi - lo) / 2;
        if (CompareTreeNodes(at(mid), text, compareSize, size, imageIndex) == -1) lo = mid + 1;
        else hi = mid;
    }
    return lo;
}

size_t MusicDatabase::sortedRow(const Tree& tree, const TreeNode* node, std::string_view text,
                                bool compareSize) const {
    // After the siblings that sort before it or match it, counted without the node itself.
    const TreeNode* parent = node->parent();
    const size_t skip = node->row();
    const size_t count = tree.childCount(parent) - 1;
    const int32_t size = node->data() ? node->data()->Size : 0;
    auto at = [&](size_t i) { return tree.child(parent, i < skip ? i : i + 1); };
    size_t row = lowerBound(tree, parent, text, compareSize, size, node->imageIndex(), skip);
    while (row < count && CompareTreeNodes(at(row), text, compareSize, size, node->imageIndex()) == 0) ++row;
    return row;
}

void MusicDatabase::renameNode(TreeNode* node, std::string newText) {
    if (node->text() == newText) return;
    const bool song = isSongImage(node->imageIndex());
    TDataRec* rec = node->data();
    if (song && rec && rec->FolderNode) {
        TreeNode* folderNode = rec->FolderNode;
        const size_t row = sortedRow(folderTree_, folderNode, newText, true);
        folderTree_.setText(folderNode, newText);
        folderTree_.move(folderNode, row);
    }
    const size_t row = sortedRow(musicTree_, node, newText, song);
    musicTree_.setText(node, std::move(newText));
    musicTree_.move(node, row);

    // List captions are read from the tree: tell each list which of its rows read anew.
    std::vector<ListItem*> changed[5];
    std::vector<TreeNode*> stack{node};
    while (!stack.empty()) {
        TreeNode* n = stack.back();
        stack.pop_back();
        for (size_t i = 0; i < n->childCount(); ++i) stack.push_back(n->child(i));
        TDataRec* r = n->data();
        if (!r || !r->MusicListItem) continue;
        changed[0].push_back(r->MusicListItem);
        if (r->PlayListItem) changed[1].push_back(r->PlayListItem);
        if (r->BlackListItem) changed[2].push_back(r->BlackListItem);
        if (r->FavoritesItem) changed[3].push_back(r->FavoritesItem);
        if (r->JustGoodItem) changed[4].push_back(r->JustGoodItem);
    }
    ItemList* lists[5] = {&musicList_, &playList_, &blackList_, &favorites_, &justGood_};
    for (int i = 0; i < 5; ++i) lists[i]->captionsChanged(changed[i]);
    setDBModified(true);
}

void MusicDatabase::findNodes(const Tree& tree, const TreeNode* parent, std::string_view path,
                              std::vector<TreeNode*>& found, bool firstOnly) const {
    static constexpr uint8_t kTop[] = {iiHardDisk, iiCDDisk};
    static constexpr uint8_t kInner[] = {iiFolder};
    static constexpr uint8_t kLast[] = {iiFolder, iiSongFirst};
    const size_t end = path.find('\\');
    const bool last = end == std::string_view::npos;
    const std::string_view part = path.substr(0, end);
    if (part.empty()) return;
    // The kinds the part may stand for. Each kind's nodes are sorted among the siblings, so the
    // matches of one kind lie together from its lower bound on; a rename may have given two
    // siblings one text, so every exact match is followed.
    const std::span<const uint8_t> kinds = !parent ? std::span<const uint8_t>(kTop)
                                           : last  ? std::span<const uint8_t>(kLast)
                                                   : std::span<const uint8_t>(kInner);
    const size_t count = tree.childCount(parent);
    for (uint8_t kind : kinds) {
        for (size_t row = lowerBound(tree, parent, part, false, 0, kind); row < count; ++row) {
            TreeNode* child = tree.child(parent, row);
            if (CompareTreeNodes(child, part, false, 0, kind) != 0) break;
            if (child->text() != part) continue;
            if (last) found.push_back(child);
            else findNodes(tree, child, path.substr(end + 1), found, firstOnly);
            if (firstOnly && !found.empty()) return;
        }
    }
}

TreeNode* MusicDatabase::findNode(const Tree& tree, std::string_view path) const {
    std::vector<TreeNode*> found;
    findNodes(tree, nullptr, path, found, true);
    return found.empty() ? nullptr : found.front();
}

std::vector<TDataRec*> MusicDatabase::findSongs(std::string_view caption) const {
    std::vector<TreeNode*> nodes;
    findNodes(musicTree_, nullptr, caption, nodes, false);
    std::vector<TDataRec*> out;
    for (TreeNode* n : nodes)
        if (isSongImage(n->imageIndex()) && n->data() && n->data()->MusicListItem) out.push_back(n->data());
    return out;
}

TDataRec* MusicDatabase::findSong(std::string_view caption) const {
    const std::vector<TDataRec*> songs = findSongs(caption);
    return songs.empty() ? nullptr : songs.front();
}

int MusicDatabase::CompareTreeNodes(const TreeNode* node, std::string_view text, bool compareSize, int32_t size,
                                    uint8_t imageIndex) const {
    // The record is read only on a tie: in a bisection over thousands of siblings each probe
    // would otherwise cost one more cache miss.
    return compareEntries(node->text(), node->imageIndex(), [node] { return node->data() ? node->data()->Size : 0; },
                          text, compareSize, size, imageIndex);
}

int MusicDatabase::compareEntries(std::string_view existingText, uint8_t existingImage, int32_t existingSize,
                                  std::string_view text, bool compareSize, int32_t size, uint8_t imageIndex) const {
    return compareEntries(existingText, existingImage, [existingSize] { return existingSize; }, text, compareSize,
                          size, imageIndex);
}

template <typename SizeOfExisting>
int MusicDatabase::compareEntries(std::string_view existingText, uint8_t existingImage, SizeOfExisting existingSizeOf,
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
    if (existing >= 4 && result == 0 && compareSize) {
        const int32_t existingSize = existingSizeOf();
        result = existingSize > size ? -1 : existingSize < size ? 1 : 0;
    }
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
    unheard_.clear();
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
