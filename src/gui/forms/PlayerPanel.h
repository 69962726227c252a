#pragma once
#include <QWidget>

class QPushButton;

namespace velmo::gui {

// The player panel below the tabs: Play now, and the button that shows a running copy.
class PlayerPanel : public QWidget {
    Q_OBJECT
public:
    explicit PlayerPanel(QWidget* parent);

    QPushButton* ButtonPlayNow = nullptr;
    QPushButton* BitBtnShowCopyProgress = nullptr;
};

} // namespace velmo::gui
