#include "musicdb/DatabaseLoader.h"

#include <algorithm>

#include "musicdb/RootFolders.h"
#include "musicdb/MusicDatabase.h"
#include "platform/HugePages.h"
#include "util/IntConversion.h"

namespace velmo {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Most tag strings are already what MakeTagStr writes; only the others are rewritten, so a
// database saved again reads back the same.
bool tagIsCanonical(std::string_view tag) {
    size_t separators = 0;
    for (char c : tag) separators += c == '\x01';
    const size_t n = tag.size();
    if (separators < 4 || n < 9) return false;
    for (size_t i = n - 5; i < n; ++i)
        if (!isDigit(tag[i])) return false;
    const bool genreFits = (tag[n - 3] - '0') * 100 + (tag[n - 2] - '0') * 10 + (tag[n - 1] - '0') <= 255;
    const bool markerLike = tag[n - 7] == '%' && isDigit(tag[n - 6]);
    return genreFits && !markerLike;
}

std::string canonicalTag(const NodeInfo& info) {
    if (!info.hasTag) return kEmptyTagString;
    return tagIsCanonical(info.tag) ? std::string(info.tag) : canonicalTagString(info.tag);
}

std::string lineError(size_t lineNumber, std::string_view what) {
    return "Line " + std::to_string(lineNumber) + " of the database file: " + std::string(what);
}

} // namespace

DatabaseLoader::DatabaseLoader(MusicDatabase& db, Options options) : db_(db), options_(std::move(options)) {}

int DatabaseLoader::statusAfterLoad(int storedIcon, bool goodCycle) {
    switch (storedIcon) {
    case 7: case 8: return ssUsed;
    case 9: return ssBlack;
    case 10: return ssFavorites;
    case 11: return ssGoodUnused;
    case 12: return goodCycle ? ssGoodUsed : ssGoodUnused;
    case 13: return goodCycle ? ssGoodPlayList : ssGoodUnused;
    default: return ssUnused;
    }
}

void DatabaseLoader::pump() const {
    if (heap_) heap_->adviseGrowth();
    if (options_.processMessages) options_.processMessages();
}

NodeInfo DatabaseLoader::readLine(size_t index, bool isDisk) const {
    const LoadTree::Line& line = source_->line(index);
    const size_t number = source_->lineNumber(index);
    NodeInfo info;
    try {
        info = GetNodeInfo(line.text);
    } catch (const ConversionError& e) {
        throw DatabaseFormatError(lineError(number, e.what()));
    }
    if (info.icon < 0 || info.icon > iiSongLast)
        throw DatabaseFormatError(lineError(number, std::to_string(info.icon) + " is not an icon of a disk, folder or song."));
    if (!isAcceptableNodeName(info.name, isDisk))
        throw DatabaseFormatError(lineError(number, "\"" + std::string(info.name) +
                                                        "\" is not a valid name for a disk, folder or song."));
    if (isSongImage(info.icon)) {
        if (source_->hasChildren(index))
            throw DatabaseFormatError(lineError(number, "the song \"" + std::string(info.name) + "\" holds other entries."));
        try {
            if (info.hasTag && !tagIsCanonical(info.tag)) (void)canonicalTagString(info.tag); // throws on bad digits
        } catch (const ConversionError& e) {
            throw DatabaseFormatError(lineError(number, e.what()));
        }
    }
    return info;
}

size_t DatabaseLoader::validate() {
    infos_.clear();
    infos_.reserve(source_->size());
    platform::adviseHugePages(infos_.data(), infos_.capacity() * sizeof(NodeInfo));
    for (size_t i = 0; i < source_->size(); ++i) infos_.push_back(readLine(i, source_->line(i).level == 0));
    return source_->size();
}

size_t DatabaseLoader::childrenEnd(size_t index) const {
    return std::min<size_t>(source_->line(index).subtreeEnd, limit_);
}

void DatabaseLoader::AnalyzeTree(const LoadTree& source) {
    source_ = &source;
    lastSelected_ = nullptr;
    // Check every line first: the load then stops exactly before the first bad line, and the
    // merge itself cannot fail half-way through a folder.
    std::exception_ptr failure;
    try {
        limit_ = validate();
    } catch (...) {
        failure = std::current_exception();
        limit_ = infos_.size();
    }

    {
        // The songs, nodes and list items take about seven times the file's size.
        platform::HugePageHeap heap(source.textSize() * 7);
        heap_ = &heap;
        BulkUpdate bulk(db_);
        // Into an empty folder tree, songs are put in order once at the end.
        RootFolders roots(db_, db_.folderTree().empty());
        Tree& music = db_.musicTree();
        if (options_.mergeMode) music.requestClearSelection();
        for (size_t s = 0; s < limit_; s = source.line(s).subtreeEnd) {
            const NodeInfo& info = infos_[s];
            TreeNode* d = db_.TryToFindNode(nullptr, music, false, 0, static_cast<uint8_t>(info.icon), info.name);
            pump();
            if (!d->data()) {
                db_.AddToDataList(d)->Size = info.size;
                db_.countContainerSize(d->data(), 1);
            } else if (d->hasChildren()) {
                music.setImageIndex(d, static_cast<uint8_t>(info.icon));
            }
            AddNodeToBase(s, d);
            roots.ReRoot(d);
            if (!options_.mergeMode) music.requestCollapse(d);
            pump();
        }
        roots.finishSongOrder();
        heap_ = nullptr;
    }
    infos_.clear();
    infos_.shrink_to_fit();
    if (failure) std::rethrow_exception(failure);
}

void DatabaseLoader::AddNodeToBase(size_t source, TreeNode* dest) {
    const size_t end = childrenEnd(source);
    if (end <= source + 1) {
        // A childless line is a song; an empty disk or folder stays an empty node.
        if (isSongImage(dest->imageIndex())) addSong(dest);
        return;
    }
    std::vector<size_t> children;
    for (size_t c = source + 1; c < end; c = source_->line(c).subtreeEnd) children.push_back(c);

    // -1 when line a sorts before line b, 0 when both are one node, 1 after.
    auto compareLines = [this](size_t a, size_t b) {
        const NodeInfo& x = infos_[a];
        const NodeInfo& y = infos_[b];
        return db_.compareEntries(x.name, static_cast<uint8_t>(x.icon), x.size, y.name, true, y.size,
                                  static_cast<uint8_t>(y.icon));
    };
    // A file this program saved is in order already: then one comparison per line tells
    // whether a line makes a new node or falls together with the one before.
    std::vector<int8_t> orderAfterPrevious(children.size(), -1);
    bool inOrder = true;
    for (size_t i = 1; i < children.size() && inOrder; ++i) {
        orderAfterPrevious[i] = static_cast<int8_t>(compareLines(children[i - 1], children[i]));
        inOrder = orderAfterPrevious[i] <= 0;
    }
    // Nodes are made in sorted order, so each lands at the end of its siblings however the
    // file orders them; equal entries keep file order, so the first of them makes the node.
    std::vector<size_t> sorted = children;
    if (!inOrder)
        std::stable_sort(sorted.begin(), sorted.end(), [&](size_t a, size_t b) { return compareLines(a, b) < 0; });
    const bool appendOnly = inOrder && !dest->hasChildren();
    Tree& music = db_.musicTree();
    std::vector<TreeNode*> nodeOf(end - source, nullptr);
    std::vector<uint8_t> madeHere(end - source, 0);
    TreeNode* previous = nullptr;
    for (size_t i = 0; i < sorted.size(); ++i) {
        const size_t c = sorted[i];
        const NodeInfo& info = infos_[c];
        TreeNode* n;
        if (appendOnly)
            n = orderAfterPrevious[i] == 0 ? previous
                                           : music.append(dest, std::string(info.name), static_cast<uint8_t>(info.icon));
        else
            n = db_.TryToFindNode(dest, music, true, info.size, static_cast<uint8_t>(info.icon), info.name);
        previous = n;
        if (!n->data()) {
            // The record (with its size) comes at once: later siblings compare against it.
            TDataRec* rec = db_.AddToDataList(n);
            rec->Size = info.size;
            if (isSongImage(info.icon)) rec->TagStr = canonicalTag(info);
            else db_.countContainerSize(rec, 1);
            madeHere[c - source] = 1;
        }
        nodeOf[c - source] = n;
    }

    const bool directlyUnderDisk = dest->parent() == nullptr;
    bool expanded = false;
    for (size_t c : children) {
        TreeNode* n = nodeOf[c - source];
        if (madeHere[c - source]) {
            if (directlyUnderDisk) {
                if (!expanded) music.requestExpand(dest);
                expanded = true;
                pump();
            }
        } else if (n->hasChildren()) {
            music.setImageIndex(n, static_cast<uint8_t>(infos_[c].icon));
        }
        AddNodeToBase(c, n);
    }
}

void DatabaseLoader::addSong(TreeNode* dest) {
    TDataRec* rec = dest->data();
    if (rec->MusicListItem) return; // already in the database: its status stays
    if (options_.mergeMode && dest->parent() && dest->parent() != lastSelected_) {
        lastSelected_ = dest->parent();
        db_.musicTree().requestSelect(lastSelected_);
    }
    const int storedIcon = dest->imageIndex();
    db_.enterSong(dest, rec->Size);
    const int status = statusAfterLoad(storedIcon, options_.goodCycle);
    if (status != ssUnused) db_.SetStatus(rec, status);
}

} // namespace velmo
