#include "forms/TCopyCDForm.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/Session.h"
#include "forms/WindowTexts.h"
#include "playlist/CopyEngine.h"
#include "playlist/CopyProgress.h"

namespace velmo::gui {

namespace {

constexpr int kWidth = 560;

// The progress arrives up to twenty times a second: a text that did not change is not set
// again, so an unchanged row costs no relayout or repaint.
void showText(QLabel* label, const std::string& text) {
    const QString q = QString::fromStdString(text);
    if (label->text() != q) label->setText(q);
}

void showBar(QProgressBar* bar, int position) {
    if (bar->value() != position) bar->setValue(position);
}

} // namespace

TCopyCDForm::TCopyCDForm(Session& session, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      s_(session) {
    setObjectName("TCopyCDForm");
    setModal(false);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(4);
    // Label column, then four columns of texts; the last one holds the percentages.
    grid->setColumnStretch(1, 3);
    grid->setColumnStretch(2, 3);
    grid->setColumnStretch(3, 2);
    grid->setColumnStretch(4, 2);

    grid->addWidget(addLabel("PanelCurDiskCF"), 0, 0);
    grid->addWidget(PanelCurDisk = addText("PanelCurDisk"), 0, 1, 1, 4);
    grid->addWidget(addLabel("PanelNowCopyingCF"), 1, 0);
    grid->addWidget(PanelNowCopying = addText("PanelNowCopying"), 1, 1, 1, 4);

    grid->addWidget(addLabel("PanelSongProgressCF"), 2, 0);
    grid->addWidget(PanelSongProgress = addText("PanelSongProgress"), 2, 1, 1, 2);
    grid->addWidget(PanelSongProgressPercent = addText("PanelSongProgressPercent"), 2, 4);
    grid->addWidget(ProgressBarSong = addBar("ProgressBarSong"), 3, 0, 1, 5);

    grid->addWidget(addLabel("PanelDiskProgressCF"), 4, 0);
    grid->addWidget(PanelDiskProgressSongs = addText("PanelDiskProgressSongs"), 4, 1);
    grid->addWidget(PanelDiskProgressSize = addText("PanelDiskProgressSize"), 4, 2);
    grid->addWidget(PanelDiskProgressPercent = addText("PanelDiskProgressPercent"), 4, 4);
    grid->addWidget(ProgressBarDisk = addBar("ProgressBarDisk"), 5, 0, 1, 5);

    grid->addWidget(addLabel("PanelGenProgressCF"), 6, 0);
    grid->addWidget(PanelGenProgressSongs = addText("PanelGenProgressSongs"), 6, 1);
    grid->addWidget(PanelGenProgressSize = addText("PanelGenProgressSize"), 6, 2);
    grid->addWidget(PanelGenProgressDisks = addText("PanelGenProgressDisks"), 6, 3);
    grid->addWidget(PanelGenProgressPercent = addText("PanelGenProgressPercent"), 6, 4);
    grid->addWidget(ProgressBarGengeral = addBar("ProgressBarGengeral"), 7, 0, 1, 5);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    ButtonSkipTrack = addButton("ButtonSkipTrack");
    ButtonSkipDisk = addButton("ButtonSkipDisk");
    ButtonAbort = addButton("ButtonAbort");
    for (QPushButton* b : {ButtonSkipTrack, ButtonSkipDisk, ButtonAbort}) buttons->addWidget(b);
    connect(ButtonSkipTrack, &QPushButton::clicked, this, &TCopyCDForm::ButtonSkipTrackClick);
    connect(ButtonSkipDisk, &QPushButton::clicked, this, &TCopyCDForm::ButtonSkipDiskClick);
    connect(ButtonAbort, &QPushButton::clicked, this, &TCopyCDForm::ButtonAbortClick);
    // Skip track waits for the first file of a copy, Abort for the copy itself.
    ButtonSkipTrack->setEnabled(false);
    ButtonAbort->setEnabled(false);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addSpacing(6);
    layout->addLayout(buttons);

    texts_ = std::make_unique<TextsFollowLanguage>(s_, this);
    setFixedSize(kWidth, sizeHint().height());
}

QLabel* TCopyCDForm::addLabel(const char* name) {
    auto* label = new QLabel(this);
    label->setObjectName(name);
    return label;
}

QLabel* TCopyCDForm::addText(const char* name) {
    auto* text = new QLabel(this);
    text->setObjectName(name);
    text->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    text->setIndent(4);
    text->setMinimumHeight(text->fontMetrics().height() + 6);
    // A long path is cut at the dialog's edge instead of widening it.
    text->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    return text;
}

QProgressBar* TCopyCDForm::addBar(const char* name) {
    auto* bar = new QProgressBar(this);
    bar->setObjectName(name);
    bar->setRange(0, CopyProgressTexts::kBarMaximum);
    bar->setValue(0);
    bar->setTextVisible(false);
    return bar;
}

QPushButton* TCopyCDForm::addButton(const char* name) {
    auto* button = new QPushButton(this);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

void TCopyCDForm::centreOnOwner() {
    QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
    if (!owner) return;
    move(owner->frameGeometry().center() - QPoint(width() / 2, height() / 2));
}

void TCopyCDForm::showCopyDialog(const std::string& caption) {
    setWindowTitle(QString::fromStdString(caption));
    // Nothing of the previous copy stays on view.
    for (QLabel* text : {PanelCurDisk, PanelNowCopying, PanelSongProgress, PanelSongProgressPercent,
                         PanelDiskProgressSongs, PanelDiskProgressSize, PanelDiskProgressPercent, PanelGenProgressSongs,
                         PanelGenProgressSize, PanelGenProgressDisks, PanelGenProgressPercent})
        text->clear();
    for (QProgressBar* bar : {ProgressBarSong, ProgressBarDisk, ProgressBarGengeral}) bar->setValue(0);
    ButtonSkipTrack->setEnabled(false);
    centreOnOwner();
    bringBack();
}

void TCopyCDForm::showCopyProgress(const CopyCounters& counters, uint64_t bytesDone) {
    const CopyProgressTexts t = UpDateCopyForm(counters, bytesDone, s_.messages);
    showText(PanelCurDisk, t.PanelCurDisk);
    showText(PanelNowCopying, t.PanelNowCopying);
    showText(PanelDiskProgressSongs, t.PanelDiskProgressSongs);
    showText(PanelSongProgress, t.PanelSongProgress);
    showText(PanelSongProgressPercent, t.PanelSongProgressPercent);
    showText(PanelDiskProgressSize, t.PanelDiskProgressSize);
    showText(PanelDiskProgressPercent, t.PanelDiskProgressPercent);
    showText(PanelGenProgressSongs, t.PanelGenProgressSongs);
    showText(PanelGenProgressSize, t.PanelGenProgressSize);
    showText(PanelGenProgressDisks, t.PanelGenProgressDisks);
    showText(PanelGenProgressPercent, t.PanelGenProgressPercent);
    showBar(ProgressBarSong, t.ProgressBarSong);
    showBar(ProgressBarDisk, t.ProgressBarDisk);
    showBar(ProgressBarGengeral, t.ProgressBarGengeral);
}

void TCopyCDForm::setSkipTrackEnabled(bool enabled) { ButtonSkipTrack->setEnabled(enabled); }

void TCopyCDForm::setAbortEnabled(bool enabled) { ButtonAbort->setEnabled(enabled); }

bool TCopyCDForm::abortEnabled() const { return ButtonAbort->isEnabled(); }

void TCopyCDForm::closeCopyDialog() {
    hide();
    if (QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr) {
        owner->show();
        owner->raise();
        owner->activateWindow();
    }
}

void TCopyCDForm::bringBack() {
    show();
    raise();
    activateWindow();
}

void TCopyCDForm::ButtonSkipTrackClick() {
    if (CopyEngine* copy = s_.activeCopy) copy->ButtonSkipTrackClick();
}

void TCopyCDForm::ButtonSkipDiskClick() {
    if (CopyEngine* copy = s_.activeCopy) copy->ButtonSkipDiskClick();
}

void TCopyCDForm::ButtonAbortClick() {
    CopyEngine* copy = s_.activeCopy;
    if (!copy) return;
    copy->ButtonAbortClick();
    // Answered No: the user goes on watching the copy.
    if (!copy->aborted()) bringBack();
}

void TCopyCDForm::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && !isActiveWindow()) emit deactivated();
}

} // namespace velmo::gui
