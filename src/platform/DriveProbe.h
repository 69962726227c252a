#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What the drive table asks of the machine: mounts, filesystem labels and optical trays.
namespace velmo::platform {

// One line of /proc/self/mountinfo.
struct MountEntry {
    unsigned major = 0;
    unsigned minor = 0;
    std::string root;       // the folder of the filesystem that is mounted ("/" for all of it)
    std::string mountPoint; // where it is mounted, escapes (\040 for a blank) decoded
    std::string fsType;
    std::string source;     // "/dev/sr0", or a name such as "overlay" or "tmpfs"
};

// Parses the text of /proc/self/mountinfo; lines that do not have the expected fields are skipped.
std::vector<MountEntry> parseMountInfo(std::string_view text);

// The mounts of this process; empty when /proc/self/mountinfo cannot be read.
std::vector<MountEntry> currentMounts();

// Where the filesystem of device major:minor is mounted as a whole (root "/"), the first such
// mount in `mounts`; nullopt when it is not mounted that way.
std::optional<std::string> mountPointOf(const std::vector<MountEntry>& mounts, unsigned major, unsigned minor);

// Where the block device `device` (such as "/dev/sr0") is mounted; nullopt when the device does
// not exist, is not a block device or is not mounted.
std::optional<std::string> mountPointOfDevice(const std::string& device);

// The label of the filesystem on `deviceOrImage` (a block device or an image file). Empty when
// the filesystem has no label; nullopt when it cannot be opened (no medium, no permission) or
// holds no filesystem that libblkid recognises.
std::optional<std::string> readFilesystemLabel(const std::string& deviceOrImage);

// The label of the filesystem that holds `folder`; empty when it has none or it cannot be read
// (a missing folder, a filesystem without a device, a device we may not open).
std::string labelOfFolderFilesystem(const std::string& folder);

// Opens (`openTray` true) or closes the tray of optical drive `device`; false when the device
// cannot be opened or refuses.
bool moveTray(const std::string& device, bool openTray);

} // namespace velmo::platform
