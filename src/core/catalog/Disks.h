#pragma once
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "catalog/FolderScan.h"

namespace velmo {

namespace platform {
class DriveTable;
}
struct TDataRec;
class MusicDatabase;
class MessageTable;
class UserInterface;

// The drive table as the folder scan sees it.
class DriveTableScanDrives : public ScanDrives {
public:
    explicit DriveTableScanDrives(const platform::DriveTable& table) : table_(table) {}
    bool isCdDrive(char letter) const override;
    std::optional<std::string> nativePath(const std::string& catalogPath) const override;

private:
    const platform::DriveTable& table_;
};

// The label of the disk in a drive (letter), or "/no disk/" when none can be read.
std::string GetCDVolume(const platform::DriveTable& table, char letter);
inline constexpr const char* kNoDisk = "/no disk/";

// The description a disk of this label had before: the text before " /" of the first disk
// node whose text holds "/label/"; the label itself when there is none.
std::string TryToFillDescr(const MusicDatabase& db, const std::string& label);

// The description of a hard disk: "Drive <C>" (message 38 in the current language).
std::string hardDiskDescription(const MessageTable& messages, char letter);

class DiskPrompt;

// The drive that holds the CD of a disk text ("Summer Mix /SUMMER01/"): an optical drive with
// that label, else the user is prompted to insert it until it is found or they give it up.
std::optional<char> LookOrInsertCD(DiskPrompt& prompt, const std::string& diskText);

// Reads the tags of the songs again from their files ("Reload tag"). A CD the user gives up is
// asked for once; its songs keep their tags. Returns the songs whose file was read; `unread`,
// when given, receives the others in their order.
size_t ReloadTags(MusicDatabase& db, UserInterface& ui, const MessageTable& messages, DiskPrompt& prompt,
                  const std::vector<TDataRec*>& songs, std::vector<const TDataRec*>* unread = nullptr);

} // namespace velmo
