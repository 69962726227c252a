#include "playlist/CopyEngine.h"

#include "base/MessageTable.h"
#include "base/UserInterface.h"
#include "platform/Clock.h"
#include "platform/Drives.h"
#include "platform/FileIO.h"
#include "playlist/CopyView.h"
#include "settings/ProfileSettings.h"
#include "util/IntConversion.h"

namespace velmo {

namespace {

constexpr double kMB = 1048576.0;
// The dialog's texts change at most this often while a file is copied: often enough to look
// alive, rarely enough that drawing them costs nothing next to the copy.
constexpr int64_t kShowEveryMs = 50;

// The part of a destination name after its disk folder: the song's path on its disk.
std::string pathOnDisk(const std::string& destName) {
    const size_t backslash = destName.find('\\');
    return backslash == std::string::npos ? std::string() : destName.substr(backslash);
}

int letterIndex(char letter) {
    const char upper = letter >= 'a' && letter <= 'z' ? static_cast<char>(letter - 'a' + 'A') : letter;
    return upper >= 'A' && upper <= 'Z' ? upper - 'A' : -1;
}

} // namespace

CopyEngine::CopyEngine(Context context, const CopyPlan& plan, const DestinationFolder& destination, int TotalSongs,
                       double TotalSizeMB)
    : c_(std::move(context)), plan_(plan), destination_(destination) {
    counters_.TotalSongs = TotalSongs;
    counters_.TotalSizeMB = TotalSizeMB;
    counters_.DisksTotal = plan.DisksTotal();
}

void CopyEngine::CopyFiles() {
    running_ = true;
    c_.prompt.DetectCDDrives();
    // Every local drive of the plan gets its flag now, so an abort before its turn leaves the
    // playlist file pointing where its songs really are rather than at copies from an older
    // copy.
    for (const PlannedDisk& disk : plan_.DiskPlan) {
        const int index = letterIndex(disk.driveLetter);
        if (!disk.isCD && index >= 0) c_.CopyFromDrive[static_cast<size_t>(index)] = disk.doCopy;
    }
    for (size_t k = 0; k < plan_.DiskPlan.size() && !aborted_; ++k) copyDisk(plan_.DiskPlan[k], k + 1);
    running_ = false;
}

void CopyEngine::copyDisk(const PlannedDisk& disk, size_t diskNumber) {
    CopyCounters& n = counters_;
    n.CurDisk = static_cast<int>(diskNumber);
    n.WantedDisk = disk.name;
    n.DiskSizeMB = disk.sizeMB;
    n.DiskSongs = disk.songCount;
    n.SongOnDisk = -1;
    n.DiskDoneMB = 0;
    n.HardRoot.clear();

    if (disk.isCD) {
        showProgress(0, true); // the disk asked for is on show while its prompt is up
        c_.prompt.InsertDisk(disk.parts, disk.name, [this] { return aborted_; });
        if (aborted_) return;
        if (c_.prompt.DiskSkipped || !c_.prompt.foundDrive()) {
            SkipDiskRequest = true;
        } else {
            copyLoop(disk, std::string(1, *c_.prompt.foundDrive()) + ":");
        }
    } else {
        n.HardRoot = std::string(1, disk.driveLetter) + ":";
        if (disk.doCopy)
            copyLoop(disk, n.HardRoot);
        else
            SkipDiskRequest = true;
    }
    if (SkipDiskRequest) SkipDisk(disk);
}

void CopyEngine::copyLoop(const PlannedDisk& disk, const std::string& driveRoot) {
    CopyCounters& n = counters_;
    // The drive is looked at once per disk, not once per file.
    const std::optional<std::string> root = c_.prompt.drives().rootPath(driveRoot.front());
    do {
        ++n.SongOnDisk;
        ++n.SongIndex;
        const CopyItem& item = plan_.CopyList[disk.firstItem + static_cast<size_t>(n.SongOnDisk)];
        const std::string onDisk = pathOnDisk(item.DestName);
        std::optional<std::string> native = root ? platform::DriveTable::nativeBelow(*root, onDisk) : std::nullopt;
        // A drive that has gone, or a path out of it: the copy fails with the system's reason.
        n.SourcePath = native ? std::move(*native) : driveRoot + onDisk;
        n.CurSongSize = item.Size;
        CopySong(item);
        n.DiskDoneMB += static_cast<double>(item.Size) / kMB;
        n.TotalDoneMB += static_cast<double>(item.Size) / kMB;
    } while (!SkipDiskRequest && !aborted_ && n.SongOnDisk + 1 < n.DiskSongs);
}

void CopyEngine::SkipDisk(const PlannedDisk& disk) {
    CopyCounters& n = counters_;
    while (n.SongOnDisk + 1 < n.DiskSongs) {
        ++n.SongOnDisk;
        ++n.SongIndex;
        n.CurSongSize = plan_.CopyList[disk.firstItem + static_cast<size_t>(n.SongOnDisk)].Size;
        n.DiskDoneMB += static_cast<double>(n.CurSongSize) / kMB;
        n.TotalDoneMB += static_cast<double>(n.CurSongSize) / kMB;
    }
    SkipDiskRequest = false;
    c_.prompt.DiskSkipped = false;
}

void CopyEngine::CopySong(const CopyItem& item) {
    SkipFileRequest = false;
    const std::string destination = destination_.nativePath(item.DestName);
    showProgress(0);
    const platform::FileCopyResult result =
        c_.copyFile(counters_.SourcePath, destination, [this](uint64_t bytes) { return UpDateCopyForm(bytes); });
    c_.view.setSkipTrackEnabled(true);
    c_.ui.processMessages(UserInterface::Pump::WithUserInput);

    if (SkipFileRequest) {
        // A skipped file does not stay, not even when it was complete before the skip was seen.
        platform::removeFile(destination);
        return;
    }
    switch (result.outcome) {
    case platform::FileCopyOutcome::Copied: ++copied_; break;
    case platform::FileCopyOutcome::Failed: failures_.push_back({counters_.SourcePath, result.reason}); break;
    case platform::FileCopyOutcome::DestinationExists:
    case platform::FileCopyOutcome::Cancelled: break;
    }
}

void CopyEngine::showProgress(uint64_t bytesDone, bool always) {
    const int64_t now = c_.clock.nowMs();
    if (!always && shownOnce_ && now - lastShownMs_ < kShowEveryMs) return;
    c_.view.showCopyProgress(counters_, bytesDone);
    lastShownMs_ = now;
    shownOnce_ = true;
}

bool CopyEngine::UpDateCopyForm(uint64_t bytesDone) {
    showProgress(bytesDone);
    c_.ui.processMessages(UserInterface::Pump::WithUserInput);
    return !SkipFileRequest;
}

void CopyEngine::ButtonSkipTrackClick() {
    if (!running_) return;
    const ConfirmOptions& o = c_.settings.ConfirmOpts;
    // Only the items the setting names need a confirmation; skipping any other item is done
    // at once, as it is without ConfirmSkip.
    if (o[ConfirmSkip] && (o[AutoSkipFile] || o[AutoSkipDiskAndFile]))
        SkipFileRequest = c_.ui.askYesNo(c_.messages[msgConfirmation22],
                                         replaceAll(c_.messages[msgDontCopyFileQuestion], "%name", counters_.SourcePath),
                                         false);
    else
        SkipFileRequest = true;
}

void CopyEngine::ButtonSkipDiskClick() {
    if (!running_) return;
    const ConfirmOptions& o = c_.settings.ConfirmOpts;
    bool skip = true;
    if (o[ConfirmSkip] && (o[AutoSkipDisk] || o[AutoSkipDiskAndFile]))
        skip = c_.ui.askYesNo(c_.messages[msgConfirmation22], c_.messages[msgSkipDiskQuestion], false);
    SkipDiskRequest = skip;
    SkipFileRequest = skip;
}

void CopyEngine::ButtonAbortClick() {
    if (!running_ || aborted_) return;
    if (c_.ui.askYesNo(c_.messages[msgConfirmation22], c_.messages[msgAbortQuestion], false)) abortNow();
}

void CopyEngine::abortNow() {
    if (aborted_) return;
    aborted_ = true;
    SkipFileRequest = true;
    c_.view.setAbortEnabled(false);
}

} // namespace velmo
