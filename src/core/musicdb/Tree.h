#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "musicdb/ChangedRoles.h"

namespace velmo {

struct TDataRec;
class Tree;

// A node of the music tree or the folder tree: a text, an image index (which is also its
// selected index), its children in order and the record it stands for. Nodes know their row
// among their siblings, so a model's parent() is constant time.
class TreeNode {
public:
    TreeNode() = default;
    TreeNode(const TreeNode&) = delete;
    TreeNode& operator=(const TreeNode&) = delete;

    const std::string& text() const { return text_; }
    uint8_t imageIndex() const { return image_; }
    TDataRec* data() const { return data_; }
    // The parent node, or nullptr for a top-level node.
    TreeNode* parent() const { return parent_; }
    size_t row() const { return row_; }
    size_t childCount() const { return children_.size(); }
    bool hasChildren() const { return !children_.empty(); }
    TreeNode* child(size_t i) const { return children_[i].get(); }
    TreeNode* firstChild() const { return children_.empty() ? nullptr : children_.front().get(); }
    TreeNode* lastChild() const { return children_.empty() ? nullptr : children_.back().get(); }
    TreeNode* nextSibling() const;

    // The record pointer is the caller's to manage; it causes no notification.
    void setData(TDataRec* rec) { data_ = rec; }

private:
    friend class Tree;
    std::string text_;
    std::vector<std::unique_ptr<TreeNode>> children_;
    TreeNode* parent_ = nullptr;
    TDataRec* data_ = nullptr;
    Tree* tree_ = nullptr;
    uint32_t row_ = 0;
    uint8_t image_ = 0;
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
    void clear();
    void setText(TreeNode* node, std::string text);
    void setImageIndex(TreeNode* node, uint8_t image);

    // Depth-first pre-order walk; `visit` gets each node and its level.
    void forEach(const std::function<void(TreeNode*, int)>& visit) const;

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
    static void renumber(std::vector<std::unique_ptr<TreeNode>>& kids, size_t from, size_t to);
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
