#pragma once
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Drive letters of the catalogue and the places on this machine they stand for.
//
// The table lives in "Drives.ini" in the program folder, one line per drive:
//     LETTER=KIND;PATH[;LABEL]
// KIND is "fixed", "removable" or "cdrom".
// - fixed / removable: PATH is the folder that is the drive's root. Its label is LABEL when the
//   line has a third field (even an empty one), else the label of the filesystem holding PATH.
// - cdrom with PATH below /dev/: a real optical drive; the disk's files are where the device is
//   mounted, the label is the medium's, the tray moves with the CD-ROM ioctls.
// - cdrom with any other PATH: a simulated optical drive. A disk is in it while the folder
//   exists and holds ".volume-label", whose first line is the disk's label; the disk's files
//   are the folder's contents. Moving its tray appends "EjectCD X:" / "CloseCD X:" to
//   "Drives.log" in the program folder.
// Lines starting with ";" or "#" and empty lines are comments; a line that cannot be read is
// skipped, and of two lines for one letter the first counts.
namespace velmo::platform {

enum class DriveKind { None, Fixed, Removable, CdRom };

struct DriveEntry {
    char letter = 0; // 'A'..'Z'
    DriveKind kind = DriveKind::None;
    std::string path;                 // absolute, without a trailing "/" (except "/" itself)
    std::optional<std::string> label; // the label given in the file (fixed and removable drives)

    bool operator==(const DriveEntry&) const = default;
};

// The file in a simulated disk folder that holds the disk's label.
inline constexpr std::string_view kVolumeLabelFile = ".volume-label";

// True for files that belong to the drive machinery rather than to the disk, which a listing of
// a disk's folder must leave out.
bool isHiddenDriveFile(std::string_view name);

// A label as a disk caption can hold it: one that is not UTF-8 is read as Windows-1252; ":"
// (the field separator of database lines), "\" (the path separator of captions) and control
// characters (NUL among them) become "_".
std::string storableLabel(std::string label);

class DriveTable {
public:
    DriveTable() = default;
    // A table of the given entries (later entries for a letter already given are dropped);
    // `appDir` is where the tray log of simulated drives goes.
    DriveTable(const std::vector<DriveEntry>& entries, std::string appDir);

    // Reads AppDir/Drives.ini. When the file is missing, the default table (C: is "/", then one
    // optical drive per /dev/srN) is used and written there so the user can edit it; a failure
    // to write it is ignored.
    static DriveTable load(const std::string& appDir);
    // As above, with the optical devices looked for in `deviceDir` instead of /dev.
    static DriveTable load(const std::string& appDir, const std::string& deviceDir);

    // The entries of a Drives.ini text (CR LF or LF line ends), in file order.
    static std::vector<DriveEntry> parse(std::string_view text);
    // Drives.ini text for `entries`, one CR LF-terminated line each.
    static std::string format(const std::vector<DriveEntry>& entries);
    // deviceDir + "/srN" for each existing N from 0 on (at most as many as there are letters
    // after C:), in order.
    static std::vector<std::string> findOpticalDevices(const std::string& deviceDir = "/dev");
    // The default Drives.ini: "C=fixed;/" and "D=cdrom;<device>", "E=cdrom;…" for the devices.
    static std::string defaultDrivesIniText(const std::vector<std::string>& opticalDevices);

    // The drives of the table in letter order.
    std::vector<DriveEntry> entries() const;
    DriveKind kind(char letter) const;
    // Optical drives, then the other drives, among the letters B to Z in order.
    std::vector<char> cdDrives() const;
    std::vector<char> hardDrives() const;

    // The volume label of the disk in the drive, made storable (storableLabel) whichever source
    // gave it (Drives.ini, a label file, the file system); nullopt when there is no disk (no
    // medium, not mounted, a missing folder) or the letter is not a drive.
    std::optional<std::string> volumeLabel(char letter) const;
    // The label as its source gives it, before it was made storable.
    std::optional<std::string> rawVolumeLabel(char letter) const;
    // The native folder holding the drive's files; nullopt when there is no disk or no drive.
    std::optional<std::string> rootPath(char letter) const;

    // Open and close the tray of an optical drive; false when that failed or the letter is not
    // an optical drive.
    bool ejectTray(char letter);
    bool closeTray(char letter);

    // "E:\Pop\a.mp3", "E:\" or "E:" as a native path below the drive's root, each name in its
    // bytes on the disk (textToFileName); nullopt when the letter is no drive, there is no
    // disk, or the path climbs out with "..".
    std::optional<std::string> catalogToNative(const std::string& catalogPath) const;
    // A path on a drive ("\Pop\a.mp3") below the drive's native root, as catalogToNative
    // places it; for many files of one drive without looking at the drive each time. nullopt
    // when the path climbs out with "..".
    static std::optional<std::string> nativeBelow(const std::string& root, std::string_view pathOnDrive);
    // An absolute native path as "X:\a\b" on the drive whose root is the longest whole-component
    // prefix of it ("X:\" for the root itself), its names as text (fileNameToText); nullopt
    // when no drive's root holds it.
    std::optional<std::string> nativeToCatalog(const std::string& nativePath) const;

private:
    const DriveEntry* find(char letter) const;
    bool trayCommand(char letter, bool openTray);

    std::array<std::optional<DriveEntry>, 26> drives_;
    std::string appDir_;
};

} // namespace velmo::platform
