#include "QtMediaPlayer.h"

#include <QEventLoop>
#include <QTimer>
#include <QUrl>
#include <algorithm>

namespace velmo::gui {

namespace {

bool settled(QMediaPlayer::MediaStatus status) {
    return status != QMediaPlayer::NoMedia && status != QMediaPlayer::LoadingMedia;
}

} // namespace

// The media framework and the audio output start with the first song: finding the sound
// system takes a few hundred milliseconds, which the window's start need not wait for.
QtMediaPlayer::QtMediaPlayer(QObject* parent) : QObject(parent) {}

QMediaPlayer& QtMediaPlayer::backend() {
    if (!player_) makeBackend();
    return *player_;
}

void QtMediaPlayer::makeBackend() {
    if (!audio_) audio_ = std::make_unique<QAudioOutput>();
    player_ = std::make_unique<QMediaPlayer>();
    player_->setAudioOutput(audio_.get());
    connect(player_.get(), &QMediaPlayer::mediaStatusChanged, this, [this](QMediaPlayer::MediaStatus status) {
        if (status == QMediaPlayer::EndOfMedia) endReached_ = true;
    });
}

bool QtMediaPlayer::open(const std::string& path) {
    if (!player_) makeBackend();
    error_.clear();
    endReached_ = false;
    QEventLoop loop;
    bool failed = false, graceStarted = false;
    // Done when refused, or loaded with its length. A file whose length does not follow the
    // loading within a second plays without it.
    auto done = [&] {
        const QMediaPlayer::MediaStatus status = player_->mediaStatus();
        return failed || player_->error() != QMediaPlayer::NoError || status == QMediaPlayer::InvalidMedia ||
               (settled(status) && player_->duration() > 0);
    };
    auto check = [&] {
        if (done()) {
            loop.quit();
        } else if (settled(player_->mediaStatus()) && !graceStarted) {
            graceStarted = true;
            QTimer::singleShot(kLengthGraceMs, &loop, &QEventLoop::quit);
        }
    };
    const auto statusConnection = connect(player_.get(), &QMediaPlayer::mediaStatusChanged, &loop, check);
    const auto errorConnection = connect(player_.get(), &QMediaPlayer::errorOccurred, &loop, [&] {
        failed = true;
        loop.quit();
    });
    // The length comes with loading, but may follow the status by a moment.
    const auto durationConnection = connect(player_.get(), &QMediaPlayer::durationChanged, &loop, check);
    QTimer::singleShot(kOpenTimeoutMs, &loop, &QEventLoop::quit);
    player_->setSource(QUrl::fromLocalFile(QString::fromStdString(path)));
    check();
    if (!done()) loop.exec(QEventLoop::ExcludeUserInputEvents);
    disconnect(statusConnection);
    disconnect(errorConnection);
    disconnect(durationConnection);

    if (player_->error() != QMediaPlayer::NoError || player_->mediaStatus() == QMediaPlayer::InvalidMedia) {
        error_ = player_->errorString().toStdString();
        if (error_.empty()) error_ = "The file cannot be played.";
    } else if (!settled(player_->mediaStatus())) {
        error_ = "The file did not load in " + std::to_string(kOpenTimeoutMs / 1000) + " seconds.";
    }
    if (!error_.empty()) {
        makeBackend();
        return false;
    }
    return true;
}

void QtMediaPlayer::close() {
    if (!player_) return;
    player_->stop();
    player_->setSource(QUrl());
    endReached_ = false;
}

void QtMediaPlayer::play() {
    endReached_ = false;
    if (player_) player_->play();
}

void QtMediaPlayer::pause() {
    if (player_) player_->pause();
}

void QtMediaPlayer::stop() {
    if (player_) player_->stop();
    endReached_ = false;
}

void QtMediaPlayer::rewind() {
    endReached_ = false;
    if (player_) player_->setPosition(0);
}

MediaPlayer::Mode QtMediaPlayer::mode() const {
    if (!player_) return Mode::NotReady;
    switch (player_->mediaStatus()) {
    case QMediaPlayer::NoMedia:
    case QMediaPlayer::InvalidMedia: return Mode::NotReady;
    case QMediaPlayer::LoadingMedia: return Mode::Open;
    default: break;
    }
    switch (player_->playbackState()) {
    case QMediaPlayer::PlayingState:
        return player_->mediaStatus() == QMediaPlayer::StalledMedia ? Mode::Seeking : Mode::Playing;
    case QMediaPlayer::PausedState: return Mode::Paused;
    case QMediaPlayer::StoppedState: return Mode::Stopped;
    }
    return Mode::NotReady;
}

int64_t QtMediaPlayer::lengthMs() const { return player_ ? std::max<int64_t>(player_->duration(), 0) : 0; }

int64_t QtMediaPlayer::positionMs() const {
    if (endReached_) return lengthMs();
    if (!player_) return 0;
    return std::clamp<int64_t>(player_->position(), 0, lengthMs());
}

void QtMediaPlayer::setPositionMs(int64_t position) {
    // A seek to the end ends the song now, whether or not the backend reports it.
    endReached_ = position >= lengthMs();
    if (player_) player_->setPosition(position);
}

} // namespace velmo::gui
