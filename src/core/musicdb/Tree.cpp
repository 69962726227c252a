#include "musicdb/Tree.h"

#include <algorithm>
#include <cassert>

namespace velmo {

TreeNode* TreeNode::nextSibling() const {
    // Top-level siblings live under the tree's hidden root.
    const TreeNode* owner = parent_ ? parent_ : &tree_->root_;
    return row_ + 1 < owner->children_.size() ? owner->children_[row_ + 1].get() : nullptr;
}

int TreeNode::level() const {
    int depth = 0;
    for (const TreeNode* p = parent_; p; p = p->parent_) ++depth;
    return depth;
}

Tree::Tree() { root_.tree_ = this; }
Tree::~Tree() = default;

TreeNode* Tree::insert(TreeNode* parent, size_t row, std::string text, uint8_t image) {
    TreeNode* owner = parentOrRoot(parent);
    assert(row <= owner->children_.size());
    notify([&](TreeObserver* o) { o->beginInsert(parent, row); });
    auto node = std::make_unique<TreeNode>();
    node->text_ = std::move(text);
    node->image_ = image;
    node->parent_ = parent;
    node->tree_ = this;
    TreeNode* raw = node.get();
    auto& kids = owner->children_;
    kids.insert(kids.begin() + static_cast<std::ptrdiff_t>(row), std::move(node));
    for (size_t i = row; i < kids.size(); ++i) kids[i]->row_ = static_cast<uint32_t>(i);
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
    notify([&](TreeObserver* o) { o->beginRemove(node->parent_, row); });
    auto& kids = owner->children_;
    kids.erase(kids.begin() + static_cast<std::ptrdiff_t>(row));
    for (size_t i = row; i < kids.size(); ++i) kids[i]->row_ = static_cast<uint32_t>(i);
    notify([](TreeObserver* o) { o->endRemove(); });
}

void Tree::clear() {
    notify([](TreeObserver* o) { o->beginReset(); });
    pendingRequests_.clear();
    root_.children_.clear();
    notify([](TreeObserver* o) { o->endReset(); });
}

void Tree::setText(TreeNode* node, std::string text) {
    node->text_ = std::move(text);
    notify([&](TreeObserver* o) { o->nodeChanged(node); });
}

void Tree::setImageIndex(TreeNode* node, uint8_t image) {
    if (node->image_ == image) return;
    node->image_ = image;
    notify([&](TreeObserver* o) { o->nodeChanged(node); });
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
