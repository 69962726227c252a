#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace velmo {

class TreeNode;

// The children of a tree node, in order: an array with a gap at the place of the last
// insertion or removal. A folder of the folder tree merged from many disks gets its songs disk
// by disk, each disk's songs at rows that advance through the siblings already there; with
// the gap only the nodes between two such rows move, not every node behind the new one, so
// building a folder of 30,000 songs stays linear. The list holds the pointers; the nodes
// belong to their tree.
class ChildList {
public:
    ChildList() = default;
    ~ChildList();
    ChildList(const ChildList&) = delete;
    ChildList& operator=(const ChildList&) = delete;

    size_t size() const { return block_ ? block_->capacity - block_->gap : 0; }
    bool empty() const { return size() == 0; }
    TreeNode* operator[](size_t i) const {
        return block_->entries()[i < block_->gapBegin ? i : i + block_->gap];
    }
    TreeNode* front() const { return (*this)[0]; }
    TreeNode* back() const { return (*this)[size() - 1]; }

    void insert(size_t row, TreeNode* node);
    // Takes the nodes of rows [first, end) out and appends them to `taken`.
    void erase(size_t first, size_t end, std::vector<TreeNode*>& taken);
    // Takes the nodes of `rows` (ascending, no repeats) out in one pass.
    void eraseRows(const std::vector<size_t>& rows, std::vector<TreeNode*>& taken);
    void takeAll(std::vector<TreeNode*>& taken);
    // The nodes as one array (the gap moved behind them), valid until the next change; for
    // reordering them in place.
    TreeNode** contiguous();

private:
    // One allocation: this header, then `capacity` slots. A node without children (every song)
    // holds a null pointer and nothing else.
    struct Block {
        uint32_t capacity;
        uint32_t gapBegin; // the gap is slots [gapBegin, gapBegin + gap)
        uint32_t gap;
        uint32_t unused;
        TreeNode** entries() { return reinterpret_cast<TreeNode**>(this + 1); }
        TreeNode* const* entries() const { return reinterpret_cast<TreeNode* const*>(this + 1); }
    };
    static Block* allocate(size_t capacity);
    void moveGapTo(size_t row);

    Block* block_ = nullptr;
};

} // namespace velmo
