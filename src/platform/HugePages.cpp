#include "platform/HugePages.h"

#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

namespace velmo::platform {

namespace {

constexpr uintptr_t kPage = 4096;
// glibc's default for M_TOP_PAD, restored when the load is done.
constexpr int kDefaultTopPad = 128 * 1024;
// Below this a block is not worth a system call.
constexpr size_t kWorthAdvising = 4u << 20;

void advise(uintptr_t begin, uintptr_t end) {
    begin = (begin + kPage - 1) & ~(kPage - 1);
    end &= ~(kPage - 1);
    if (end > begin) madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
}

uintptr_t heapEnd() { return reinterpret_cast<uintptr_t>(sbrk(0)); }

} // namespace

void adviseHugePages(void* block, size_t bytes) {
    if (bytes < kWorthAdvising) return;
    const auto begin = reinterpret_cast<uintptr_t>(block);
    advise(begin, begin + bytes);
}

HugePageHeap::HugePageHeap(size_t expectedGrowth) {
    if (expectedGrowth < kWorthAdvising) return;
    // The heap is one mapping grown at its end; a large top pad makes the next growth one big
    // step, which adviseGrowth then covers before most of it was touched.
    constexpr size_t kMaxPad = size_t{1} << 30;
    const size_t pad = expectedGrowth < kMaxPad ? expectedGrowth : kMaxPad;
    if (mallopt(M_TOP_PAD, static_cast<int>(pad)) != 1) return;
    active_ = true;
    advisedEnd_ = heapEnd();
}

HugePageHeap::~HugePageHeap() {
    if (!active_) return;
    adviseGrowth();
    mallopt(M_TOP_PAD, kDefaultTopPad);
}

void HugePageHeap::adviseGrowth() {
    if (!active_) return;
    const uintptr_t end = heapEnd();
    if (end <= advisedEnd_) return;
    advise(advisedEnd_, end);
    advisedEnd_ = end;
}

} // namespace velmo::platform
