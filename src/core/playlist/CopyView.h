#pragma once
#include <cstdint>
#include <string>

namespace velmo {

struct CopyCounters;

// The copy dialog as the copy sees it: the window front shows a dialog, the command line a
// progress line, tests record. The copy keeps the window alive through the user interface's
// message pump; the view only shows.
class CopyView {
public:
    virtual ~CopyView() = default;
    // Before the first disk: the dialog appears (not modal) with this caption.
    virtual void showCopyDialog(const std::string& caption) = 0;
    // Where the copy stands. Called when a file starts and at most about 20 times a second
    // while it is copied; UpDateCopyForm turns it into the dialog's texts.
    virtual void showCopyProgress(const CopyCounters& counters, uint64_t bytesDone) = 0;
    // "Skip track" is usable once the first file is under way; "Abort" from the start of the
    // copy until it ends or an abort was confirmed.
    virtual void setSkipTrackEnabled(bool /*enabled*/) {}
    virtual void setAbortEnabled(bool /*enabled*/) {}
    // After the last disk (or the abort): the dialog goes and the main window is shown.
    virtual void closeCopyDialog() = 0;
};

} // namespace velmo
