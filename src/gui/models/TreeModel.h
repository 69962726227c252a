#pragma once
#include <QAbstractItemModel>

#include <functional>

#include "musicdb/Tree.h"

namespace velmo::gui {

// A Qt model over one of the core's trees. It keeps no copy: rows are read from the tree,
// and the tree's notifications become the model's row signals (a bulk update one reset).
class TreeModel : public QAbstractItemModel, private TreeObserver {
    Q_OBJECT
public:
    explicit TreeModel(Tree& tree, QObject* parent = nullptr);
    ~TreeModel() override;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;
    // Every node offers an in-place edit; the view decides which one may be renamed.
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    TreeNode* nodeAt(const QModelIndex& index) const;
    QModelIndex indexOf(const TreeNode* node) const;
    Tree& tree() const { return tree_; }
    // The hint shown over a song (empty: none).
    void setHintProvider(std::function<QString(const TDataRec&)> provider) { hint_ = std::move(provider); }

signals:
    // Requests of the core for the view's own state.
    void viewExpandRequested(const QModelIndex& index);
    void viewCollapseRequested(const QModelIndex& index);
    void viewSelectRequested(const QModelIndex& index);
    void viewClearSelectionRequested();

private:
    void beginInsert(TreeNode* parent, size_t first, size_t last) override;
    void endInsert() override;
    void beginRemove(TreeNode* parent, size_t first, size_t last) override;
    void endRemove() override;
    void beginMove(TreeNode* parent, size_t from, size_t to) override;
    void endMove() override;
    void nodeChanged(TreeNode* node, ChangedRoles roles) override;
    void beginReset() override;
    void endReset() override;
    void expandRequested(TreeNode* node) override;
    void collapseRequested(TreeNode* node) override;
    void selectRequested(TreeNode* node) override;
    void clearSelectionRequested() override;

    Tree& tree_;
    std::function<QString(const TDataRec&)> hint_;
};

} // namespace velmo::gui
