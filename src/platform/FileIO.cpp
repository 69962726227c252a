#include "platform/FileIO.h"

#include <cerrno>
#include <dirent.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <ctime>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/HugePages.h"

namespace velmo::platform {

std::optional<std::string> readWholeFile(const std::string& path, size_t maxBytes) {
    // Without O_NONBLOCK, opening a FIFO waits for a writer; what is not a regular file is
    // refused before the first read, so a device such as /dev/zero cannot fill the memory.
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return std::nullopt;
    struct stat st {};
    int error = 0;
    if (fstat(fd, &st) != 0) error = errno;
    else if (!S_ISREG(st.st_mode)) error = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
    else if (static_cast<uint64_t>(st.st_size) > maxBytes) error = EFBIG;
    std::string content;
    if (error == 0 && st.st_size > 0) {
        content.reserve(static_cast<size_t>(st.st_size));
        adviseHugePages(content.data(), content.capacity());
    }
    char buf[1 << 16];
    while (error == 0) {
        ssize_t n = read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) error = errno;
        if (n <= 0) break;
        // Files of /proc report no size; a file that grows while read stops at the limit too.
        if (static_cast<size_t>(n) > maxBytes - content.size()) error = EFBIG;
        else content.append(buf, static_cast<size_t>(n));
    }
    close(fd);
    if (error != 0) {
        errno = error;
        return std::nullopt;
    }
    return content;
}

bool pathExists(const std::string& path) {
    struct stat st {};
    return lstat(path.c_str(), &st) == 0;
}

namespace {

bool writeAll(int fd, std::string_view data) {
    while (!data.empty()) {
        ssize_t n = write(fd, data.data(), data.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

constexpr std::string_view kTempInfix = ".tmp-";
constexpr size_t kTempSuffixLength = 6; // the XXXXXX that mkstemp fills

bool isTemporaryNameOf(std::string_view name, std::string_view base) {
    if (name.size() != base.size() + kTempInfix.size() + kTempSuffixLength) return false;
    if (name.substr(0, base.size()) != base || name.substr(base.size(), kTempInfix.size()) != kTempInfix) return false;
    for (char c : name.substr(base.size() + kTempInfix.size()))
        if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))) return false;
    return true;
}

} // namespace

size_t removeStaleTemporaryFiles(const std::string& path) {
    const std::filesystem::path target(path);
    const std::string base = target.filename().string();
    const std::string dir = target.has_parent_path() ? target.parent_path().string() : ".";
    DIR* folder = opendir(dir.c_str());
    if (!folder) return 0;
    const int dirFd = dirfd(folder);
    const time_t now = time(nullptr);
    size_t removed = 0;
    while (dirent* e = readdir(folder)) {
        if (!isTemporaryNameOf(e->d_name, base)) continue;
        const int fd = openat(dirFd, e->d_name, O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0) continue;
        struct stat st {};
        const bool stale = fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && now - st.st_mtime > 60 &&
                           flock(fd, LOCK_EX | LOCK_NB) == 0;
        // Removed while the lock is held, so no save can be writing it meanwhile.
        if (stale && unlinkat(dirFd, e->d_name, 0) == 0) ++removed;
        close(fd);
    }
    closedir(folder);
    return removed;
}

std::optional<std::string> writeFileAtomically(
    const std::string& path, const std::function<void(const std::function<void(std::string_view)>&)>& produce) {
    std::filesystem::path target(path);
    std::error_code ec;
    if (target.has_parent_path()) std::filesystem::create_directories(target.parent_path(), ec);
    // Before the new file takes room: a killed save of a large database leaves one as large.
    removeStaleTemporaryFiles(path);

    std::string temp = path + ".tmp-XXXXXX";
    int fd = mkstemp(temp.data());
    if (fd < 0) return std::string(std::strerror(errno));
    // Held until the file is renamed or removed: the sign that a writer is still at work.
    flock(fd, LOCK_EX);

    // Keep the mode of the file we replace; a new file gets the usual 0666 less the umask.
    struct stat st {};
    mode_t mode;
    if (stat(path.c_str(), &st) == 0) {
        mode = st.st_mode & 07777;
    } else {
        mode_t mask = umask(0);
        umask(mask);
        mode = 0666 & ~mask;
    }
    fchmod(fd, mode);

    int error = 0;
    produce([&](std::string_view piece) {
        if (error == 0 && !writeAll(fd, piece)) error = errno ? errno : EIO;
    });
    if (error == 0 && fsync(fd) != 0) error = errno;
    if (close(fd) != 0 && error == 0) error = errno;
    if (error == 0 && rename(temp.c_str(), path.c_str()) != 0) error = errno;
    if (error != 0) {
        unlink(temp.c_str());
        return std::string(std::strerror(error));
    }
    // Make the rename itself durable.
    std::string dir = target.has_parent_path() ? target.parent_path().string() : ".";
    int dirFd = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd >= 0) {
        fsync(dirFd);
        close(dirFd);
    }
    return std::nullopt;
}

std::optional<std::string> writeFileIfChanged(const std::string& path, std::string_view text) {
    // A file larger than the text cannot hold it; reading stops there.
    if (readWholeFile(path, text.size() + 1) == text) return std::nullopt;
    return writeFileAtomically(path, [&](const auto& sink) { sink(text); });
}

std::optional<std::string> copyFile(const std::string& from, const std::string& to) {
    auto content = readWholeFile(from);
    if (!content) return std::string(std::strerror(errno ? errno : EIO));
    return writeFileAtomically(to, [&](const auto& sink) { sink(*content); });
}

std::optional<std::vector<DirEntry>> listDirectory(const std::string& path) {
    DIR* dir = opendir(path.c_str());
    if (!dir) return std::nullopt;
    std::vector<DirEntry> entries;
    const int dirFd = dirfd(dir);
    while (dirent* e = readdir(dir)) {
        const std::string name = e->d_name;
        if (name == "." || name == "..") continue;
        struct stat st {};
        if (fstatat(dirFd, e->d_name, &st, 0) != 0) continue; // a dangling link, a vanished file
        DirEntry entry;
        entry.name = name;
        entry.isDirectory = S_ISDIR(st.st_mode);
        if (!entry.isDirectory && !S_ISREG(st.st_mode)) continue;
        struct stat own {};
        entry.isLink = e->d_type == DT_LNK ||
                       (e->d_type == DT_UNKNOWN && fstatat(dirFd, e->d_name, &own, AT_SYMLINK_NOFOLLOW) == 0 &&
                        S_ISLNK(own.st_mode));
        entry.size = static_cast<int64_t>(st.st_size);
        entry.device = static_cast<uint64_t>(st.st_dev);
        entry.inode = static_cast<uint64_t>(st.st_ino);
        entries.push_back(std::move(entry));
    }
    closedir(dir);
    return entries;
}

std::optional<std::pair<uint64_t, uint64_t>> folderIdentity(const std::string& path) {
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) return std::nullopt;
    if (!S_ISDIR(st.st_mode)) {
        errno = ENOTDIR;
        return std::nullopt;
    }
    return std::pair{static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino)};
}

std::optional<std::string> realPath(const std::string& path) {
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (!resolved) return std::nullopt;
    std::string result(resolved);
    std::free(resolved);
    return result;
}

std::optional<std::string> appendLine(const std::string& path, std::string_view line) {
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
    if (fd < 0) return std::string(std::strerror(errno));
    std::string text(line);
    text += "\r\n";
    const bool ok = writeAll(fd, text);
    const int error = errno;
    if (close(fd) != 0 || !ok) return std::string(std::strerror(ok ? errno : error));
    return std::nullopt;
}

std::optional<std::string> createEmptyFile(const std::string& path) {
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) return std::string(std::strerror(errno));
    close(fd);
    return std::nullopt;
}

bool fileExists(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool folderExists(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::optional<std::string> removeFile(const std::string& path) {
    if (unlink(path.c_str()) == 0 || errno == ENOENT) return std::nullopt;
    return std::strerror(errno);
}

std::optional<std::string> renamePath(const std::string& from, const std::string& to) {
    if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return std::nullopt;
    if (errno != EINVAL && errno != ENOSYS) return std::strerror(errno);
    // A file system without the no-replace flag: look first (a race here is the user's own).
    struct stat st {};
    if (lstat(to.c_str(), &st) == 0) return std::strerror(EEXIST);
    if (rename(from.c_str(), to.c_str()) == 0) return std::nullopt;
    return std::strerror(errno);
}

std::optional<std::string> flushFileSystem(const std::string& folder) {
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return std::string(std::strerror(errno));
    const int rc = syncfs(fd);
    const int error = errno;
    close(fd);
    if (rc != 0) return std::string(std::strerror(error));
    return std::nullopt;
}

std::optional<std::string> createFolders(const std::string& path) {
    std::error_code ec;
    std::filesystem::create_directories(path, ec);
    if (ec) return ec.message();
    if (!folderExists(path)) return std::strerror(ENOTDIR);
    return std::nullopt;
}

} // namespace velmo::platform
