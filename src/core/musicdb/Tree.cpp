#include "musicdb/Tree.h"

#include <algorithm>
#include <cassert>

namespace velmo {

TreeNode* TreeNode::nextSibling() const {
    // Top-level siblings live under the tree's hidden root.
    const TreeNode* owner = parent_ ? parent_ : &tree_->root_;
    return row_ + 1 < owner->children_.size() ? owner->children_[row_ + 1].get() : nullptr;
}

Tree::Tree() { root_.tree_ = this; }
Tree::~Tree() = default;

void Tree::renumber(std::vector<std::unique_ptr<TreeNode>>& kids, size_t from, size_t to) {
    for (size_t i = from; i < to && i < kids.size(); ++i) kids[i]->row_ = static_cast<uint32_t>(i);
}

TreeNode* Tree::insert(TreeNode* parent, size_t row, std::string text, uint8_t image) {
    TreeNode* owner = parentOrRoot(parent);
    assert(row <= owner->children_.size());
    notify([&](TreeObserver* o) { o->beginInsert(parent, row, row); });
    auto node = std::make_unique<TreeNode>();
    node->text_ = std::move(text);
    node->image_ = image;
    node->parent_ = parent;
    node->tree_ = this;
    TreeNode* raw = node.get();
    auto& kids = owner->children_;
    kids.insert(kids.begin() + static_cast<std::ptrdiff_t>(row), std::move(node));
    renumber(kids, row, kids.size());
    notify([](TreeObserver* o) { o->endInsert(); });
    return raw;
}

TreeNode* Tree::append(TreeNode* parent, std::string text, uint8_t image) {
    return insert(parent, childCount(parent), std::move(text), image);
}

void Tree::remove(TreeNode* node) {
    TreeNode* owner = parentOrRoot(node->parent_);
    size_t row = node->row_;
    if (!pendingRequests_.empty()) dropPendingRequestsBelow(node);
    notify([&](TreeObserver* o) { o->beginRemove(node->parent_, row, row); });
    auto& kids = owner->children_;
    kids.erase(kids.begin() + static_cast<std::ptrdiff_t>(row));
    renumber(kids, row, kids.size());
    notify([](TreeObserver* o) { o->endRemove(); });
}

void Tree::removeChildren(TreeNode* parent, const std::vector<size_t>& rows) {
    if (rows.empty()) return;
    TreeNode* owner = parentOrRoot(parent);
    auto& kids = owner->children_;
    if (!pendingRequests_.empty())
        for (size_t r : rows) dropPendingRequestsBelow(kids[r].get());
    if (notifying()) {
        // Runs from the last one, so the rows of the runs still to come stay valid.
        size_t end = rows.size();
        while (end > 0) {
            size_t begin = end - 1;
            while (begin > 0 && rows[begin - 1] + 1 == rows[begin]) --begin;
            const size_t first = rows[begin], last = rows[end - 1];
            notify([&](TreeObserver* o) { o->beginRemove(parent, first, last); });
            kids.erase(kids.begin() + static_cast<std::ptrdiff_t>(first),
                       kids.begin() + static_cast<std::ptrdiff_t>(last + 1));
            renumber(kids, first, kids.size());
            notify([](TreeObserver* o) { o->endRemove(); });
            end = begin;
        }
        return;
    }
    // Unobserved: one compaction of the siblings, whatever the number of rows.
    size_t out = rows.front();
    size_t next = 0;
    for (size_t i = rows.front(); i < kids.size(); ++i) {
        if (next < rows.size() && rows[next] == i) {
            ++next;
            continue;
        }
        kids[out++] = std::move(kids[i]);
    }
    kids.resize(out);
    renumber(kids, rows.front(), kids.size());
}

void Tree::move(TreeNode* node, size_t row) {
    TreeNode* owner = parentOrRoot(node->parent_);
    auto& kids = owner->children_;
    const size_t from = node->row_;
    assert(row < kids.size());
    if (row == from) return;
    notify([&](TreeObserver* o) { o->beginMove(node->parent_, from, row); });
    auto first = kids.begin();
    if (row < from)
        std::rotate(first + static_cast<std::ptrdiff_t>(row), first + static_cast<std::ptrdiff_t>(from),
                    first + static_cast<std::ptrdiff_t>(from + 1));
    else
        std::rotate(first + static_cast<std::ptrdiff_t>(from), first + static_cast<std::ptrdiff_t>(from + 1),
                    first + static_cast<std::ptrdiff_t>(row + 1));
    renumber(kids, std::min(from, row), std::max(from, row) + 1);
    notify([](TreeObserver* o) { o->endMove(); });
}

void Tree::clear() {
    notify([](TreeObserver* o) { o->beginReset(); });
    pendingRequests_.clear();
    root_.children_.clear();
    notify([](TreeObserver* o) { o->endReset(); });
}

void Tree::setText(TreeNode* node, std::string text) {
    if (node->text_ == text) return;
    node->text_ = std::move(text);
    notify([&](TreeObserver* o) { o->nodeChanged(node, TextChanged); });
}

void Tree::setImageIndex(TreeNode* node, uint8_t image) {
    if (node->image_ == image) return;
    node->image_ = image;
    notify([&](TreeObserver* o) { o->nodeChanged(node, IconChanged); });
}

void Tree::forEach(const std::function<void(TreeNode*, int)>& visit) const {
    // Iterative, so that deep trees cannot overflow the stack.
    std::vector<std::pair<const TreeNode*, size_t>> stack{{&root_, 0}};
    while (!stack.empty()) {
        auto& [node, next] = stack.back();
        if (next == node->children_.size()) {
            stack.pop_back();
            continue;
        }
        TreeNode* c = node->children_[next++].get();
        visit(c, static_cast<int>(stack.size()) - 1);
        if (!c->children_.empty()) stack.emplace_back(c, 0);
    }
}

void Tree::addObserver(TreeObserver* observer) { observers_.push_back(observer); }

void Tree::removeObserver(TreeObserver* observer) {
    observers_.erase(std::remove(observers_.begin(), observers_.end(), observer), observers_.end());
}

void Tree::beginBulkUpdate() {
    if (bulkDepth_++ == 0)
        for (TreeObserver* o : observers_) o->beginReset();
}

void Tree::endBulkUpdate() {
    assert(bulkDepth_ > 0);
    if (--bulkDepth_ > 0) return;
    for (TreeObserver* o : observers_) o->endReset();
    // Expansion and selection live in the views, which a reset wipes: replay them now.
    auto requests = std::move(pendingRequests_);
    pendingRequests_.clear();
    for (auto [kind, node] : requests) request(kind, node);
}

void Tree::dropPendingRequestsBelow(const TreeNode* node) {
    std::erase_if(pendingRequests_, [node](const auto& r) {
        for (const TreeNode* p = r.second; p; p = p->parent_)
            if (p == node) return true;
        return false;
    });
}

void Tree::request(RequestKind kind, TreeNode* node) {
    if (bulkDepth_ > 0) {
        pendingRequests_.emplace_back(kind, node);
        return;
    }
    for (TreeObserver* o : observers_) {
        switch (kind) {
        case RequestKind::Expand: o->expandRequested(node); break;
        case RequestKind::Collapse: o->collapseRequested(node); break;
        case RequestKind::Select: o->selectRequested(node); break;
        case RequestKind::ClearSelection: o->clearSelectionRequested(); break;
        }
    }
}

void Tree::requestExpand(TreeNode* node) { request(RequestKind::Expand, node); }
void Tree::requestCollapse(TreeNode* node) { request(RequestKind::Collapse, node); }
void Tree::requestSelect(TreeNode* node) { request(RequestKind::Select, node); }
void Tree::requestClearSelection() { request(RequestKind::ClearSelection, nullptr); }

} // namespace velmo
