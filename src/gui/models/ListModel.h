#pragma once
#include <QAbstractListModel>

#include <functional>

#include "musicdb/ItemList.h"

namespace velmo::gui {

// A Qt model over one of the core's song lists; rows are read from the list as they are asked
// for, so a list of a million songs costs the view nothing up front.
class ListModel : public QAbstractListModel, private ItemListObserver {
    Q_OBJECT
public:
    explicit ListModel(ItemList& list, QObject* parent = nullptr);
    ~ListModel() override;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    ListItem* itemAt(const QModelIndex& index) const;
    ItemList& list() const { return list_; }

    // The hint shown over a song (empty: none).
    void setHintProvider(std::function<QString(const TDataRec&)> provider) { hint_ = std::move(provider); }

private:
    void beginInsert(size_t first, size_t last) override;
    void endInsert() override;
    void beginRemove(size_t first, size_t last) override;
    void endRemove() override;
    void itemChanged(size_t first, size_t last, ChangedRoles roles) override;
    void beginReset() override;
    void endReset() override;

    ItemList& list_;
    std::function<QString(const TDataRec&)> hint_;
};

} // namespace velmo::gui
