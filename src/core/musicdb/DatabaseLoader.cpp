#include "musicdb/DatabaseLoader.h"

#include "catalog/RootFolders.h"
#include "musicdb/MusicDatabase.h"
#include "util/IntConversion.h"

namespace velmo {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Most tag strings are already what MakeTagStr writes; only the others are rewritten, so a
// database saved again reads back the same.
std::string canonicalTag(std::string_view tag) {
    size_t separators = 0;
    for (char c : tag) separators += c == '\x01';
    const size_t n = tag.size();
    if (separators >= 4 && n >= 9) {
        bool digits = true;
        for (size_t i = n - 5; i < n; ++i) digits = digits && isDigit(tag[i]);
        const bool genreFits = digits && (tag[n - 3] - '0') * 100 + (tag[n - 2] - '0') * 10 + (tag[n - 1] - '0') <= 255;
        const bool markerLike = tag[n - 7] == '%' && isDigit(tag[n - 6]);
        if (genreFits && !markerLike) return std::string(tag);
    }
    return canonicalTagString(tag);
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
    if (options_.processMessages) options_.processMessages();
}

NodeInfo DatabaseLoader::readLine(size_t index, bool isDisk) const {
    const LoadTree::Line& line = source_->line(index);
    NodeInfo info = GetNodeInfo(line.text);
    const size_t number = source_->lineNumber(index);
    if (info.icon < 0 || info.icon > iiSongLast)
        throw DatabaseFormatError(lineError(number, std::to_string(info.icon) + " is not an icon of a disk, folder or song."));
    if (!isAcceptableNodeName(info.name, isDisk))
        throw DatabaseFormatError(lineError(number, "\"" + std::string(info.name) +
                                                        "\" is not a valid name for a disk, folder or song."));
    if (isSongImage(info.icon) && source_->hasChildren(index))
        throw DatabaseFormatError(lineError(number, "the song \"" + std::string(info.name) + "\" holds other entries."));
    return info;
}

void DatabaseLoader::AnalyzeTree(const LoadTree& source) {
    source_ = &source;
    lastSelected_ = nullptr;
    BulkUpdate bulk(db_);
    RootFolders roots(db_);
    Tree& music = db_.musicTree();
    if (options_.mergeMode) music.requestClearSelection();
    for (size_t s = 0; s < source.size(); s = source.line(s).subtreeEnd) {
        NodeInfo info = readLine(s, true);
        TreeNode* d = db_.TryToFindNode(nullptr, music, false, 0, static_cast<uint8_t>(info.icon), info.name);
        pump();
        if (!d->data()) {
            db_.counters().a.sizeMB += info.size / kBytesPerMegabyte;
            db_.AddToDataList(d);
        } else if (d->hasChildren()) {
            music.setImageIndex(d, static_cast<uint8_t>(info.icon));
        }
        AddNodeToBase(s, d);
        roots.ReRoot(d);
        if (!options_.mergeMode) music.requestCollapse(d);
        pump();
    }
}

void DatabaseLoader::AddNodeToBase(size_t source, TreeNode* dest) {
    if (!source_->hasChildren(source)) {
        // A childless line is a song; an empty disk or folder stays an empty node.
        if (isSongImage(dest->imageIndex())) addSong(dest);
        return;
    }
    const bool directlyUnderDisk = dest->parent() == nullptr;
    bool expanded = false;
    Tree& music = db_.musicTree();
    const size_t end = source_->line(source).subtreeEnd;
    for (size_t c = source + 1; c < end; c = source_->line(c).subtreeEnd) {
        NodeInfo info = readLine(c, false);
        std::string tag;
        if (isSongImage(info.icon)) tag = info.hasTag ? canonicalTag(info.tag) : kEmptyTagString;
        TreeNode* n = db_.TryToFindNode(dest, music, true, info.size, static_cast<uint8_t>(info.icon), info.name);
        if (!n->data()) {
            if (directlyUnderDisk) {
                if (!expanded) music.requestExpand(dest);
                expanded = true;
                pump();
            }
            db_.counters().a.sizeMB += info.size / kBytesPerMegabyte;
            TDataRec* rec = db_.AddToDataList(n);
            rec->Size = info.size;
            if (isSongImage(info.icon)) rec->TagStr = std::move(tag);
        } else if (n->hasChildren()) {
            music.setImageIndex(n, static_cast<uint8_t>(info.icon));
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
    rec->MusicListItem = db_.musicList().append(rec, imageOfStatus(ssUnused));
    // `a` and its size were counted when the record was made; the count and `n` follow here.
    db_.counters().a.count += 1;
    db_.counters()[cN].count += 1;
    db_.counters()[cN].sizeMB += rec->Size / kBytesPerMegabyte;
    if (storedIcon != imageOfStatus(ssUnused)) {
        db_.musicTree().setImageIndex(dest, imageOfStatus(ssUnused));
        const int status = statusAfterLoad(storedIcon, options_.goodCycle);
        if (status != ssUnused) db_.SetStatus(rec, status);
    }
}

} // namespace velmo
