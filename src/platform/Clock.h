#pragma once
#include <cstdint>

namespace velmo::platform {

// Time as the core needs it: to pause between two program starts and to space out progress
// reports. Tests hand the session a fake whose time only moves when the core waits.
class Clock {
public:
    virtual ~Clock() = default;
    // Milliseconds since some fixed moment of this run; never goes back.
    virtual int64_t nowMs() = 0;
    // Returns after `ms` milliseconds (at once for 0 or less).
    virtual void waitMs(int64_t ms) = 0;
};

// The machine's monotonic clock.
class SteadyClock final : public Clock {
public:
    int64_t nowMs() override;
    void waitMs(int64_t ms) override;
};

} // namespace velmo::platform
