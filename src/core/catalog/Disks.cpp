#include "catalog/Disks.h"

#include "base/MessageTable.h"
#include "base/UserInterface.h"
#include "catalog/DiskPrompt.h"
#include "catalog/ID3v1.h"
#include "musicdb/MusicDatabase.h"
#include "platform/Drives.h"
#include "util/IntConversion.h"

namespace velmo {

bool DriveTableScanDrives::isCdDrive(char letter) const {
    return table_.kind(letter) == platform::DriveKind::CdRom;
}

std::optional<std::string> DriveTableScanDrives::nativePath(const std::string& catalogPath) const {
    return table_.catalogToNative(catalogPath);
}

std::string GetCDVolume(const platform::DriveTable& table, char letter) {
    return table.volumeLabel(letter).value_or(kNoDisk);
}

std::string TryToFillDescr(const MusicDatabase& db, const std::string& label) {
    const Tree& music = const_cast<MusicDatabase&>(db).musicTree();
    const std::string mark = "/" + label + "/";
    for (size_t i = 0; i < music.topLevelCount(); ++i) {
        const std::string& text = music.topLevel(i)->text();
        if (text.find(mark) == std::string::npos) continue;
        const size_t slash = text.find('/');
        return text.substr(0, slash == 0 ? 0 : slash - 1);
    }
    return label;
}

std::string hardDiskDescription(const MessageTable& messages, char letter) {
    return messages[msgDrive] + " <" + std::string(1, letter) + ">";
}

std::optional<char> LookOrInsertCD(DiskPrompt& prompt, const std::string& diskText) {
    prompt.InsertDisk(splitDiskText(diskText), diskDisplayName(diskText));
    return prompt.foundDrive();
}

size_t ReloadTags(MusicDatabase& db, UserInterface& ui, const MessageTable& messages, DiskPrompt& prompt,
                  const std::vector<TDataRec*>& songs, std::vector<const TDataRec*>* unread) {
    std::set<std::string> DeclinedDisks;
    // True when the song's file was read and its tag taken.
    auto reload = [&](TDataRec* rec) {
        const std::string caption = musicTreePath(rec->MusicNode);
        const size_t backslash = caption.find('\\');
        if (backslash == std::string::npos) return false;
        std::optional<char> letter;
        const size_t lt = caption.find('<');
        if (lt != std::string::npos && lt + 1 < backslash) {
            letter = caption[lt + 1];
        } else {
            const std::string disk = caption.substr(0, backslash);
            if (DeclinedDisks.count(disk)) return false;
            letter = LookOrInsertCD(prompt, disk);
            if (!letter) {
                DeclinedDisks.insert(disk);
                return false;
            }
        }
        auto native = prompt.drives().catalogToNative(std::string(1, *letter) + ":" + caption.substr(backslash));
        TIDTag tag = rec->IDTag();
        db.setDBModified(true);
        if (!native || !ReadTag(*native, tag)) return false;
        rec->SetIDTag(tag);
        return true;
    };
    size_t read = 0;
    for (size_t i = 0; i < songs.size(); ++i) {
        ui.showStatus(" [ " + messages[msgReloadingTags] + " " + std::to_string(i + 1) + " " + messages[msgOf] + " " +
                        std::to_string(songs.size()) + " ]");
        if (reload(songs[i])) ++read;
        else if (unread) unread->push_back(songs[i]);
        ui.processMessages();
    }
    ui.showStatus({});
    db.notifyStatisticsChanged();
    return read;
}

} // namespace velmo
