#include "models/TreeModel.h"

#include "models/IconSet.h"
#include "models/ModelRoles.h"
#include "musicdb/SongStatus.h"
#include "musicdb/TDataRec.h"

namespace velmo::gui {

TreeModel::TreeModel(Tree& tree, QObject* parent) : QAbstractItemModel(parent), tree_(tree) {
    tree_.addObserver(this);
}

TreeModel::~TreeModel() { tree_.removeObserver(this); }

TreeNode* TreeModel::nodeAt(const QModelIndex& index) const {
    return index.isValid() ? static_cast<TreeNode*>(index.internalPointer()) : nullptr;
}

QModelIndex TreeModel::indexOf(const TreeNode* node) const {
    return node ? createIndex(static_cast<int>(node->row()), 0, const_cast<TreeNode*>(node)) : QModelIndex();
}

QModelIndex TreeModel::index(int row, int column, const QModelIndex& parent) const {
    const TreeNode* p = nodeAt(parent);
    if (column != 0 || row < 0 || static_cast<size_t>(row) >= tree_.childCount(p)) return {};
    return createIndex(row, 0, tree_.child(p, static_cast<size_t>(row)));
}

QModelIndex TreeModel::parent(const QModelIndex& child) const {
    const TreeNode* node = nodeAt(child);
    return node ? indexOf(node->parent()) : QModelIndex();
}

int TreeModel::rowCount(const QModelIndex& parent) const {
    if (parent.column() > 0) return 0;
    return static_cast<int>(tree_.childCount(nodeAt(parent)));
}

int TreeModel::columnCount(const QModelIndex&) const { return 1; }

bool TreeModel::hasChildren(const QModelIndex& parent) const { return rowCount(parent) > 0; }

QVariant TreeModel::data(const QModelIndex& index, int role) const {
    const TreeNode* node = nodeAt(index);
    if (!node) return {};
    switch (role) {
    case Qt::DisplayRole: return QString::fromStdString(node->text());
    case Qt::DecorationRole: return IconSet::icon(node->imageIndex());
    case Qt::ToolTipRole:
        if (hint_ && isSongImage(node->imageIndex()) && node->data()) {
            const QString hint = hint_(*node->data());
            if (!hint.isEmpty()) return hint;
        }
        return {};
    default: return {};
    }
}

Qt::ItemFlags TreeModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = QAbstractItemModel::flags(index);
    if (index.isValid()) f |= Qt::ItemIsEditable;
    return f;
}

void TreeModel::beginInsert(TreeNode* parent, size_t first, size_t last) {
    beginInsertRows(indexOf(parent), static_cast<int>(first), static_cast<int>(last));
}
void TreeModel::endInsert() { endInsertRows(); }
void TreeModel::beginRemove(TreeNode* parent, size_t first, size_t last) {
    beginRemoveRows(indexOf(parent), static_cast<int>(first), static_cast<int>(last));
}
void TreeModel::endRemove() { endRemoveRows(); }
void TreeModel::beginMove(TreeNode* parent, size_t from, size_t to) {
    // Qt counts the destination before the move: a row moving down goes before row to + 1.
    const QModelIndex p = indexOf(parent);
    const int row = static_cast<int>(from);
    beginMoveRows(p, row, row, p, static_cast<int>(to > from ? to + 1 : to));
}
void TreeModel::endMove() { endMoveRows(); }
void TreeModel::nodeChanged(TreeNode* node, ChangedRoles roles) {
    const QModelIndex i = indexOf(node);
    emit dataChanged(i, i, rolesOf(roles));
}
void TreeModel::beginReset() { beginResetModel(); }
void TreeModel::endReset() { endResetModel(); }
void TreeModel::expandRequested(TreeNode* node) { emit viewExpandRequested(indexOf(node)); }
void TreeModel::collapseRequested(TreeNode* node) { emit viewCollapseRequested(indexOf(node)); }
void TreeModel::selectRequested(TreeNode* node) { emit viewSelectRequested(indexOf(node)); }
void TreeModel::clearSelectionRequested() { emit viewClearSelectionRequested(); }

} // namespace velmo::gui
