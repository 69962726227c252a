#include "models/ListModel.h"

#include "models/IconSet.h"
#include "models/ModelRoles.h"
#include "musicdb/TDataRec.h"

namespace velmo::gui {

ListModel::ListModel(ItemList& list, QObject* parent) : QAbstractListModel(parent), list_(list) {
    list_.addObserver(this);
}

ListModel::~ListModel() { list_.removeObserver(this); }

int ListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(list_.size());
}

ListItem* ListModel::itemAt(const QModelIndex& index) const {
    if (!index.isValid() || index.row() < 0) return nullptr;
    return list_.at(static_cast<size_t>(index.row()));
}

QVariant ListModel::data(const QModelIndex& index, int role) const {
    const ListItem* item = itemAt(index);
    if (!item) return {};
    switch (role) {
    case Qt::DisplayRole: return QString::fromStdString(item->caption());
    case Qt::DecorationRole: return IconSet::icon(item->imageIndex());
    case Qt::ToolTipRole:
        if (hint_ && item->data()) {
            const QString hint = hint_(*item->data());
            if (!hint.isEmpty()) return hint;
        }
        return {};
    default: return {};
    }
}

void ListModel::beginInsert(size_t first, size_t last) {
    beginInsertRows({}, static_cast<int>(first), static_cast<int>(last));
}
void ListModel::endInsert() { endInsertRows(); }
void ListModel::beginRemove(size_t first, size_t last) {
    beginRemoveRows({}, static_cast<int>(first), static_cast<int>(last));
}
void ListModel::endRemove() { endRemoveRows(); }
void ListModel::itemChanged(size_t first, size_t last, ChangedRoles roles) {
    emit dataChanged(index(static_cast<int>(first)), index(static_cast<int>(last)), rolesOf(roles));
}
void ListModel::beginReset() { beginResetModel(); }
void ListModel::endReset() { endResetModel(); }

} // namespace velmo::gui
