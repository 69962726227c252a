#include "playlist/ResultPlaylist.h"

#include <unordered_map>
#include <unordered_set>
#include <vector>

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

// Which files the destination holds. A folder that holds several songs of the playlist is
// listed once, which answers for all of them; a folder of one or two is asked about each file
// by its path, as a copy spread over tens of thousands of folders would otherwise cost four
// system calls a song instead of one. Either way a file counts as it would for a look-up of
// its path: a regular file, or a link to one.
class DestinationFiles {
public:
    explicit DestinationFiles(const DestinationFolder& destination) : destination_(destination) {}

    // Tells of a file that isFile will be asked about, so its folder's share is known; returns
    // the folder's number for isFile.
    size_t expect(const std::string& relative) {
        auto [it, added] = index_.try_emplace(folderOf(relative), folders_.size());
        if (added) folders_.emplace_back();
        ++folders_[it->second].expected;
        return it->second;
    }

    // `relative` with "/" separators, in the folder `expect` numbered.
    bool isFile(size_t folderNumber, const std::string& relative) {
        Folder& folder = folders_[folderNumber];
        if (folder.expected < kListFrom) return platform::fileExists(destination_.nativePath(relative));
        if (!folder.listed) {
            folder.files = read(folderOf(relative));
            folder.listed = true;
        }
        const size_t slash = relative.rfind('/');
        return folder.files.count(slash == std::string::npos ? relative : relative.substr(slash + 1)) > 0;
    }

private:
    static constexpr size_t kListFrom = 3;
    struct Folder {
        size_t expected = 0;
        bool listed = false;
        std::unordered_set<std::string> files;
    };
    static std::string folderOf(const std::string& relative) {
        const size_t slash = relative.rfind('/');
        return slash == std::string::npos ? std::string() : relative.substr(0, slash);
    }
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
    std::unordered_map<std::string, size_t> index_;
    std::vector<Folder> folders_;
};

} // namespace

std::vector<std::string> PlayListLines(const CopyContext& c, const DriveFlags& CopyFromDrive) {
    // What each song's line would be: its copy in the destination, or the file on a local drive
    // it was not copied from. Which of them exist is asked afterwards, all at once.
    struct Candidate {
        std::string path; // relative to the destination with "/", or native
        bool copy;
        size_t folder = 0; // the destination folder's number, for a copy
    };
    std::vector<Candidate> candidates;
    ItemList& list = c.db.playList();
    candidates.reserve(list.size());
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
            if (!copied) {
                const size_t slash = caption.find('\\');
                const std::string onDrive =
                    std::string(1, letter) + ":\\" + (slash == std::string::npos ? "" : caption.substr(slash + 1));
                if (std::optional<std::string> native = c.drives.catalogToNative(onDrive))
                    candidates.push_back({std::move(*native), false});
                continue;
            }
        }
        candidates.push_back({withSlashes(DestName(caption)), true});
    }

    const std::optional<DestinationFolder> destination =
        DestinationFolder::resolve(c.settings.PathToDB, c.AppDir, c.drives);
    std::optional<DestinationFiles> copies;
    if (destination) {
        copies.emplace(*destination);
        for (Candidate& candidate : candidates)
            if (candidate.copy) candidate.folder = copies->expect(candidate.path);
    }
    std::vector<std::string> lines;
    lines.reserve(candidates.size());
    for (Candidate& candidate : candidates) {
        if (!candidate.copy) {
            if (platform::fileExists(candidate.path)) lines.push_back(std::move(candidate.path));
        } else if (copies && copies->isFile(candidate.folder, candidate.path)) {
            if (candidate.path.starts_with('#')) candidate.path.insert(0, "./");
            lines.push_back(std::move(candidate.path));
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
