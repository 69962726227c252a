#include "playlist/CopyProgress.h"

#include <cmath>

#include "base/MessageTable.h"
#include "util/FloatText.h"

namespace velmo {

namespace {

constexpr double kMB = 1048576.0;

double rnd(double x) { return roundHalfEven(x, 0); }

std::string whole(double x) { return floatToText(rnd(x)); }

// done / total, with nothing to do counting as complete rather than dividing by zero.
double fraction(double done, double total) { return total > 0 ? done / total : 1.0; }

int barPosition(double f) {
    const double position = rnd(CopyProgressTexts::kBarMaximum * f);
    if (!(position > 0)) return 0;
    return position > CopyProgressTexts::kBarMaximum ? CopyProgressTexts::kBarMaximum : static_cast<int>(position);
}

} // namespace

double copyFractionDone(const CopyCounters& c, uint64_t bytesDone) {
    return fraction(static_cast<double>(bytesDone) / kMB + c.TotalDoneMB, c.TotalSizeMB);
}

CopyProgressTexts UpDateCopyForm(const CopyCounters& c, uint64_t bytesDone, const MessageTable& m) {
    const std::string& of = m[msgOf];
    const double B = static_cast<double>(bytesDone);
    const double songFraction = fraction(B, static_cast<double>(c.CurSongSize));
    const double diskDone = B / kMB + c.DiskDoneMB;
    const double totalDone = B / kMB + c.TotalDoneMB;
    const double diskFraction = fraction(diskDone, c.DiskSizeMB);
    const double totalFraction = fraction(totalDone, c.TotalSizeMB);

    CopyProgressTexts t;
    t.PanelCurDisk = c.WantedDisk;
    t.PanelNowCopying = c.SourcePath;
    t.PanelDiskProgressSongs = m[msgSong] + " " + std::to_string(c.SongOnDisk + 1) + " " + of + " " +
                               std::to_string(c.DiskSongs);
    t.PanelSongProgress = whole(B / 1024) + " " + of + " " + whole(static_cast<double>(c.CurSongSize) / 1024) + " " +
                          m[msgKB];
    t.PanelSongProgressPercent = whole(songFraction * 100) + " %";
    t.PanelDiskProgressSize = whole(diskDone) + " " + of + " " + floatToText(roundHalfEven(c.DiskSizeMB, 2)) + " " +
                              m[msgMB];
    t.PanelDiskProgressPercent = floatToText(rnd(diskFraction * 1000) / 10) + " %";
    t.PanelGenProgressSongs = m[msgSong] + " " + std::to_string(c.SongIndex) + " " + of + " " +
                              std::to_string(c.TotalSongs);
    t.PanelGenProgressSize = whole(totalDone) + " " + of + " " + floatToText(roundHalfEven(c.TotalSizeMB, 2)) + " " +
                             m[msgMB];
    t.PanelGenProgressDisks = m[msgDisk] + " " + std::to_string(c.CurDisk) + " " + of + " " +
                              std::to_string(c.DisksTotal);
    t.PanelGenProgressPercent = floatToText(rnd(totalFraction * 1000) / 10) + " %";
    t.ProgressBarSong = barPosition(songFraction);
    t.ProgressBarDisk = barPosition(diskFraction);
    t.ProgressBarGengeral = barPosition(totalFraction);
    return t;
}

} // namespace velmo
