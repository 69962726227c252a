#include "CopyProgressLine.h"

#include "TerminalUi.h"
#include "platform/Clock.h"

namespace velmo::cli {

namespace {

// A line drawn more often could not be read, and a terminal over a slow link would fall behind.
constexpr int64_t kDrawEveryMs = 100;

} // namespace

std::string CopyProgressLine::lineText(const CopyCounters& counters, uint64_t bytesDone,
                                       const MessageTable& messages) {
    const CopyProgressTexts t = UpDateCopyForm(counters, bytesDone, messages);
    const std::string& what = counters.SongOnDisk < 0 ? t.PanelCurDisk : t.PanelNowCopying;
    return t.PanelGenProgressDisks + " | " + t.PanelGenProgressSongs + " | " + t.PanelGenProgressSize + " | " +
           t.PanelGenProgressPercent + " | " + what;
}

void CopyProgressLine::showCopyDialog(const std::string&) {
    lastDrawnMs_.reset();
    heldBack_.reset();
}

void CopyProgressLine::draw(const CopyCounters& counters, uint64_t bytesDone) {
    ui_.showProgressLine(lineText(counters, bytesDone, messages_));
    heldBack_.reset();
}

void CopyProgressLine::showCopyProgress(const CopyCounters& counters, uint64_t bytesDone) {
    if (!shown_) return;
    const int64_t now = clock_.nowMs();
    if (lastDrawnMs_ && now - *lastDrawnMs_ < kDrawEveryMs) {
        heldBack_ = counters;
        heldBackBytes_ = bytesDone;
        return;
    }
    lastDrawnMs_ = now;
    draw(counters, bytesDone);
}

void CopyProgressLine::closeCopyDialog() {
    if (!shown_) return;
    if (heldBack_) draw(*heldBack_, heldBackBytes_);
    ui_.endProgressLine();
}

} // namespace velmo::cli
