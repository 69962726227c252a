#include "platform/DriveProbe.h"

#include "platform/FileIO.h"

#include <blkid.h>
#include <cerrno>
#include <cstdlib>
#include <charconv>
#include <fcntl.h>
#include <linux/cdrom.h>
#include <memory>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace velmo::platform {

namespace {

std::vector<std::string_view> splitFields(std::string_view line) {
    std::vector<std::string_view> fields;
    size_t pos = 0;
    while (pos < line.size()) {
        size_t end = line.find(' ', pos);
        if (end == std::string_view::npos) end = line.size();
        if (end > pos) fields.push_back(line.substr(pos, end - pos));
        pos = end + 1;
    }
    return fields;
}

// The kernel writes blanks, tabs, new lines and backslashes in paths as \ooo octal escapes.
std::string decodeEscapes(std::string_view field) {
    std::string out;
    out.reserve(field.size());
    for (size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            bool octal = true;
            int value = 0;
            for (size_t k = 1; k <= 3; ++k) {
                char c = field[i + k];
                if (c < '0' || c > '7') {
                    octal = false;
                    break;
                }
                value = value * 8 + (c - '0');
            }
            if (octal && value < 256) {
                out.push_back(static_cast<char>(value));
                i += 3;
                continue;
            }
        }
        out.push_back(field[i]);
    }
    return out;
}

bool parseDeviceNumber(std::string_view text, unsigned& major, unsigned& minor) {
    size_t colon = text.find(':');
    if (colon == std::string_view::npos) return false;
    const char* begin = text.data();
    const char* end = text.data() + text.size();
    auto [majorEnd, majorErr] = std::from_chars(begin, begin + colon, major);
    if (majorErr != std::errc() || majorEnd != begin + colon) return false;
    auto [minorEnd, minorErr] = std::from_chars(begin + colon + 1, end, minor);
    return minorErr == std::errc() && minorEnd == end && colon + 1 < text.size();
}

struct ProbeDeleter {
    void operator()(blkid_struct_probe* probe) const { blkid_free_probe(probe); }
};

} // namespace

std::vector<MountEntry> parseMountInfo(std::string_view text) {
    std::vector<MountEntry> mounts;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::vector<std::string_view> fields = splitFields(text.substr(pos, end - pos));
        pos = end + 1;

        // id parent major:minor root mount-point options [optional fields...] - type source super-options
        size_t separator = 6;
        while (separator < fields.size() && fields[separator] != "-") ++separator;
        if (separator + 2 >= fields.size()) continue;
        MountEntry entry;
        if (!parseDeviceNumber(fields[2], entry.major, entry.minor)) continue;
        entry.root = decodeEscapes(fields[3]);
        entry.mountPoint = decodeEscapes(fields[4]);
        entry.fsType = decodeEscapes(fields[separator + 1]);
        entry.source = decodeEscapes(fields[separator + 2]);
        mounts.push_back(std::move(entry));
    }
    return mounts;
}

std::vector<MountEntry> currentMounts() {
    std::optional<std::string> text = readWholeFile("/proc/self/mountinfo");
    return text ? parseMountInfo(*text) : std::vector<MountEntry>{};
}

std::optional<std::string> mountPointOf(const std::vector<MountEntry>& mounts, unsigned major, unsigned minor) {
    for (const MountEntry& mount : mounts)
        if (mount.major == major && mount.minor == minor && mount.root == "/") return mount.mountPoint;
    return std::nullopt;
}

std::optional<std::string> mountPointOfDevice(const std::string& device) {
    struct stat st {};
    if (stat(device.c_str(), &st) != 0 || !S_ISBLK(st.st_mode)) return std::nullopt;
    return mountPointOf(currentMounts(), major(st.st_rdev), minor(st.st_rdev));
}

std::optional<std::string> readFilesystemLabel(const std::string& deviceOrImage) {
    // Opened here rather than by libblkid, so that a FIFO named as a disk image cannot make it
    // wait for a writer and nothing but an image file or a block device is probed.
    const int fd = open(deviceOrImage.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    struct FdCloser {
        int fd;
        ~FdCloser() { close(fd); }
    } closer{fd};
    struct stat st {};
    if (fstat(fd, &st) != 0 || !(S_ISREG(st.st_mode) || S_ISBLK(st.st_mode))) return std::nullopt;
    std::unique_ptr<blkid_struct_probe, ProbeDeleter> probe(blkid_new_probe());
    if (!probe || blkid_probe_set_device(probe.get(), fd, 0, 0) != 0) return std::nullopt;
    blkid_probe_enable_superblocks(probe.get(), 1);
    blkid_probe_set_superblocks_flags(probe.get(), BLKID_SUBLKS_LABEL | BLKID_SUBLKS_TYPE);
    if (blkid_do_safeprobe(probe.get()) != 0) return std::nullopt;
    const char* label = nullptr;
    size_t length = 0;
    if (blkid_probe_lookup_value(probe.get(), "LABEL", &label, &length) != 0 || !label) return std::string();
    // The length counts the terminating zero.
    std::string text(label, length);
    while (!text.empty() && text.back() == '\0') text.pop_back();
    return text;
}

std::string labelOfFolderFilesystem(const std::string& folder) {
    struct stat st {};
    if (stat(folder.c_str(), &st) != 0) return {};
    std::string device;
    for (const MountEntry& mount : currentMounts()) {
        if (mount.major == major(st.st_dev) && mount.minor == minor(st.st_dev) && !mount.source.empty() &&
            mount.source.front() == '/') {
            device = mount.source;
            break;
        }
    }
    if (device.empty()) {
        // Not listed with a device path (or /proc is missing): let libblkid look the number up.
        std::unique_ptr<char, decltype(&free)> name(blkid_devno_to_devname(st.st_dev), &free);
        if (name) device = name.get();
    }
    if (device.empty()) return {};
    return readFilesystemLabel(device).value_or(std::string());
}

bool moveTray(const std::string& device, bool openTray) {
    int fd = open(device.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    int result = ioctl(fd, openTray ? CDROMEJECT : CDROMCLOSETRAY, 0);
    close(fd);
    return result == 0;
}

} // namespace velmo::platform
