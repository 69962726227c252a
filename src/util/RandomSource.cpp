#include "util/RandomSource.h"

#include <chrono>

namespace velmo {

uint64_t clockSeed() {
    return static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
           static_cast<uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
}

} // namespace velmo
