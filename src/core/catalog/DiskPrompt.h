#pragma once
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/ProfileSettings.h"

namespace velmo {

namespace platform {
class DriveTable;
}
class MessageTable;
class UserInterface;

// A disk's description and label.
struct DiskNameParts {
    std::string description;
    std::string label;
};

// Makes sure a disk is in one of the optical drives, asking the user to insert it and moving
// the trays for them. The copy asks it for every optical disk of its plan, playing and opening
// a song of a CD ask it for that CD. Its result stays for the next request: the drive used last
// is the one whose tray opens next time.
class DiskPrompt {
public:
    struct Context {
        UserInterface& ui;
        const MessageTable& messages;
        // ConfirmSkip and the skip setting decide what Cancel in the prompt means.
        const ConfirmOptions& confirm;
        // Reads the drive table again and returns it (a disk may have changed, a drive been
        // added); the table stays valid until the next call.
        std::function<platform::DriveTable&()> detectDrives;
    };

    explicit DiskPrompt(Context context) : c_(std::move(context)) {}

    // A copy starts: the first prompt opens every tray again.
    void forgetLastDrive() { CurDriveIndex = -1; }

    // Looks for the disk WantedDisk ("Description (LABEL)") in the optical drives, re-detected
    // first; while it is in none, opens the trays (every one on the first prompt of a copy, else
    // the one used last), prompts, closes every tray after OK and looks again. Cancel gives the
    // disk up after the skip question when ConfirmSkip is on, at once with the skip setting "a
    // disk" or "a disk or a file", and otherwise prompts again. Without a person to insert it,
    // the disk is given up after three prompts. Sets DiskFound and CurDriveIndex, or DiskSkipped.
    // `stop`, when given, ends the prompting early (the copy was aborted meanwhile).
    void InsertDisk(const std::string& WantedDisk, const std::function<bool()>& stop = {});
    // The same for a disk whose label and description are known apart (a label may hold the
    // characters of the display name).
    void InsertDisk(const DiskNameParts& disk, const std::string& WantedDisk,
                    const std::function<bool()>& stop = {});

    // Looks for the disk in the drives as they are, re-detected, without prompting or moving
    // a tray; the drive holding it, or nullopt.
    std::optional<char> lookWithoutPrompt(const std::string& label);

    // Reads the drive table again; CDDrives follows.
    void DetectCDDrives();

    // The drive holding the disk of the last InsertDisk, when it was found.
    std::optional<char> foundDrive() const;
    // The drive table as the last InsertDisk (or detectDrives) left it.
    platform::DriveTable& drives();

    bool DiskFound = false;
    bool DiskSkipped = false;
    // Index into CDDrives of the drive the disk was last found in; -1 before the first.
    int CurDriveIndex = -1;
    // The optical drives as last detected, in letter order.
    std::vector<char> CDDrives;

private:
    bool lookForDisk(const std::string& label);

    Context c_;
    platform::DriveTable* table_ = nullptr;
};

// The name a disk is shown by while copying and in the insert prompt: the node text "D /L/" as
// "D (L)".
std::string diskDisplayName(std::string_view diskText);

// The description and the label of a display name "Description (LABEL)".
DiskNameParts splitDiskDisplayName(const std::string& displayName);
// The same from a disk node text "Description /LABEL/": the label is what stands between the
// first and the last "/".
DiskNameParts splitDiskText(std::string_view diskText);

} // namespace velmo
