#include "forms/Dialogs.h"

#include "forms/WindowTexts.h"

namespace velmo::gui {

TCopyCDForm::TCopyCDForm(const TextTable& texts, QWidget* parent) : QDialog(parent) {
    setObjectName("TCopyCDForm");
    applyTexts(this, texts);
}

TOptionsForm::TOptionsForm(const TextTable& texts, QWidget* parent) : QDialog(parent) {
    setObjectName("TOptionsForm");
    applyTexts(this, texts);
}

} // namespace velmo::gui
