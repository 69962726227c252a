#include "playlist/ResultPlaylist.h"

#include <unordered_map>
#include <unordered_set>

#include "base/MessageTable.h"
#include "base/UserInterface.h"
#include "musicdb/MusicDatabase.h"
#include "platform/Drives.h"
#include "platform/FileIO.h"
#include "platform/Folders.h"
#include "playlist/DestinationFolder.h"
#include "settings/ProfileSettings.h"
#include "util/IntConversion.h"

namespace velmo {

namespace {


bool isHardDiskImage(int image) { return image == iiHardDiskRoot || image == iiHardDisk; }

std::string withSlashes(std::string name) {
    for (char& c : name)
        if (c == '\\') c = '/';
    return name;
}

// Which files the destination holds, read folder by folder: one listing of a folder answers for
// all of its songs, instead of one look-up per song. A file counts as it would for a look-up of
// its path: a regular file, or a link to one.
class DestinationFiles {
public:
    explicit DestinationFiles(const DestinationFolder& destination) : destination_(destination) {}

    // `relative` with "/" separators.
    bool isFile(const std::string& relative) {
        const size_t slash = relative.rfind('/');
        const std::string folder = slash == std::string::npos ? std::string() : relative.substr(0, slash);
        auto it = folders_.find(folder);
        if (it == folders_.end()) it = folders_.emplace(folder, read(folder)).first;
        return it->second.count(slash == std::string::npos ? relative : relative.substr(slash + 1)) > 0;
    }

private:
    std::unordered_set<std::string> read(const std::string& folder) const {
        std::unordered_set<std::string> files;
        const std::string native = folder.empty() ? destination_.folder : destination_.nativePath(folder);
        if (auto entries = platform::listFolderEntries(native, true)) {
            for (platform::FolderEntry& e : *entries) {
                if (e.kind == platform::EntryKind::File ||
                    (e.kind == platform::EntryKind::Link && platform::fileExists(native + "/" + e.name)))
                    files.insert(std::move(e.name));
            }
        }
        return files;
    }

    const DestinationFolder& destination_;
    std::unordered_map<std::string, std::unordered_set<std::string>> folders_;
};

// The line of a copied song when its copy exists.
void appendCopied(std::vector<std::string>& lines, DestinationFiles* destination, const std::string& caption) {
    std::string relative = withSlashes(DestName(caption));
    if (!destination || !destination->isFile(relative)) return;
    if (relative.starts_with('#')) relative.insert(0, "./");
    lines.push_back(std::move(relative));
}

} // namespace

std::vector<std::string> PlayListLines(const CopyContext& c, const DriveFlags& CopyFromDrive) {
    std::vector<std::string> lines;
    const std::optional<DestinationFolder> destination =
        DestinationFolder::resolve(c.settings.PathToDB, c.AppDir, c.drives);
    std::optional<DestinationFiles> files;
    if (destination) files.emplace(*destination);
    DestinationFiles* copies = files ? &*files : nullptr;
    ItemList& list = c.db.playList();
    lines.reserve(list.size());
    for (ListItem* item = list.first(); item; item = list.next(item)) {
        const TreeNode* song = item->data()->MusicNode;
        const TreeNode* disk = song;
        while (disk->parent()) disk = disk->parent();
        const std::string caption = musicTreePath(song);
        // The disk's own kind says whether it is a local drive; a "<" in an optical disk's
        // description does not make it one.
        if (isHardDiskImage(disk->imageIndex())) {
            const size_t lt = disk->text().find('<');
            const char letter = lt != std::string::npos && lt + 1 < disk->text().size() ? disk->text()[lt + 1] : 0;
            const bool copied = letter >= 'A' && letter <= 'Z' && CopyFromDrive[letter - 'A'];
            if (copied) {
                appendCopied(lines, copies, caption);
            } else {
                const size_t slash = caption.find('\\');
                const std::string onDrive =
                    std::string(1, letter) + ":\\" + (slash == std::string::npos ? "" : caption.substr(slash + 1));
                std::optional<std::string> native = c.drives.catalogToNative(onDrive);
                if (native && platform::fileExists(*native)) lines.push_back(*native);
            }
        } else {
            appendCopied(lines, copies, caption);
        }
    }
    return lines;
}

std::string playlistFilePath(const CopyContext& c) {
    const std::optional<DestinationFolder> destination =
        DestinationFolder::resolve(c.settings.PathToDB, c.AppDir, c.drives);
    return destination ? destination->nativePath(c.CurrentProfile + ".m3u") : std::string();
}

bool FormPlayList(const CopyContext& c, const DriveFlags& CopyFromDrive) {
    const std::vector<std::string> lines = PlayListLines(c, CopyFromDrive);
    const std::string path = playlistFilePath(c);
    std::optional<std::string> error;
    if (path.empty()) {
        error = "the destination folder " + c.settings.PathToDB + " is not on a drive of this machine";
    } else {
        error = platform::writeFileAtomically(path, [&](const auto& sink) {
            std::string chunk;
            for (const std::string& line : lines) {
                chunk += line;
                chunk += "\r\n";
                if (chunk.size() >= (1 << 16)) {
                    sink(chunk);
                    chunk.clear();
                }
            }
            sink(chunk);
        });
    }
    if (error) {
        c.ui.showError("The playlist file " + (path.empty() ? c.CurrentProfile + ".m3u" : path) +
                       " could not be written: " + *error);
        return false;
    }
    if (c.settings.ConfirmOpts[ShowResultWnd])
        c.ui.showNotice(c.messages[msgAllCompleted], replaceAll(c.messages[msgPlaylistSaved], "%name", path));
    return true;
}

} // namespace velmo
