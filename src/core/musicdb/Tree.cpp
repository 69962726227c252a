#include "musicdb/Tree.h"

#include <algorithm>
#include <cassert>

namespace velmo {

const TreeNode* TreeNode::owner_() const {
    // Top-level siblings live under the tree's hidden root.
    return parent_;
}

TreeNode::~TreeNode() {
    std::vector<TreeNode*> kids;
    children_.takeAll(kids);
    for (TreeNode* k : kids) delete k;
}

void TreeNode::renumberChildren() const {
    for (size_t i = staleFrom_; i < children_.size(); ++i) children_[i]->row_ = static_cast<uint32_t>(i);
    staleFrom_ = kNoneStale;
}

TreeNode* TreeNode::nextSibling() const {
    const TreeNode* owner = owner_();
    const size_t next = row() + 1;
    return next < owner->children_.size() ? owner->children_[next] : nullptr;
}

Tree::Tree() = default;
Tree::~Tree() = default;

TreeNode* Tree::insert(TreeNode* parent, size_t row, std::string text, uint8_t image) {
    TreeNode* owner = parentOrRoot(parent);
    assert(row <= owner->children_.size());
    notify([&](TreeObserver* o) { o->beginInsert(parent, row, row); });
    auto* node = new TreeNode;
    node->text_ = std::move(text);
    node->image_ = image;
    node->parent_ = owner;
    node->row_ = static_cast<uint32_t>(row);
    auto& kids = owner->children_;
    kids.insert(row, node);
    // The siblings behind it moved: stale from the new row on (an append moves none).
    if (row + 1 < kids.size()) owner->markStaleFrom(row);
    notify([](TreeObserver* o) { o->endInsert(); });
    return node;
}

TreeNode* Tree::append(TreeNode* parent, std::string text, uint8_t image) {
    return insert(parent, childCount(parent), std::move(text), image);
}

void Tree::remove(TreeNode* node) {
    TreeNode* owner = node->parent_;
    const size_t row = node->row();
    if (!pendingRequests_.empty()) dropPendingRequestsBelow(node);
    notify([&](TreeObserver* o) { o->beginRemove(node->parent(), row, row); });
    std::vector<TreeNode*> taken;
    owner->children_.erase(row, row + 1, taken);
    owner->markStaleFrom(row);
    delete node;
    notify([](TreeObserver* o) { o->endRemove(); });
}

void Tree::removeChildren(TreeNode* parent, const std::vector<size_t>& rows) {
    if (rows.empty()) return;
    TreeNode* owner = parentOrRoot(parent);
    auto& kids = owner->children_;
    if (!pendingRequests_.empty())
        for (size_t r : rows) dropPendingRequestsBelow(kids[r]);
    std::vector<TreeNode*> taken;
    if (notifying()) {
        // Runs from the last one, so the rows of the runs still to come stay valid.
        size_t end = rows.size();
        while (end > 0) {
            size_t begin = end - 1;
            while (begin > 0 && rows[begin - 1] + 1 == rows[begin]) --begin;
            const size_t first = rows[begin], last = rows[end - 1];
            notify([&](TreeObserver* o) { o->beginRemove(parent, first, last); });
            kids.erase(first, last + 1, taken);
            owner->markStaleFrom(first);
            for (TreeNode* gone : taken) delete gone;
            taken.clear();
            notify([](TreeObserver* o) { o->endRemove(); });
            end = begin;
        }
        return;
    }
    // Unobserved: one compaction of the siblings, whatever the number of rows.
    kids.eraseRows(rows, taken);
    owner->markStaleFrom(rows.front());
    for (TreeNode* gone : taken) delete gone;
}

void Tree::move(TreeNode* node, size_t row) {
    TreeNode* owner = node->parent_;
    auto& kids = owner->children_;
    const size_t from = node->row();
    assert(row < kids.size());
    if (row == from) return;
    notify([&](TreeObserver* o) { o->beginMove(node->parent(), from, row); });
    std::vector<TreeNode*> taken;
    kids.erase(from, from + 1, taken);
    kids.insert(row, node);
    owner->markStaleFrom(std::min(from, row));
    notify([](TreeObserver* o) { o->endMove(); });
}

void Tree::clear() {
    notify([](TreeObserver* o) { o->beginReset(); });
    pendingRequests_.clear();
    std::vector<TreeNode*> taken;
    root_.children_.takeAll(taken);
    for (TreeNode* gone : taken) delete gone;
    root_.staleFrom_ = TreeNode::kNoneStale;
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
