#include "platform/OpenFolder.h"

#include <cerrno>
#include <cstddef>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmo::platform {

namespace {

OpenFolder::Kind kindOfMode(mode_t mode) {
    if (S_ISREG(mode)) return OpenFolder::Kind::File;
    if (S_ISDIR(mode)) return OpenFolder::Kind::Folder;
    if (S_ISLNK(mode)) return OpenFolder::Kind::Link;
    return OpenFolder::Kind::Other;
}

constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;

} // namespace

std::optional<OpenFolder> OpenFolder::open(const std::string& path) {
    const int fd = ::open(path.c_str(), kFolderFlags);
    if (fd < 0) return std::nullopt;
    return OpenFolder(fd);
}

std::optional<OpenFolder> OpenFolder::openSub(const std::string& name) const {
    const int fd = ::openat(fd_, name.c_str(), kFolderFlags);
    if (fd < 0) return std::nullopt;
    return OpenFolder(fd);
}

OpenFolder& OpenFolder::operator=(OpenFolder&& other) noexcept {
    if (this != &other) {
        if (fd_ >= 0) ::close(fd_);
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

OpenFolder::~OpenFolder() {
    if (fd_ >= 0) ::close(fd_);
}

std::optional<std::pair<uint64_t, uint64_t>> OpenFolder::identity() const {
    struct stat st {};
    if (::fstat(fd_, &st) != 0) return std::nullopt;
    return std::pair{static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino)};
}

std::optional<std::vector<OpenFolder::Entry>> OpenFolder::list() const {
    // getdents64 on the descriptor itself: a DIR stream would ask fstat once more.
    alignas(dirent64) char buffer[32768];
    std::vector<Entry> entries;
    for (;;) {
        const ssize_t n = ::getdents64(fd_, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return std::nullopt;
        if (n == 0) break;
        for (ssize_t at = 0; at < n;) {
            const auto* d = reinterpret_cast<const dirent64*>(buffer + at);
            at += d->d_reclen;
            const char* name = d->d_name;
            if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'))) continue;
            Entry entry;
            entry.name = name;
            switch (d->d_type) {
            case DT_REG: entry.kind = Kind::File; break;
            case DT_DIR: entry.kind = Kind::Folder; break;
            case DT_LNK: entry.kind = Kind::Link; break;
            case DT_UNKNOWN: {
                struct stat st {};
                if (::fstatat(fd_, name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
                entry.kind = kindOfMode(st.st_mode);
                break;
            }
            default: entry.kind = Kind::Other; break;
            }
            entries.push_back(std::move(entry));
        }
    }
    return entries;
}

std::optional<OpenFolder::Status> OpenFolder::status(const std::string& name, bool followLink) const {
    struct stat st {};
    if (::fstatat(fd_, name.c_str(), &st, followLink ? 0 : AT_SYMLINK_NOFOLLOW) != 0) return std::nullopt;
    return Status{kindOfMode(st.st_mode), static_cast<int64_t>(st.st_size)};
}

std::optional<OpenFolder::Tail> OpenFolder::readTail(const std::string& name, bool followLink, char* buffer,
                                                    size_t length) const {
    const int fd = ::openat(fd_, name.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | (followLink ? 0 : O_NOFOLLOW));
    if (fd < 0) return std::nullopt;
    struct stat st {};
    int error = 0;
    Tail tail;
    if (::fstat(fd, &st) != 0) error = errno;
    else if (!S_ISREG(st.st_mode)) error = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
    else {
        tail.size = static_cast<int64_t>(st.st_size);
        const auto want = static_cast<off_t>(length);
        tail.read = st.st_size >= want &&
                    ::pread(fd, buffer, length, st.st_size - want) == static_cast<ssize_t>(length);
    }
    ::close(fd);
    if (error != 0) {
        errno = error;
        return std::nullopt;
    }
    return tail;
}

} // namespace velmo::platform
