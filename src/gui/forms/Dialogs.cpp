#include "forms/Dialogs.h"

namespace velmo::gui {

namespace {
void name(QDialog* dialog, const char* objectName, const char* caption) {
    dialog->setObjectName(objectName);
    dialog->setWindowTitle(caption);
}
} // namespace

TCopyCDForm::TCopyCDForm(QWidget* parent) : QDialog(parent) { name(this, "TCopyCDForm", "Copying files..."); }
TOptionsForm::TOptionsForm(QWidget* parent) : QDialog(parent) { name(this, "TOptionsForm", "Options"); }

} // namespace velmo::gui
