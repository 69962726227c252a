#pragma once
#include <cstdint>
#include <vector>

#include "platform/Clock.h"

namespace velmo::test {

// A clock that only moves when the program waits (or a test moves it), so nothing in a test
// depends on the machine's speed.
class FakeClock : public platform::Clock {
public:
    int64_t now = 0;
    std::vector<int64_t> waits; // every wait asked for, in order

    int64_t nowMs() override { return now; }
    void waitMs(int64_t ms) override {
        waits.push_back(ms);
        if (ms > 0) now += ms;
    }
};

} // namespace velmo::test
