#include "forms/PlayerPanel.h"

#include <QHBoxLayout>
#include <QPushButton>

#include "models/IconSet.h"

namespace velmo::gui {

PlayerPanel::PlayerPanel(QWidget* parent) : QWidget(parent) {
    setObjectName("PanelPlayer");
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    ButtonPlayNow = new QPushButton(this);
    ButtonPlayNow->setObjectName("ButtonPlayNow");
    layout->addWidget(ButtonPlayNow);
    layout->addStretch(1);
    BitBtnShowCopyProgress = new QPushButton(this);
    BitBtnShowCopyProgress->setObjectName("BitBtnShowCopyProgress");
    BitBtnShowCopyProgress->setIcon(IconSet::icon(16));
    BitBtnShowCopyProgress->hide();
    layout->addWidget(BitBtnShowCopyProgress);
}

} // namespace velmo::gui
