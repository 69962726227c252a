#include "platform/FileCopy.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "platform/FileIO.h"
#include "platform/Folders.h"

namespace velmo::platform {

namespace {

// Large enough that the per-block work (progress, a look at the window) is negligible, small
// enough that Skip answers within a few milliseconds.
constexpr size_t kBlock = 1 << 20;

class Fd {
public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    // Closes now; the close's own error (a delayed write failure) is the caller's to see.
    int close() {
        const int rc = ::close(fd_);
        fd_ = -1;
        return rc;
    }

private:
    int fd_;
};

std::string partialPathFor(const std::string& to) {
    const size_t slash = to.rfind('/');
    if (slash == std::string::npos) return partialCopyName(to);
    return to.substr(0, slash + 1) + partialCopyName(std::string_view(to).substr(slash + 1));
}

bool writeAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

// Moves the file's bytes; 0 when done, else the errno that stopped it (ECANCELED: the callback).
// `expected` is the size the source had when opened: reaching it saves asking for more (files
// that report no size, as some virtual files do, are read to their end).
int transfer(int in, int out, uint64_t expected, const std::function<bool(uint64_t)>& progress) {
    uint64_t done = 0;
    bool inKernel = true; // copy_file_range until the file systems refuse it
    std::vector<char> buffer;
    for (;;) {
        ssize_t n;
        if (inKernel) {
            n = ::copy_file_range(in, nullptr, out, nullptr, kBlock, 0);
            if (n < 0 && (errno == EXDEV || errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP ||
                          errno == EBADF) && done == 0) {
                inKernel = false;
                continue;
            }
        } else {
            if (buffer.empty()) buffer.resize(kBlock);
            n = ::read(in, buffer.data(), buffer.size());
            if (n > 0 && !writeAll(out, buffer.data(), static_cast<size_t>(n))) return errno ? errno : EIO;
        }
        if (n < 0) {
            if (errno == EINTR) continue;
            return errno ? errno : EIO;
        }
        if (n == 0) return 0;
        done += static_cast<uint64_t>(n);
        if (progress && !progress(done)) return ECANCELED;
        if (expected > 0 && done >= expected) return 0;
    }
}

FileCopyResult failed(int error) { return {FileCopyOutcome::Failed, std::strerror(error)}; }

} // namespace

FileCopyResult copyFileWithProgress(const std::string& from, const std::string& to,
                                    const std::function<bool(uint64_t)>& progress) {
    struct stat st {};
    // Not blocking on open: a FIFO or a device under a song's name must not hang the copy. (The
    // flag means nothing for the regular files that are copied.)
    Fd in(::open(from.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (in.get() < 0) return failed(errno);
    if (::fstat(in.get(), &st) != 0) return failed(errno);
    if (!S_ISREG(st.st_mode)) return failed(S_ISDIR(st.st_mode) ? EISDIR : EINVAL);

    struct stat existing {};
    if (::lstat(to.c_str(), &existing) == 0) {
        // A file of the source's size is its copy. A file of another size under the name is a
        // copy that never became whole (the machine lost power before the file reached the
        // disk): it goes, and the copy is made again.
        if (!S_ISREG(existing.st_mode) || existing.st_size == st.st_size) return {FileCopyOutcome::DestinationExists, {}};
        if (::unlink(to.c_str()) != 0) return failed(errno);
    }

    // The file is made afresh: a leftover of an interrupted copy (or a link planted under the
    // partial name) is removed first, so nothing is ever written through a link.
    const std::string partial = partialPathFor(to);
    constexpr int kCreate = O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW;
    int outFd = ::open(partial.c_str(), kCreate, 0666);
    if (outFd < 0 && errno == EEXIST && ::unlink(partial.c_str()) == 0) outFd = ::open(partial.c_str(), kCreate, 0666);
    Fd out(outFd);
    if (out.get() < 0) return failed(errno);

    int error = transfer(in.get(), out.get(), static_cast<uint64_t>(st.st_size), progress);
    if (out.close() != 0 && error == 0) error = errno;
    if (error == 0) {
        if (auto reason = renamePath(partial, to)) {
            ::unlink(partial.c_str());
            // Someone else made `to` meanwhile: theirs stays, as an existing file always does.
            if (::lstat(to.c_str(), &st) == 0) return {FileCopyOutcome::DestinationExists, {}};
            return {FileCopyOutcome::Failed, *reason};
        }
        return {FileCopyOutcome::Copied, {}};
    }
    ::unlink(partial.c_str());
    if (error == ECANCELED) return {FileCopyOutcome::Cancelled, {}};
    return failed(error);
}

} // namespace velmo::platform
