#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "catalog/DiskPrompt.h"
#include "platform/FileCopy.h"
#include "playlist/CopyPlan.h"
#include "playlist/CopyProgress.h"
#include "playlist/DestinationFolder.h"
#include "playlist/ResultPlaylist.h"

namespace velmo {

namespace platform {
class Clock;
}
class CopyView;
class MessageTable;
class UserInterface;
struct ProfileSettings;

// A file the copy could not copy, with the system's reason.
struct CopyFailure {
    std::string source;
    std::string reason;
};

// Carries out a copy plan: disk by disk, asking for each optical disk, copying the songs into
// the destination with the progress shown, and letting the user skip a file, the rest of a disk
// or abort. Runs on the caller's thread; the window stays alive through the user interface's
// message pump, which the copy runs while a file is copied and after each file, and the copy
// dialog's buttons call the handlers below from inside that pump.
class CopyEngine {
public:
    using FileCopier = std::function<platform::FileCopyResult(const std::string& from, const std::string& to,
                                                              const std::function<bool(uint64_t)>& progress)>;
    struct Context {
        UserInterface& ui;
        const MessageTable& messages;
        const ProfileSettings& settings;
        platform::Clock& clock;
        DiskPrompt& prompt;
        CopyView& view;
        // Per drive letter: whether the copy copied that local drive's songs; the copy sets
        // the flag of every local drive it reaches and leaves the others.
        DriveFlags& CopyFromDrive;
        FileCopier copyFile = platform::copyFileWithProgress;
    };

    // TotalSongs and TotalSizeMB are the playlist's count and size when the copy starts.
    CopyEngine(Context context, const CopyPlan& plan, const DestinationFolder& destination, int TotalSongs,
               double TotalSizeMB);

    // The whole plan; returns when every disk is done or the copy was aborted.
    void CopyFiles();

    // The copy dialog's buttons.
    void ButtonSkipTrackClick();
    void ButtonSkipDiskClick();
    // Asks whether to abort (whatever ConfirmSkip says); Yes stops the copy after dropping the
    // file being copied.
    void ButtonAbortClick();
    // As Abort answered Yes, without the question (the program is being interrupted).
    void abortNow();

    bool aborted() const { return aborted_; }
    bool running() const { return running_; }
    const CopyCounters& counters() const { return counters_; }
    // Files that could not be copied, in copy order.
    const std::vector<CopyFailure>& failures() const { return failures_; }
    // Files copied by this copy (not counting those already in the destination).
    int copiedFiles() const { return copied_; }

private:
    void copyDisk(const PlannedDisk& disk, size_t diskNumber);
    void copyLoop(const PlannedDisk& disk, const std::string& sourceRoot);
    void SkipDisk(const PlannedDisk& disk);
    void CopySong(const CopyItem& item);
    // The platform copy's progress callback: shows the progress now and then and lets the
    // window answer clicks; false when the file is to be dropped.
    bool UpDateCopyForm(uint64_t bytesDone);
    // Shows where the copy stands unless that was done less than a moment ago.
    void showProgress(uint64_t bytesDone, bool always = false);
    void pump();
    void finishSong(const CopyItem& item);

    Context c_;
    const CopyPlan& plan_;
    const DestinationFolder& destination_;
    CopyCounters counters_;
    bool SkipDiskRequest = false;
    bool SkipFileRequest = false;
    bool aborted_ = false;
    bool running_ = false;
    std::vector<CopyFailure> failures_;
    int copied_ = 0;
    int64_t lastShownMs_ = 0;
    bool shownOnce_ = false;
};

} // namespace velmo
