#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace velmo::platform {

// A folder held open while a scan works in it: its entries come with the type the listing
// gives, and whatever is asked about an entry is asked relative to the folder, so no path is
// resolved from the root again and no entry costs a call the scan does not need.
class OpenFolder {
public:
    enum class Kind : uint8_t { File, Folder, Link, Other };
    struct Entry {
        std::string name;
        Kind kind = Kind::Other;
    };
    // What an entry is, links followed or not (as asked).
    struct Status {
        Kind kind = Kind::Other;
        int64_t size = 0;
    };
    // A regular file opened for its last bytes.
    struct Tail {
        int64_t size = 0;
        bool read = false; // the file was at least as long as the tail and the tail was read
    };

    // Opens a folder, following links; nullopt with errno saying why.
    static std::optional<OpenFolder> open(const std::string& path);
    // Opens the folder `name` of this one, following a link.
    std::optional<OpenFolder> openSub(const std::string& name) const;

    OpenFolder(OpenFolder&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    OpenFolder& operator=(OpenFolder&& other) noexcept;
    OpenFolder(const OpenFolder&) = delete;
    OpenFolder& operator=(const OpenFolder&) = delete;
    ~OpenFolder();

    // The folder's device and inode, to notice a link that leads back to it; nullopt with errno.
    std::optional<std::pair<uint64_t, uint64_t>> identity() const;
    // Every entry, "." and ".." left out, in the order of the file system; read once (a second
    // call continues where the first ended, with nothing left). An entry of a file
    // system that gives no type is asked for it (a link stays a link); one that vanished
    // meanwhile is left out. nullopt with errno when the folder cannot be read.
    std::optional<std::vector<Entry>> list() const;
    // What `name` is; nullopt (errno) when it is gone or, followed, leads nowhere.
    std::optional<Status> status(const std::string& name, bool followLink) const;
    // Opens `name` without waiting (a FIFO cannot block) and, when it is a regular file, reads
    // its last `length` bytes into `buffer`. A link is opened only with `followLink`. nullopt
    // (errno) when it cannot be opened or is no regular file.
    std::optional<Tail> readTail(const std::string& name, bool followLink, char* buffer, size_t length) const;

private:
    explicit OpenFolder(int fd) : fd_(fd) {}
    int fd_ = -1;
};

} // namespace velmo::platform
