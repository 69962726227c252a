#pragma once
#include <cstdint>

namespace velmo {

// Which parts of a node or item a change touched, so that a view repaints and re-reads only
// those. A bit set: a change may touch both.
enum ChangedRoles : uint8_t {
    TextChanged = 1,
    IconChanged = 2,
};

} // namespace velmo
