#pragma once
#include <cstddef>
#include <cstdint>

namespace velmo::platform {

// Where transparent huge pages are only given on request (the "madvise" setting), a database of
// a million songs spread over 4 KiB pages spends about a third of its load in page faults and
// TLB misses. These calls ask for 2 MiB pages for memory that is about to be filled; where the
// system does not give them, nothing changes.

// One big block, such as a file read whole.
void adviseHugePages(void* block, size_t bytes);

// The heap while a load allocates many small objects: the heap grows in steps of at least
// `expectedGrowth` bytes for as long as this lives, and adviseGrowth, called now and then,
// asks huge pages for what it grew by since the last call.
class HugePageHeap {
public:
    explicit HugePageHeap(size_t expectedGrowth);
    ~HugePageHeap();
    HugePageHeap(const HugePageHeap&) = delete;
    HugePageHeap& operator=(const HugePageHeap&) = delete;

    void adviseGrowth();

private:
    uintptr_t advisedEnd_ = 0;
    bool active_ = false;
};

} // namespace velmo::platform
