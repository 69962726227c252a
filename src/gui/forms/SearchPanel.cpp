#include "forms/SearchPanel.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

namespace velmo::gui {

SearchPanel::SearchPanel(QWidget* parent) : QWidget(parent) {
    setObjectName("PanelSearch");
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    EditSearch = new QLineEdit(this);
    EditSearch->setObjectName("EditSearch");
    layout->addWidget(EditSearch, 1);
    auto button = [this, layout](const char* name) {
        auto* b = new QPushButton(this);
        b->setObjectName(name);
        b->setEnabled(false);
        layout->addWidget(b);
        return b;
    };
    ButtonSearch = button("ButtonSearch");
    ButtonSearchPrev = button("ButtonSearchPrev");
    ButtonSearchNext = button("ButtonSearchNext");
}

void SearchPanel::disableSteps() {
    ButtonSearchPrev->setEnabled(false);
    ButtonSearchNext->setEnabled(false);
}

void SearchPanel::reset() {
    EditSearch->clear();
    disableSteps();
}

void SearchPanel::focusField() {
    disableSteps();
    EditSearch->setFocus();
}

void SearchPanel::pressNext() {
    if (ButtonSearchNext->isEnabled()) ButtonSearchNext->click();
}

void SearchPanel::pressPrev() {
    if (ButtonSearchPrev->isEnabled()) ButtonSearchPrev->click();
}

} // namespace velmo::gui
