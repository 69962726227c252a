#include "platform/DriveProbe.h"

#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace velmo::platform {
namespace {

using test::TempDir;
using test::writeFile;

// A minimal ISO 9660 image: sixteen empty system sectors, the primary volume descriptor with the
// volume identifier padded with blanks, and the set terminator.
std::string isoImage(const std::string& volumeId) {
    constexpr size_t sector = 2048;
    std::string image(20 * sector, '\0');
    auto descriptor = [&](size_t index, unsigned char type) {
        size_t at = index * sector;
        image[at] = static_cast<char>(type);
        image.replace(at + 1, 5, "CD001");
        image[at + 6] = 1;
        return at;
    };
    size_t primary = descriptor(16, 1);
    image.replace(primary + 8, 32, std::string(32, ' '));
    image.replace(primary + 40, 32, (volumeId + std::string(32, ' ')).substr(0, 32));
    descriptor(17, 255);
    return image;
}

TEST(MountInfo, ReadsDeviceRootMountPointTypeAndSource) {
    const std::string text =
        "22 1 8:2 / / rw,relatime shared:1 - ext4 /dev/sda2 rw\n"
        "35 22 11:0 / /media/user/My\\040Disc ro,nosuid shared:20 master:3 - iso9660 /dev/sr0 ro\n"
        "40 22 8:2 /srv/music /mnt/bind rw - ext4 /dev/sda2 rw\n"
        "41 22 0:45 / /tmp rw - tmpfs tmpfs rw\n";
    std::vector<MountEntry> mounts = parseMountInfo(text);
    ASSERT_EQ(mounts.size(), 4u);

    EXPECT_EQ(mounts[0].major, 8u);
    EXPECT_EQ(mounts[0].minor, 2u);
    EXPECT_EQ(mounts[0].root, "/");
    EXPECT_EQ(mounts[0].mountPoint, "/");
    EXPECT_EQ(mounts[0].fsType, "ext4");
    EXPECT_EQ(mounts[0].source, "/dev/sda2");

    // Several optional fields before the separator, and a blank written as \040.
    EXPECT_EQ(mounts[1].major, 11u);
    EXPECT_EQ(mounts[1].minor, 0u);
    EXPECT_EQ(mounts[1].mountPoint, "/media/user/My Disc");
    EXPECT_EQ(mounts[1].fsType, "iso9660");
    EXPECT_EQ(mounts[1].source, "/dev/sr0");

    EXPECT_EQ(mounts[2].root, "/srv/music");
    EXPECT_EQ(mounts[3].source, "tmpfs");
}

TEST(MountInfo, SkipsLinesWithoutTheExpectedFields) {
    const std::string text =
        "garbage\n"
        "\n"
        "23 1 8:x / /a rw - ext4 /dev/sda1 rw\n"        // device number not a number
        "24 1 8:3 / /b rw shared:1 ext4 /dev/sda3 rw\n" // no separator
        "25 1 8:4 / /c rw -\n"                          // nothing after the separator
        "26 1 8:5 / /d\\134e\\04 rw - ext4 /dev/sda5 rw";  // no final line end; \134 is a backslash
    std::vector<MountEntry> mounts = parseMountInfo(text);
    ASSERT_EQ(mounts.size(), 1u);
    EXPECT_EQ(mounts[0].minor, 5u);
    EXPECT_EQ(mounts[0].mountPoint, "/d\\e\\04"); // an incomplete escape stays as it is
}

TEST(MountInfo, MountPointOfAWholeFilesystemOnly) {
    std::vector<MountEntry> mounts = parseMountInfo(
        "40 22 11:0 /sub /mnt/bind ro - iso9660 /dev/sr0 ro\n"
        "41 22 11:0 / /media/cd ro - iso9660 /dev/sr0 ro\n"
        "42 22 11:0 / /media/again ro - iso9660 /dev/sr0 ro\n");
    EXPECT_EQ(mountPointOf(mounts, 11, 0), "/media/cd");
    EXPECT_EQ(mountPointOf(mounts, 11, 1), std::nullopt);
    EXPECT_EQ(mountPointOf({}, 11, 0), std::nullopt);
}

TEST(MountInfo, ThisProcessSeesTheRootMount) {
    std::vector<MountEntry> mounts = currentMounts();
    bool root = false;
    for (const MountEntry& mount : mounts) root = root || mount.mountPoint == "/";
    EXPECT_TRUE(root);
}

TEST(FilesystemLabel, ReadFromAnImageFile) {
    TempDir dir;
    writeFile(dir.file("labelled.iso"), isoImage("VELMO DISK 7"));
    writeFile(dir.file("blank.iso"), isoImage(""));
    writeFile(dir.file("zeros.img"), std::string(64 * 1024, '\0'));

    EXPECT_EQ(readFilesystemLabel(dir.file("labelled.iso")), "VELMO DISK 7");
    // A filesystem without a label is a disk with an empty label, not a missing disk.
    EXPECT_EQ(readFilesystemLabel(dir.file("blank.iso")), std::string());
    EXPECT_EQ(readFilesystemLabel(dir.file("zeros.img")), std::nullopt);
    EXPECT_EQ(readFilesystemLabel(dir.file("missing.iso")), std::nullopt);
    test::HangGuard guard(30);
    ASSERT_EQ(mkfifo(dir.file("fifo.iso").c_str(), 0600), 0);
    EXPECT_EQ(readFilesystemLabel(dir.file("fifo.iso")), std::nullopt);
}

TEST(FilesystemLabel, FailuresGiveAnEmptyFolderLabel) {
    TempDir dir;
    EXPECT_EQ(labelOfFolderFilesystem(dir.file("no-such-folder")), "");
    EXPECT_EQ(labelOfFolderFilesystem(""), "");
}

TEST(OpticalDevice, FilesThatAreNoDrivesAreRefused) {
    TempDir dir;
    writeFile(dir.file("sr0"), "not a device");
    EXPECT_EQ(mountPointOfDevice(dir.file("sr0")), std::nullopt);
    EXPECT_EQ(mountPointOfDevice(dir.file("sr1")), std::nullopt);
    EXPECT_FALSE(moveTray(dir.file("sr0"), true));
    EXPECT_FALSE(moveTray(dir.file("sr0"), false));
    EXPECT_FALSE(moveTray(dir.file("sr1"), true));
}

} // namespace
} // namespace velmo::platform
