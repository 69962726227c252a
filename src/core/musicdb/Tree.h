#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "musicdb/ChangedRoles.h"
#include "musicdb/ChildList.h"

namespace velmo {

struct TDataRec;
class Tree;

// A node of the music tree or the folder tree: a text, an image index (which is also its
// selected index), its children in order and the record it stands for. Nodes know their row
// among their siblings, so a model's parent() is constant time. Rows are renumbered lazily:
// an insert into the middle of 30,000 siblings marks the rows after it stale instead of
// touching every one of those nodes, and the first row() asked for behind the mark renumbers
// the siblings once.
class TreeNode {
public:
    TreeNode() = default;
    ~TreeNode();
    TreeNode(const TreeNode&) = delete;
    TreeNode& operator=(const TreeNode&) = delete;

    const std::string& text() const { return text_; }
    uint8_t imageIndex() const { return image_; }
    TDataRec* data() const { return data_; }
    // The parent node, or nullptr for a top-level node.
    TreeNode* parent() const { return parent_ && parent_->parent_ ? parent_ : nullptr; }
    size_t row() const {
        const TreeNode* owner = owner_();
        if (row_ >= owner->staleFrom_) owner->renumberChildren();
        return row_;
    }
    size_t childCount() const { return children_.size(); }
    bool hasChildren() const { return !children_.empty(); }
    TreeNode* child(size_t i) const { return children_[i]; }
    TreeNode* firstChild() const { return children_.empty() ? nullptr : children_.front(); }
    TreeNode* lastChild() const { return children_.empty() ? nullptr : children_.back(); }
    TreeNode* nextSibling() const;

    // The record pointer is the caller's to manage; it causes no notification.
    void setData(TDataRec* rec) { data_ = rec; }

private:
    friend class Tree;
    static constexpr uint32_t kNoneStale = UINT32_MAX;
    const TreeNode* owner_() const; // parent_
    void renumberChildren() const;
    void markStaleFrom(size_t row) {
        if (row < children_.size() && row < staleFrom_) staleFrom_ = static_cast<uint32_t>(row);
    }

    // What a comparison reads comes first, so a bisection's probe touches one cache line more
    // rarely than two.
    std::string text_;
    // Valid for every child whose stored row lies before staleFrom_ (an operation at row k only
    // moves children at k and after).
    mutable uint32_t row_ = 0;
    mutable uint32_t staleFrom_ = kNoneStale;
    uint8_t image_ = 0;
    // The parent, or for a top-level node the tree's hidden root (whose own parent_ is null).
    TreeNode* parent_ = nullptr;
    TDataRec* data_ = nullptr;
    ChildList children_;
};

// What a view needs to follow a tree. Row changes are announced before and after, as a
// Qt model must; during a bulk update only reset notifications are sent. Row ranges are
// inclusive: rows first to last of `parent` (nullptr: the top level).
class TreeObserver {
public:
    virtual ~TreeObserver() = default;
    virtual void beginInsert(TreeNode* /*parent*/, size_t /*first*/, size_t /*last*/) {}
    virtual void endInsert() {}
    virtual void beginRemove(TreeNode* /*parent*/, size_t /*first*/, size_t /*last*/) {}
    virtual void endRemove() {}
    // A node moves among its siblings from row `from` to row `to` (its row once moved).
    virtual void beginMove(TreeNode* /*parent*/, size_t /*from*/, size_t /*to*/) {}
    virtual void endMove() {}
    virtual void nodeChanged(TreeNode* /*node*/, ChangedRoles /*roles*/) {}
    virtual void beginReset() {}
    virtual void endReset() {}
    // Requests for the view's own state, made by merges and scans.
    virtual void expandRequested(TreeNode* /*node*/) {}
    virtual void collapseRequested(TreeNode* /*node*/) {}
    virtual void selectRequested(TreeNode* /*node*/) {}
    virtual void clearSelectionRequested() {}
};

class Tree {
    friend class TreeNode;

public:
    Tree();
    Tree(const Tree&) = delete;
    Tree& operator=(const Tree&) = delete;
    ~Tree();

    size_t topLevelCount() const { return root_.childCount(); }
    TreeNode* topLevel(size_t i) const { return root_.child(i); }
    bool empty() const { return root_.children_.empty(); }
    size_t childCount(const TreeNode* parent) const { return parent ? parent->childCount() : topLevelCount(); }
    TreeNode* child(const TreeNode* parent, size_t i) const { return parent ? parent->child(i) : topLevel(i); }

    // Inserts a new node under `parent` (nullptr: top level) at `row`.
    TreeNode* insert(TreeNode* parent, size_t row, std::string text, uint8_t image);
    TreeNode* append(TreeNode* parent, std::string text, uint8_t image);
    // Removes a node with all its descendants.
    void remove(TreeNode* node);
    // Removes the children of `parent` at `rows` (ascending, no repeats) with their
    // descendants, in one pass over the siblings; observers hear one removal per run of
    // adjacent rows.
    void removeChildren(TreeNode* parent, const std::vector<size_t>& rows);
    // Moves a node among its siblings to `row`, counted as if it had left them first.
    void move(TreeNode* node, size_t row);
    // Lets `reorder` permute the children of `parent` from row `first` on, in place (its
    // arguments: the first and the end of that range). Observers hear a reset.
    template <typename Reorder> void reorderChildren(TreeNode* parent, size_t first, Reorder&& reorder) {
        TreeNode* owner = parentOrRoot(parent);
        if (first >= owner->children_.size()) return;
        notify([](TreeObserver* o) { o->beginReset(); });
        TreeNode** nodes = owner->children_.contiguous();
        reorder(nodes + first, nodes + owner->children_.size());
        owner->markStaleFrom(first);
        notify([](TreeObserver* o) { o->endReset(); });
    }
    void clear();
    void setText(TreeNode* node, std::string text);
    void setImageIndex(TreeNode* node, uint8_t image);

    // Depth-first pre-order walk; `visit` gets each node and its level. Iterative, so deep
    // trees cannot overflow the stack, and inline, as searches call it for every node.
    template <typename Visit> void forEach(Visit&& visit) const {
        std::vector<std::pair<const TreeNode*, size_t>> stack{{&root_, 0}};
        while (!stack.empty()) {
            auto& [node, next] = stack.back();
            if (next == node->children_.size()) {
                stack.pop_back();
                continue;
            }
            TreeNode* c = node->children_[next++];
            visit(c, static_cast<int>(stack.size()) - 1);
            if (!c->children_.empty()) stack.emplace_back(c, 0);
        }
    }

    void addObserver(TreeObserver* observer);
    void removeObserver(TreeObserver* observer);
    // Between beginBulkUpdate and the matching endBulkUpdate observers hear nothing but one
    // reset, sent at the end. Calls nest.
    void beginBulkUpdate();
    void endBulkUpdate();
    bool inBulkUpdate() const { return bulkDepth_ > 0; }

    void requestExpand(TreeNode* node);
    void requestCollapse(TreeNode* node);
    void requestSelect(TreeNode* node);
    void requestClearSelection();

private:
    TreeNode* parentOrRoot(TreeNode* parent) { return parent ? parent : &root_; }
    bool notifying() const { return bulkDepth_ == 0 && !observers_.empty(); }
    template <typename F> void notify(F f) {
        if (bulkDepth_ == 0)
            for (TreeObserver* o : observers_) f(o);
    }

    enum class RequestKind : uint8_t { Expand, Collapse, Select, ClearSelection };
    void request(RequestKind kind, TreeNode* node);
    void dropPendingRequestsBelow(const TreeNode* node);

    TreeNode root_;
    std::vector<TreeObserver*> observers_;
    std::vector<std::pair<RequestKind, TreeNode*>> pendingRequests_;
    int bulkDepth_ = 0;
};

} // namespace velmo
