#include "forms/Dialogs.h"

#include "forms/WindowTexts.h"

namespace velmo::gui {

TOptionsForm::TOptionsForm(const TextTable& texts, QWidget* parent) : QDialog(parent) {
    setObjectName("TOptionsForm");
    applyTexts(this, texts);
}

} // namespace velmo::gui
