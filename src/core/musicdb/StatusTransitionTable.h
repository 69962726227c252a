#pragma once
#include <cstdint>

namespace velmo {

// The counters of the statistics, in the order of the transition table's last index.
enum Counter : uint8_t { cN, cU, cP, cB, cF, cGN, cGU, cGP, cG, cCounterCount };

// Counter deltas of a status change, indexed [old status][new status][counter]: the membership
// of the new status in a counter minus that of the old one. Index 8 (the Just Good command)
// moves nothing.
extern const int8_t StatusTransitionTable[9][9][9];

} // namespace velmo
