#pragma once
#include <array>
#include <cstdint>

#include "musicdb/StatusTransitionTable.h"

namespace velmo {

constexpr double kBytesPerMegabyte = 1048576.0;

// Song counts and size sums in megabytes: the total `a` and the nine status counters.
struct StatCounters {
    struct Entry {
        int32_t count = 0;
        double sizeMB = 0.0;
    };
    Entry a;
    std::array<Entry, cCounterCount> keys{};

    Entry& operator[](Counter c) { return keys[c]; }
    const Entry& operator[](Counter c) const { return keys[c]; }
    void clear() { *this = StatCounters{}; }
};

} // namespace velmo
