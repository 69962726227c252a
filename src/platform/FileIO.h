#pragma once
#include <functional>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>
#include <string>
#include <string_view>

namespace velmo::platform {

// More than any file the program keeps for itself can hold (a database of millions of songs
// stays far below it).
inline constexpr size_t kMaxReadBytes = size_t{1} << 31;
// Settings, drive tables and labels are a few kilobytes.
inline constexpr size_t kMaxSettingsBytes = size_t{16} << 20;

// Reads a whole regular file of at most `maxBytes` bytes; nullopt, with errno saying why, when
// it cannot be opened or read, is no regular file (a FIFO, a device, a folder: EINVAL or
// EISDIR, without waiting for a writer) or is larger (EFBIG, also when it grows while read).
std::optional<std::string> readWholeFile(const std::string& path, size_t maxBytes = kMaxReadBytes);
// Whether anything (a file, a folder, a FIFO, a link even if dangling) carries this name.
bool pathExists(const std::string& path);

// Replaces `path` atomically: the content goes to a temporary file in the same folder, which
// is flushed to disk and then renamed over `path`. A failure leaves the old file whole and
// returns the system's reason ("Permission denied", "No space left on device"); success
// returns nullopt. Missing parent folders are created. Temporary files that earlier saves of
// the same file left behind (a killed process) are removed first: see
// removeStaleTemporaryFiles.
std::optional<std::string> writeFileAtomically(
    const std::string& path, const std::function<void(const std::function<void(std::string_view)>&)>& produce);

// Writes `text` over `path` as writeFileAtomically does, unless the file already holds exactly
// these bytes: settings are saved on every run, and a run that changed nothing writes nothing.
std::optional<std::string> writeFileIfChanged(const std::string& path, std::string_view text);

// Removes the temporary files "<name>.tmp-XXXXXX" of interrupted saves of `path` from its
// folder. A save holds an exclusive flock on its temporary file until it is renamed, and the
// kernel drops that lock when the process dies, so a file whose lock can be taken has no
// writer left. A file changed within the last minute stays all the same, for a writer that
// takes no lock (an older build) or has not taken it yet. Returns how many were removed.
size_t removeStaleTemporaryFiles(const std::string& path);

// Copies a file over `to` (atomically, as above); the system's reason on failure.
std::optional<std::string> copyFile(const std::string& from, const std::string& to);

// One entry of a folder listing (symbolic links are followed).
struct DirEntry {
    std::string name;
    bool isDirectory = false;
    bool isLink = false; // the entry is a symbolic link (to a folder or a file, as above)
    int64_t size = 0;
    uint64_t device = 0; // with inode: the identity of a folder, to notice link loops
    uint64_t inode = 0;
};
// Every entry of a folder, hidden ones included, "." and ".." left out, in the order the
// file system gives them; nullopt when the folder cannot be listed (errno says why).
std::optional<std::vector<DirEntry>> listDirectory(const std::string& path);
// The identity of a folder (device and inode), or nullopt (errno says why).
std::optional<std::pair<uint64_t, uint64_t>> folderIdentity(const std::string& path);
// The absolute path without links, "." or ".." that `path` leads to; nullopt when it leads
// nowhere.
std::optional<std::string> realPath(const std::string& path);

// Appends one line (and CR LF) to a file and closes it again, so the file is complete up to
// the last line whatever happens next; the system's reason on failure.
std::optional<std::string> appendLine(const std::string& path, std::string_view line);
// Creates an empty file, replacing one that exists; the system's reason on failure.
std::optional<std::string> createEmptyFile(const std::string& path);

// Writes everything still in memory for the file system that holds `folder` to its disk; the
// system's reason on failure.
std::optional<std::string> flushFileSystem(const std::string& folder);

bool fileExists(const std::string& path);
bool folderExists(const std::string& path);
// Removes a file; nothing when it is gone afterwards (also when it never was), else the
// system's reason.
std::optional<std::string> removeFile(const std::string& path);
// Renames a file or folder; never replaces what already carries the new name. The system's
// reason on failure ("File exists", "Permission denied"), with nothing changed.
std::optional<std::string> renamePath(const std::string& from, const std::string& to);
// Creates a folder and the missing folders above it; the system's reason on failure.
std::optional<std::string> createFolders(const std::string& path);

} // namespace velmo::platform
