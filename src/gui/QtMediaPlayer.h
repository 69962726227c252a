#pragma once
#include <QAudioOutput>
#include <QMediaPlayer>
#include <QObject>
#include <memory>

#include "app/MediaPlayer.h"

namespace velmo::gui {

// The built-in player's media player on Qt Multimedia (GStreamer here).
//
// Qt loads a file asynchronously, but the player's rules read the length right after opening
// (the slider's maximum) and report a file that cannot be played at once. So open() waits in a
// local event loop until the file is loaded or refused, at most kOpenTimeoutMs. User input is
// held back meanwhile, so no second command can start inside the wait; a local file loads in
// milliseconds.
//
// The end of a song is position == length, which is what the timer tests to stop and rewind.
// Qt reports it so at the end of the media; a seek to the end counts as the end at once,
// before the backend has got there.
class QtMediaPlayer : public QObject, public MediaPlayer {
    Q_OBJECT
public:
    static constexpr int kOpenTimeoutMs = 10000;
    static constexpr int kLengthGraceMs = 1000;

    explicit QtMediaPlayer(QObject* parent = nullptr);

    bool open(const std::string& path) override;
    void close() override;
    void play() override;
    void pause() override;
    void stop() override;
    void rewind() override;
    Mode mode() const override;
    int64_t lengthMs() const override;
    int64_t positionMs() const override;
    void setPositionMs(int64_t position) override;
    std::string lastError() const override { return error_; }

    QMediaPlayer& backend();

private:
    // A backend that refused a file may still report errors of it later; a new one for the
    // next file keeps them from failing that one.
    void makeBackend();

    std::unique_ptr<QAudioOutput> audio_; // outlives the backends that play into it
    std::unique_ptr<QMediaPlayer> player_;
    std::string error_;
    bool endReached_ = false;
};

} // namespace velmo::gui
