#include "catalog/DiskPrompt.h"

#include "base/MessageTable.h"
#include "base/UserInterface.h"
#include "catalog/Disks.h"
#include "platform/Drives.h"
#include "util/IntConversion.h"

namespace velmo {

std::string diskDisplayName(std::string_view diskText) {
    std::string name(diskText);
    if (!name.empty()) name.back() = ')';
    for (char& c : name)
        if (c == '/') c = '(';
    return name;
}

DiskNameParts splitDiskDisplayName(const std::string& displayName) {
    DiskNameParts parts;
    const size_t open = displayName.find('(');
    if (open == std::string::npos) return {displayName, {}};
    parts.description = displayName.substr(0, open == 0 ? 0 : open - 1);
    const std::string rest = displayName.substr(open + 1);
    parts.label = rest.empty() ? rest : rest.substr(0, rest.size() - 1);
    return parts;
}

DiskNameParts splitDiskText(std::string_view diskText) {
    const size_t first = diskText.find('/');
    const size_t last = diskText.rfind('/');
    if (first == std::string_view::npos || last == first) return {std::string(diskText), {}};
    return {std::string(diskText.substr(0, first == 0 ? 0 : first - 1)),
            std::string(diskText.substr(first + 1, last - first - 1))};
}

void DiskPrompt::DetectCDDrives() {
    table_ = &c_.detectDrives();
    CDDrives = table_->cdDrives();
    // The drives may have changed under the index; an index that no longer names a drive
    // would open a tray that is not there.
    if (CurDriveIndex >= static_cast<int>(CDDrives.size())) CurDriveIndex = -1;
}

platform::DriveTable& DiskPrompt::drives() {
    if (!table_) DetectCDDrives();
    return *table_;
}

std::optional<char> DiskPrompt::foundDrive() const {
    if (!DiskFound || CurDriveIndex < 0 || CurDriveIndex >= static_cast<int>(CDDrives.size())) return std::nullopt;
    return CDDrives[static_cast<size_t>(CurDriveIndex)];
}

bool DiskPrompt::lookForDisk(const std::string& label) {
    c_.ui.processMessages(UserInterface::Pump::WithUserInput);
    for (size_t i = 0; i < CDDrives.size(); ++i) {
        if (GetCDVolume(*table_, CDDrives[i]) == label) {
            CurDriveIndex = static_cast<int>(i);
            return true;
        }
    }
    return false;
}

std::optional<char> DiskPrompt::lookWithoutPrompt(const std::string& label) {
    DetectCDDrives();
    for (char letter : CDDrives)
        if (GetCDVolume(*table_, letter) == label) return letter;
    return std::nullopt;
}

void DiskPrompt::InsertDisk(const std::string& WantedDisk, const std::function<bool()>& stop) {
    InsertDisk(splitDiskDisplayName(WantedDisk), WantedDisk, stop);
}

void DiskPrompt::InsertDisk(const DiskNameParts& disk, const std::string& WantedDisk, const std::function<bool()>& stop) {
    DiskFound = false;
    DiskSkipped = false;
    DetectCDDrives();
    DiskFound = lookForDisk(disk.label);

    const UserInterface::InsertDiskPrompt prompt{
        c_.messages[msgCDInsertion],
        replaceAll(c_.messages[msgInsertCDQuestion], "%name", disk.label + " (\"" + disk.description + "\")"),
        disk.label, disk.description};
    // Nobody at the program changes the drives between two prompts unless an inserting program
    // does; give the disk up rather than prompt for ever.
    constexpr int kPromptsWithoutPerson = 3;
    int prompts = 0;
    while (!DiskFound && !DiskSkipped && !(stop && stop())) {
        if (c_.ui.answersWithoutPerson() && prompts == kPromptsWithoutPerson) {
            c_.ui.showNotice(c_.messages[msgCDInsertion], "The disk " + WantedDisk + " was not inserted after " +
                                                               std::to_string(kPromptsWithoutPerson) +
                                                               " prompts; it is skipped.");
            DiskSkipped = true;
            break;
        }
        ++prompts;
        if (CurDriveIndex < 0) {
            for (char letter : CDDrives) table_->ejectTray(letter);
        } else {
            table_->ejectTray(CDDrives[static_cast<size_t>(CurDriveIndex)]);
        }
        c_.ui.processMessages(UserInterface::Pump::WithUserInput);

        if (c_.ui.askInsertDisk(prompt)) {
            for (char letter : CDDrives) table_->closeTray(letter);
            DiskFound = lookForDisk(disk.label);
        } else if (c_.confirm[ConfirmSkip]) {
            DiskSkipped = c_.ui.askYesNo(c_.messages[msgConfirmation22], c_.messages[msgSkipDiskQuestion], false);
        } else {
            DiskSkipped = c_.confirm[AutoSkipDisk] || c_.confirm[AutoSkipDiskAndFile];
        }
    }
}

} // namespace velmo
