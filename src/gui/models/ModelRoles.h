#pragma once
#include <QList>
#include <Qt>

#include "musicdb/ChangedRoles.h"

namespace velmo::gui {

// The Qt roles a core change touched: the caption is the display role (and the hint, which
// names the song), the icon the decoration role.
inline QList<int> rolesOf(ChangedRoles roles) {
    QList<int> out;
    if (roles & TextChanged) out << Qt::DisplayRole << Qt::ToolTipRole;
    if (roles & IconChanged) out << Qt::DecorationRole;
    return out;
}

} // namespace velmo::gui
