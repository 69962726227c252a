#include "musicdb/ChildList.h"

#include <algorithm>
#include <cassert>

namespace velmo {

void ChildList::moveGapTo(size_t row) {
    if (row < gapBegin_) {
        std::copy_backward(slots_.begin() + static_cast<std::ptrdiff_t>(row),
                           slots_.begin() + static_cast<std::ptrdiff_t>(gapBegin_),
                           slots_.begin() + static_cast<std::ptrdiff_t>(gapBegin_ + gap_));
    } else if (row > gapBegin_) {
        std::copy(slots_.begin() + static_cast<std::ptrdiff_t>(gapBegin_ + gap_),
                  slots_.begin() + static_cast<std::ptrdiff_t>(row + gap_),
                  slots_.begin() + static_cast<std::ptrdiff_t>(gapBegin_));
    }
    gapBegin_ = row;
}

void ChildList::insert(size_t row, TreeNode* node) {
    assert(row <= size());
    if (gap_ == 0) {
        // Grow by a quarter, the new room opening where the insertion is.
        const size_t count = slots_.size();
        const size_t room = std::max<size_t>(4, count / 4);
        std::vector<TreeNode*> grown(count + room, nullptr);
        std::copy(slots_.begin(), slots_.begin() + static_cast<std::ptrdiff_t>(row), grown.begin());
        std::copy(slots_.begin() + static_cast<std::ptrdiff_t>(row), slots_.end(),
                  grown.begin() + static_cast<std::ptrdiff_t>(row + room));
        slots_.swap(grown);
        gapBegin_ = row;
        gap_ = room;
    } else {
        moveGapTo(row);
    }
    slots_[gapBegin_++] = node;
    --gap_;
}

void ChildList::erase(size_t first, size_t end, std::vector<TreeNode*>& taken) {
    assert(first <= end && end <= size());
    moveGapTo(first);
    const auto from = slots_.begin() + static_cast<std::ptrdiff_t>(gapBegin_ + gap_);
    taken.insert(taken.end(), from, from + static_cast<std::ptrdiff_t>(end - first));
    gap_ += end - first;
}

void ChildList::eraseRows(const std::vector<size_t>& rows, std::vector<TreeNode*>& taken) {
    if (rows.empty()) return;
    const size_t count = size();
    moveGapTo(count); // the nodes are now slots_[0, count)
    size_t out = rows.front(), next = 0;
    for (size_t i = rows.front(); i < count; ++i) {
        if (next < rows.size() && rows[next] == i) {
            taken.push_back(slots_[i]);
            ++next;
            continue;
        }
        slots_[out++] = slots_[i];
    }
    gap_ += count - out;
    gapBegin_ = out;
}

void ChildList::takeAll(std::vector<TreeNode*>& taken) {
    erase(0, size(), taken);
    slots_.clear();
    slots_.shrink_to_fit();
    gapBegin_ = gap_ = 0;
}

} // namespace velmo
