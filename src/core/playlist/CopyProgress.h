#pragma once
#include <cstdint>
#include <string>

namespace velmo {

class MessageTable;

// Where a copy stands: the disk and the song being copied and how much of the disk and of the
// whole copy is done (copied or skipped).
struct CopyCounters {
    int CurDisk = 0;     // from 1
    int DisksTotal = 0;
    int DiskSongs = 0;   // songs of the current disk
    int SongOnDisk = -1; // index within the disk, from 0; -1 before the first
    int SongIndex = 0;   // within the whole copy, from 1
    int TotalSongs = 0;
    int64_t CurSongSize = 0; // bytes
    double DiskSizeMB = 0;
    double TotalSizeMB = 0;
    double DiskDoneMB = 0;
    double TotalDoneMB = 0;
    std::string WantedDisk; // display name of the disk being copied or looked for
    std::string SourcePath; // the file being copied, a path on this machine
    std::string HardRoot;   // "C:" while a local drive is copied
};

// The copy dialog's texts and bars for a copy that has `bytesDone` of its current file written.
// The words come from the message table; fractions that would divide by zero (an empty file, a
// disk of 0 MB) show as complete.
struct CopyProgressTexts {
    std::string PanelCurDisk;
    std::string PanelNowCopying;
    std::string PanelDiskProgressSongs;   // "Song 3 of 12"
    std::string PanelSongProgress;        // "1234 of 5678 KB"
    std::string PanelSongProgressPercent; // "45 %"
    std::string PanelDiskProgressSize;    // "12 of 45.67 MB"
    std::string PanelDiskProgressPercent; // "26.3 %"
    std::string PanelGenProgressSongs;
    std::string PanelGenProgressSize;
    std::string PanelGenProgressDisks;    // "Disk 2 of 3"
    std::string PanelGenProgressPercent;
    static constexpr int kBarMaximum = 500;
    int ProgressBarSong = 0;
    int ProgressBarDisk = 0;
    int ProgressBarGengeral = 0;
};
CopyProgressTexts UpDateCopyForm(const CopyCounters& counters, uint64_t bytesDone, const MessageTable& messages);

// The share of the whole copy done, 0 to 1 (1 for a copy of 0 MB).
double copyFractionDone(const CopyCounters& counters, uint64_t bytesDone);

} // namespace velmo
