#pragma once
#include <QDialog>
#include <memory>

#include "forms/WindowTexts.h"
#include "playlist/CopyView.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace velmo {
struct Session;
}

namespace velmo::gui {

// The copy dialog: where the copy stands (disk, file, disk and whole-copy progress) and the
// buttons that skip a file, skip the rest of a disk or abort. Not modal: the main window stays
// usable while the copy runs. It only shows what the copy reports; the buttons hand the clicks
// to the running copy.
class TCopyCDForm : public QDialog, public CopyView {
    Q_OBJECT
public:
    TCopyCDForm(Session& session, QWidget* parent);

    // CopyView
    void showCopyDialog(const std::string& caption) override;
    void showCopyProgress(const CopyCounters& counters, uint64_t bytesDone) override;
    void setSkipTrackEnabled(bool enabled) override;
    void setAbortEnabled(bool enabled) override;
    void closeCopyDialog() override;

    // A copy is running and has not been aborted (Abort is usable).
    bool abortEnabled() const;
    // Brings the dialog back in front of the main window, with the focus.
    void bringBack();

    void ButtonSkipTrackClick();
    void ButtonSkipDiskClick();
    void ButtonAbortClick();

signals:
    // The dialog lost the activation (the user went to the main window or elsewhere).
    void deactivated();

protected:
    void changeEvent(QEvent* event) override;

private:
    QLabel* addLabel(const char* name);
    QLabel* addText(const char* name);
    QProgressBar* addBar(const char* name);
    QPushButton* addButton(const char* name);
    void centreOnOwner();

    Session& s_;
    QLabel* PanelCurDisk = nullptr;
    QLabel* PanelNowCopying = nullptr;
    QLabel* PanelSongProgress = nullptr;
    QLabel* PanelSongProgressPercent = nullptr;
    QLabel* PanelDiskProgressSongs = nullptr;
    QLabel* PanelDiskProgressSize = nullptr;
    QLabel* PanelDiskProgressPercent = nullptr;
    QLabel* PanelGenProgressSongs = nullptr;
    QLabel* PanelGenProgressSize = nullptr;
    QLabel* PanelGenProgressDisks = nullptr;
    QLabel* PanelGenProgressPercent = nullptr;
    QProgressBar* ProgressBarSong = nullptr;
    QProgressBar* ProgressBarDisk = nullptr;
    QProgressBar* ProgressBarGengeral = nullptr;
    QPushButton* ButtonSkipTrack = nullptr;
    QPushButton* ButtonSkipDisk = nullptr;
    QPushButton* ButtonAbort = nullptr;
    std::unique_ptr<TextsFollowLanguage> texts_;
};

} // namespace velmo::gui
