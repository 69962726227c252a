#include "platform/Folders.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmo::platform {

std::string partialCopyName(std::string_view name) {
    std::string out(kPartialCopyPrefix);
    out += name;
    return out;
}

bool isPartialCopyName(std::string_view name) { return name.starts_with(kPartialCopyPrefix); }

namespace {

EntryKind kindOfMode(mode_t mode) {
    if (S_ISREG(mode)) return EntryKind::File;
    if (S_ISDIR(mode)) return EntryKind::Folder;
    if (S_ISLNK(mode)) return EntryKind::Link;
    return EntryKind::Other;
}

} // namespace

std::optional<std::vector<FolderEntry>> listFolderEntries(const std::string& path, bool followLink) {
    const int fd = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | (followLink ? 0 : O_NOFOLLOW));
    if (fd < 0) return std::nullopt;
    DIR* dir = fdopendir(fd);
    if (!dir) {
        close(fd);
        return std::nullopt;
    }
    std::vector<FolderEntry> entries;
    while (dirent* e = readdir(dir)) {
        const std::string_view name = e->d_name;
        if (name == "." || name == "..") continue;
        FolderEntry entry;
        entry.name = name;
        switch (e->d_type) {
        case DT_REG: entry.kind = EntryKind::File; break;
        case DT_DIR: entry.kind = EntryKind::Folder; break;
        case DT_LNK: entry.kind = EntryKind::Link; break;
        case DT_UNKNOWN: {
            struct stat st {};
            if (fstatat(dirfd(dir), e->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
            entry.kind = kindOfMode(st.st_mode);
            break;
        }
        default: entry.kind = EntryKind::Other; break;
        }
        entries.push_back(std::move(entry));
    }
    closedir(dir);
    return entries;
}

bool removeEmptyFolder(const std::string& path) {
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return false;
    return rmdir(path.c_str()) == 0;
}

bool createFolder(const std::string& path) {
    if (mkdir(path.c_str(), 0777) == 0) return true;
    struct stat st {};
    return errno == EEXIST && stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

} // namespace velmo::platform
