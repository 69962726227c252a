#pragma once
#include <QWidget>

#include "app/PlayNow.h"

class QPushButton;
class QSlider;
class QTimer;
class QToolButton;

namespace velmo::gui {

// The player panel below the tabs: Play now, the built-in player's buttons, the song's
// progress slider and its timer, and the button that shows a running copy. The panel shows
// what the core's player decides; its buttons act on the media player and then tell the core.
class PlayerPanel : public QWidget {
    Q_OBJECT
public:
    explicit PlayerPanel(QWidget* parent);

    // The player the buttons, the slider and the timer drive.
    void attach(MediaPlayer& media, BuiltInPlayer& player);
    void showPanel(const PlayerView::Panel& panel);

    QPushButton* ButtonPlayNow = nullptr;
    QPushButton* BitBtnShowCopyProgress = nullptr;
    QWidget* MPlayer = nullptr;
    QToolButton* ButtonPlay = nullptr;
    QToolButton* ButtonPause = nullptr;
    QToolButton* ButtonStop = nullptr;
    QToolButton* ButtonNext = nullptr;
    QToolButton* ButtonPrev = nullptr;
    QSlider* TrackBarSongProgress = nullptr;
    QTimer* Timer1 = nullptr;

private:
    void press(BuiltInPlayer::Button button);

    MediaPlayer* media_ = nullptr;
    BuiltInPlayer* player_ = nullptr;
    bool showing_ = false; // the slider moves because the panel is shown, not by the user
};

} // namespace velmo::gui
