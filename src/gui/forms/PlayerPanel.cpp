#include "forms/PlayerPanel.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QSlider>
#include <QStyle>
#include <QTimer>
#include <QToolButton>

#include "models/IconSet.h"

namespace velmo::gui {

PlayerPanel::PlayerPanel(QWidget* parent) : QWidget(parent) {
    setObjectName("PanelPlayer");
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    ButtonPlayNow = new QPushButton(this);
    ButtonPlayNow->setObjectName("ButtonPlayNow");
    layout->addWidget(ButtonPlayNow);

    // The media player's buttons; its hint (the file and its tag) shows over all of them.
    MPlayer = new QWidget(this);
    MPlayer->setObjectName("MPlayer");
    auto* buttons = new QHBoxLayout(MPlayer);
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->setSpacing(1);
    const std::pair<QToolButton**, std::pair<const char*, QStyle::StandardPixmap>> kButtons[] = {
        {&ButtonPlay, {"ButtonPlay", QStyle::SP_MediaPlay}},
        {&ButtonPause, {"ButtonPause", QStyle::SP_MediaPause}},
        {&ButtonStop, {"ButtonStop", QStyle::SP_MediaStop}},
        {&ButtonNext, {"ButtonNext", QStyle::SP_MediaSkipForward}},
        {&ButtonPrev, {"ButtonPrev", QStyle::SP_MediaSkipBackward}},
    };
    for (const auto& [slot, look] : kButtons) {
        auto* b = new QToolButton(MPlayer);
        b->setObjectName(look.first);
        b->setIcon(style()->standardIcon(look.second));
        b->setEnabled(false);
        buttons->addWidget(b);
        *slot = b;
    }
    MPlayer->setEnabled(false);
    layout->addWidget(MPlayer);

    TrackBarSongProgress = new QSlider(Qt::Horizontal, this);
    TrackBarSongProgress->setObjectName("TrackBarSongProgress");
    TrackBarSongProgress->setRange(0, 300);
    TrackBarSongProgress->setTickInterval(30);
    TrackBarSongProgress->setTickPosition(QSlider::TicksBelow);
    TrackBarSongProgress->setEnabled(false);
    layout->addWidget(TrackBarSongProgress, 1);

    Timer1 = new QTimer(this);
    Timer1->setObjectName("Timer1");
    Timer1->setInterval(BuiltInPlayer::kTimerMs);

    BitBtnShowCopyProgress = new QPushButton(this);
    BitBtnShowCopyProgress->setObjectName("BitBtnShowCopyProgress");
    BitBtnShowCopyProgress->setIcon(IconSet::icon(16));
    BitBtnShowCopyProgress->hide();
    layout->addWidget(BitBtnShowCopyProgress);
}

void PlayerPanel::attach(MediaPlayer& media, BuiltInPlayer& player) {
    media_ = &media;
    player_ = &player;
    connect(ButtonPlay, &QToolButton::clicked, this, [this] { press(BuiltInPlayer::Button::Play); });
    connect(ButtonPause, &QToolButton::clicked, this, [this] { press(BuiltInPlayer::Button::Pause); });
    connect(ButtonStop, &QToolButton::clicked, this, [this] { press(BuiltInPlayer::Button::Stop); });
    connect(ButtonNext, &QToolButton::clicked, this, [this] { press(BuiltInPlayer::Button::Next); });
    connect(ButtonPrev, &QToolButton::clicked, this, [this] { press(BuiltInPlayer::Button::Prev); });
    connect(Timer1, &QTimer::timeout, this, [this] { player_->Timer1Timer(); });
    // Whatever moved it (a drag, a click beside the handle, a key), the next tick decides.
    connect(TrackBarSongProgress, &QSlider::valueChanged, this, [this](int value) {
        if (!showing_) player_->setSliderPosition(value);
    });
}

void PlayerPanel::press(BuiltInPlayer::Button button) {
    // The button's own action first, then the player's rules.
    switch (button) {
    case BuiltInPlayer::Button::Play: media_->play(); break;
    case BuiltInPlayer::Button::Pause:
        if (media_->mode() == MediaPlayer::Mode::Paused) media_->play();
        else media_->pause();
        break;
    case BuiltInPlayer::Button::Stop: media_->stop(); break;
    case BuiltInPlayer::Button::Next:
    case BuiltInPlayer::Button::Prev: break; // one file at a time: the rules move to the neighbour
    }
    player_->MPlayerPostClick(button);
}

void PlayerPanel::showPanel(const PlayerView::Panel& panel) {
    showing_ = true;
    MPlayer->setEnabled(panel.playerEnabled);
    ButtonPlay->setEnabled(panel.playEnabled);
    ButtonPause->setEnabled(panel.pauseEnabled);
    ButtonStop->setEnabled(panel.stopEnabled);
    ButtonNext->setEnabled(panel.nextEnabled);
    ButtonPrev->setEnabled(panel.prevEnabled);
    MPlayer->setToolTip(QString::fromStdString(panel.hint));
    TrackBarSongProgress->setEnabled(panel.sliderEnabled);
    // The maximum first: a position beyond the old maximum would be cut to it.
    TrackBarSongProgress->setMaximum(panel.sliderMaximum);
    if (!TrackBarSongProgress->isSliderDown()) TrackBarSongProgress->setValue(panel.sliderPosition);
    showing_ = false;
    if (panel.timerOn && !Timer1->isActive()) Timer1->start();
    else if (!panel.timerOn) Timer1->stop();
}

} // namespace velmo::gui
