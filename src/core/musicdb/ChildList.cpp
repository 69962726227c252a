#include "musicdb/ChildList.h"

#include <algorithm>
#include <cassert>
#include <new>

namespace velmo {

ChildList::Block* ChildList::allocate(size_t capacity) {
    auto* block = static_cast<Block*>(::operator new(sizeof(Block) + capacity * sizeof(TreeNode*)));
    block->capacity = static_cast<uint32_t>(capacity);
    block->gapBegin = 0;
    block->gap = static_cast<uint32_t>(capacity);
    block->unused = 0;
    return block;
}

ChildList::~ChildList() { ::operator delete(block_); }

void ChildList::moveGapTo(size_t row) {
    TreeNode** slots = block_->entries();
    const size_t begin = block_->gapBegin, gap = block_->gap;
    if (row < begin) std::copy_backward(slots + row, slots + begin, slots + begin + gap);
    else if (row > begin) std::copy(slots + begin + gap, slots + row + gap, slots + begin);
    block_->gapBegin = static_cast<uint32_t>(row);
}

void ChildList::insert(size_t row, TreeNode* node) {
    assert(row <= size());
    if (!block_ || block_->gap == 0) {
        // Grow by a quarter, the new room opening where the insertion is.
        const size_t count = size();
        const size_t room = std::max<size_t>(4, count / 4);
        Block* grown = allocate(count + room);
        if (block_) {
            TreeNode** to = grown->entries();
            for (size_t i = 0; i < row; ++i) to[i] = (*this)[i];
            for (size_t i = row; i < count; ++i) to[i + room] = (*this)[i];
            ::operator delete(block_);
        }
        grown->gapBegin = static_cast<uint32_t>(row);
        grown->gap = static_cast<uint32_t>(room);
        block_ = grown;
    } else {
        moveGapTo(row);
    }
    block_->entries()[block_->gapBegin++] = node;
    --block_->gap;
}

void ChildList::erase(size_t first, size_t end, std::vector<TreeNode*>& taken) {
    assert(first <= end && end <= size());
    if (first == end) return;
    moveGapTo(first);
    TreeNode** from = block_->entries() + block_->gapBegin + block_->gap;
    taken.insert(taken.end(), from, from + (end - first));
    block_->gap += static_cast<uint32_t>(end - first);
}

void ChildList::eraseRows(const std::vector<size_t>& rows, std::vector<TreeNode*>& taken) {
    if (rows.empty()) return;
    const size_t count = size();
    moveGapTo(count); // the nodes are now slots [0, count)
    TreeNode** slots = block_->entries();
    size_t out = rows.front(), next = 0;
    for (size_t i = rows.front(); i < count; ++i) {
        if (next < rows.size() && rows[next] == i) {
            taken.push_back(slots[i]);
            ++next;
            continue;
        }
        slots[out++] = slots[i];
    }
    block_->gap += static_cast<uint32_t>(count - out);
    block_->gapBegin = static_cast<uint32_t>(out);
}

TreeNode** ChildList::contiguous() {
    if (!block_) return nullptr;
    moveGapTo(size());
    return block_->entries();
}

void ChildList::takeAll(std::vector<TreeNode*>& taken) {
    if (!block_) return;
    erase(0, size(), taken);
    ::operator delete(block_);
    block_ = nullptr;
}

} // namespace velmo
