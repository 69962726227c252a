#pragma once
#include <cstdint>
#include <string>

namespace velmo {

// What the built-in player needs of a media player: one file at a time, its mode, its length
// and position in milliseconds. The window implements it with the system's media framework;
// tests script it.
class MediaPlayer {
public:
    enum class Mode { NotReady, Stopped, Playing, Recording, Seeking, Paused, Open };

    virtual ~MediaPlayer() = default;
    // Opens a file; false when it cannot be opened (lastError() says why).
    virtual bool open(const std::string& path) = 0;
    virtual void close() = 0;
    virtual void play() = 0;
    virtual void pause() = 0;
    virtual void stop() = 0;
    virtual void rewind() = 0;
    virtual Mode mode() const = 0;
    virtual int64_t lengthMs() const = 0;
    virtual int64_t positionMs() const = 0;
    virtual void setPositionMs(int64_t position) = 0;
    virtual std::string lastError() const = 0;
};

} // namespace velmo
