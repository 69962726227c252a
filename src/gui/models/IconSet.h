#pragma once
#include <QIcon>

namespace velmo::gui {

// The program's 19 icons of 16 x 16 pixels, drawn once on first use. Disk kinds, root marks,
// folders and the eight song statuses each look different; 14 to 18 serve tabs and menus.
class IconSet {
public:
    static QIcon icon(int index);
    static QPixmap pixmap(int index);
};

} // namespace velmo::gui
