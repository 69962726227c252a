#include "catalog/FolderScan.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <stdexcept>
#include <unordered_map>

#include "base/MessageTable.h"
#include "base/UserInterface.h"
#include "musicdb/MusicDatabase.h"
#include "settings/ProfileSettings.h"
#include "catalog/ID3v1.h"
#include "musicdb/RootFolders.h"
#include "platform/FileIO.h"
#include "platform/OpenFolder.h"
#include "util/AsciiCase.h"
#include "util/TextEncoding.h"

namespace velmo {

bool FolderScan::isStorableName(const std::string& name) {
    if (name.empty()) return false;
    for (char c : name)
        if (c == ':' || c == '\\' || c == '\r' || c == '\n' || c == '\t') return false;
    return true;
}

bool FolderScan::isAccepted(const std::string& fileName) const {
    const size_t dot = fileName.rfind('.');
    if (dot == std::string::npos) return false;
    const std::string_view ext = std::string_view(fileName).substr(dot + 1);
    for (const std::string& e : extensions_)
        if (equalsIgnoringAsciiCase(e, ext)) return true;
    return false;
}

void FolderScan::trace(const std::string& catalogPath) {
    if (s_.traceFile.empty()) return;
    const std::string& file = s_.traceFile;
    if (auto failure = platform::appendLine(file, catalogPath))
        throw std::runtime_error("Cannot write file \"" + file + "\". " + *failure);
}

void FolderScan::ButtonAddFolderClick(const std::vector<AddItem>& items, const std::string& description,
                                      const std::string& label) {
    description_ = description;
    label_ = label;
    extensions_.clear();
    for (const auto* list : {&s_.settings.StdExtensions, &s_.settings.UserExtensions})
        for (const std::string& e : *list)
            if (!e.empty()) extensions_.push_back(asciiUpper(e));
    visited_.clear();
    leftOut_ = {};
    unreadable_ = {};
    s_.db.musicTree().requestClearSelection();
    if (!s_.traceFile.empty()) {
        const std::string& file = s_.traceFile;
        if (auto failure = platform::createEmptyFile(file))
            throw std::runtime_error("Cannot create file \"" + file + "\". " + *failure);
    }
    s_.ui.processMessages();
    for (const AddItem& item : items) {
        if (item.path.size() < 2) continue;
        // A path may come with a folder's name in its bytes on the disk (the folder chooser, an
        // argument): the database holds the text form, as the scan gives it to names below.
        const std::string path = fileNameToText(textToFileName(item.path));
        AddingRooted = item.rooted;
        TreeNode* node = ProvideAddingRoot(path);
        AddingPath = path.back() == '\\' ? path.substr(0, path.size() - 1) : path;
        s_.ui.processMessages();
        AddCDPath(node, AddingPath);
        if (node->hasChildren()) {
            RootFolders(s_.db).ReRoot(node);
        } else if (!unreadableRoot_.empty()) {
            s_.ui.showError(AddingPath + "\\\nThe folder cannot be read: " + unreadableRoot_ + ".");
        } else if (s_.settings.ConfirmOpts[ShowNoFilesWarn]) {
            s_.ui.showNotice(s_.messages[msgInformation], AddingPath + "\\\n" + s_.messages[msgFolderHasNoFiles]);
        }
        DelBranchIfEmpty(node);
    }
    reportMissed();
    s_.db.notifyStatisticsChanged();
}

namespace {

// A path for a notice: a line break or TAB in a name would break the text apart.
std::string shown(std::string path) {
    for (char& c : path)
        if (static_cast<unsigned char>(c) < 0x20) c = '?';
    return path;
}

std::string counted(size_t n, const char* one, const char* many) {
    return n == 1 ? std::string("One ") + one : std::to_string(n) + " " + many;
}

} // namespace

void FolderScan::reportMissed() const {
    std::string text;
    if (leftOut_.count)
        text = counted(leftOut_.count, "name", "names") +
               " could not be added: the database cannot hold line breaks, TABs, \":\" or \"\\\" in a name. The "
               "first: \"" + shown(leftOut_.first) + "\".";
    if (unreadable_.count)
        text += (text.empty() ? "" : "\n") + counted(unreadable_.count, "folder", "folders") +
                " could not be read. The first: " + unreadable_.first + ".";
    if (!text.empty()) s_.ui.showNotice(s_.messages[msgInformation], text);
}

bool FolderScan::leadsInside(const std::string& nativeLink) const {
    const std::optional<std::string> target = platform::realPath(nativeLink);
    if (!target || addingRoot_.empty()) return false;
    return addingRoot_ == "/" || *target == addingRoot_ ||
           (target->starts_with(addingRoot_) && (*target)[addingRoot_.size()] == '/');
}

TreeNode* FolderScan::ProvideAddingRoot(const std::string& path) {
    MusicDatabase& db = s_.db;
    Tree& music = db.musicTree();
    const bool cd = drives_.isCdDrive(path.front());
    std::string name = description_ + " /" + label_ + "/";
    uint8_t image = cd ? iiCDDisk : iiHardDisk;
    // The folders below the drive: "E:\Pop\Old\" gives Pop and Old.
    std::vector<std::string> pieces;
    const size_t firstSlash = path.find('\\');
    if (firstSlash != std::string::npos) {
        size_t start = firstSlash + 1;
        for (size_t end; (end = path.find('\\', start)) != std::string::npos; start = end + 1)
            if (end > start) pieces.push_back(path.substr(start, end - start));
        if (start < path.size()) pieces.push_back(path.substr(start));
    }
    TreeNode* parent = nullptr;
    TreeNode* node = nullptr;
    for (size_t level = 0;; ++level) {
        node = db.addContainer(parent, name, image);
        if (node->parent()) music.requestExpand(node->parent());
        if (level == pieces.size()) break;
        image = iiFolder;
        name = pieces[level];
        parent = node;
    }
    music.requestClearSelection();
    music.requestSelect(node);
    uint8_t finalImage = !node->parent() ? (cd ? iiCDDisk : iiHardDisk) : iiFolder;
    if (AddingRooted) --finalImage;
    music.setImageIndex(node, finalImage);
    return node;
}

void FolderScan::AddCDPath(TreeNode* parent, const std::string& path) {
    unreadableRoot_.clear();
    auto native = drives_.nativePath(path);
    if (!native) return;
    auto folder = platform::OpenFolder::open(*native);
    auto id = folder ? folder->identity() : std::nullopt;
    if (!id) {
        unreadableRoot_ = std::strerror(errno);
        return;
    }
    if (!visited_.insert(*id).second) return;
    addingRoot_ = platform::realPath(*native).value_or(*native);
    walkFolder(parent, path, *native, *folder);
}

namespace {

// What identifies a child for the find-or-insert, its size aside: its kind and its exact name.
// Two entries with the same key and (for songs) the same size are the node TryToFindNode would
// find.
std::string childKey(bool song, std::string_view name) {
    std::string key(name);
    key.push_back(song ? '\x01' : '\x02');
    return key;
}

using OpenFolder = platform::OpenFolder;

} // namespace

void FolderScan::walkFolder(TreeNode* parent, const std::string& path, const std::string& native,
                            const platform::OpenFolder& folder) {
    auto entries = folder.list();
    if (!entries) {
        const std::string reason = std::strerror(errno);
        if (path == AddingPath) unreadableRoot_ = reason;
        else unreadable_.note("\"" + shown(path) + "\": " + reason);
        return;
    }
    MusicDatabase& db = s_.db;
    Tree& music = db.musicTree();
    // Children known before the walk are found by their exact name first: a scan of a folder
    // already in the database then costs no collation, and a song already there needs only
    // its size, not its tag.
    std::unordered_multimap<std::string, TreeNode*> known;
    known.reserve(parent->childCount());
    for (size_t i = 0; i < parent->childCount(); ++i) {
        TreeNode* c = parent->child(i);
        known.emplace(childKey(isSongImage(c->imageIndex()), c->text()), c);
    }
    auto findOrInsert = [&](bool song, const std::string& name, int32_t size, uint8_t image) {
        auto [from, to] = known.equal_range(childKey(song, name));
        for (auto it = from; it != to; ++it)
            if (!song || (it->second->data() && it->second->data()->Size == size)) return it->second;
        return db.TryToFindNode(parent, music, song, size, image, name);
    };
    // The entries in the order of the tree, subfolders first: each new node is then appended to
    // its folder instead of going among siblings whose rows would all move. The listing comes
    // in the file system's order (by hash, for one), and in a folder of thousands of files
    // those moves made the scan quadratic.
    struct Listed {
        const OpenFolder::Entry* entry;
        std::string name;             // as the database holds it
        OpenFolder::Kind kind;        // what a link leads to
        std::optional<int64_t> size;  // known already for a link
    };
    std::vector<Listed> listed;
    listed.reserve(entries->size());
    for (const OpenFolder::Entry& e : *entries) {
        // A link counts as what it leads to; one that leads nowhere is no entry.
        OpenFolder::Kind kind = e.kind;
        std::optional<int64_t> fileSize;
        if (kind == OpenFolder::Kind::Link) {
            const auto target = folder.status(e.name, true);
            if (!target) continue;
            kind = target->kind;
            fileSize = target->size;
        }
        if (kind != OpenFolder::Kind::File && kind != OpenFolder::Kind::Folder) continue;
        // The database holds names as UTF-8 text; a name in other bytes keeps them escaped.
        std::string name = fileNameToText(e.name);
        if (!isStorableName(name)) {
            if (kind == OpenFolder::Kind::Folder || isAccepted(name)) leftOut_.note(path + "\\" + name);
            continue;
        }
        if (kind == OpenFolder::Kind::File && !isAccepted(name)) continue;
        listed.push_back({&e, std::move(name), kind, fileSize});
    }
    const NodeCollator& collator = db.collator();
    std::sort(listed.begin(), listed.end(), [&collator](const Listed& a, const Listed& b) {
        if (a.kind != b.kind) return a.kind == OpenFolder::Kind::Folder;
        return collator.compare(a.name, b.name) < 0;
    });
    char block[128];
    for (const Listed& l : listed) {
        const OpenFolder::Entry& e = *l.entry;
        const std::string& name = l.name;
        const OpenFolder::Kind kind = l.kind;
        const bool link = e.kind == OpenFolder::Kind::Link;
        std::optional<int64_t> fileSize = l.size;
        if (kind == OpenFolder::Kind::Folder) {
            // A link to a folder outside the one being added would catalogue what was not chosen.
            if (link && !leadsInside(native + "/" + e.name)) continue;
            const std::string full = path + "\\" + name;
            const uint8_t image = path == AddingPath && !AddingRooted ? iiFolderRoot : iiFolder;
            trace(full);
            TreeNode* node = findOrInsert(false, name, 0, image);
            if (node->imageIndex() != iiFolderRoot) music.setImageIndex(node, image);
            if (auto sub = folder.openSub(e.name)) {
                const auto id = sub->identity();
                if (id && visited_.insert(*id).second) walkFolder(node, full, native + "/" + e.name, *sub);
            } else {
                unreadable_.note("\"" + shown(full) + "\": " + std::strerror(errno));
            }
            if (!node->hasChildren()) {
                known.erase(childKey(false, name));
                db.removeEmptyBranch(node);
                continue;
            }
            if (path == AddingPath) s_.ui.processMessages();
            if (!node->data()) db.AddToDataList(node);
            continue;
        }
        trace(path + "\\" + name);
        // A new file is opened once for its size and its tag together; one whose name is known
        // already is most likely the same song, and its size alone tells.
        std::optional<OpenFolder::Tail> tail;
        bool tailTried = false;
        if (!fileSize && !known.contains(childKey(true, name))) {
            tailTried = true;
            tail = folder.readTail(e.name, link, block, sizeof block);
            if (tail) fileSize = tail->size;
        }
        if (!fileSize) {
            // Also a file that cannot be opened: it is listed, so it is catalogued without a tag.
            const auto st = folder.status(e.name, link);
            if (!st || st->kind != OpenFolder::Kind::File) continue;
            fileSize = st->size;
        }
        // The file format holds sizes as signed 32-bit numbers; a larger file is kept at the
        // largest size it can say, so no counter ever goes negative.
        const int32_t size = *fileSize > INT32_MAX ? INT32_MAX : static_cast<int32_t>(*fileSize);
        TreeNode* node = findOrInsert(true, name, size, imageOfStatus(ssUnused));
        if (node->data()) continue; // already in the database
        TDataRec* rec = db.enterSong(node, size, GetInsLineIndex(node));
        if (!tailTried) tail = folder.readTail(e.name, link, block, sizeof block);
        if (tail && tail->read) {
            // A block without "TAG" is a file without a tag: the empty one.
            TIDTag tag;
            parseId3v1Block(std::string_view(block, sizeof block), tag);
            rec->SetIDTag(tag);
        }
        db.DiskAdded = true;
        db.setDBModified(true);
    }
}

size_t FolderScan::GetInsLineIndex(const TreeNode* songNode) const {
    // The next node in pre-order after the (childless) new song that is a song.
    const TreeNode* n = songNode;
    for (;;) {
        const TreeNode* next = nullptr;
        for (const TreeNode* up = n; up && !next; up = up->parent()) next = up->nextSibling();
        if (!next) return s_.db.musicList().size();
        n = next;
        while (!isSongImage(n->imageIndex()) && n->hasChildren()) n = n->firstChild();
        if (isSongImage(n->imageIndex()) && n->data() && n->data()->MusicListItem)
            return s_.db.musicList().indexOf(n->data()->MusicListItem);
    }
}

void FolderScan::DelBranchIfEmpty(TreeNode* node) {
    while (node && !node->hasChildren()) {
        TreeNode* parent = node->parent();
        s_.db.removeEmptyBranch(node);
        node = parent;
    }
}

} // namespace velmo
