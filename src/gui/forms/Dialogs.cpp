#include "forms/Dialogs.h"

namespace velmo::gui {

namespace {
void name(QDialog* dialog, const char* objectName, const char* caption) {
    dialog->setObjectName(objectName);
    dialog->setWindowTitle(caption);
}
} // namespace

TAddCDForm::TAddCDForm(QWidget* parent) : QDialog(parent) {
    name(this, "TAddCDForm", "Adding a disk/folder to your music data base");
}
TCopyCDForm::TCopyCDForm(QWidget* parent) : QDialog(parent) { name(this, "TCopyCDForm", "Copying files..."); }
TOptionsForm::TOptionsForm(QWidget* parent) : QDialog(parent) { name(this, "TOptionsForm", "Options"); }
TOpenFolderForm::TOpenFolderForm(QWidget* parent) : QDialog(parent) {
    name(this, "TOpenFolderForm", "Choose folder...");
}

} // namespace velmo::gui
