#pragma once
#include <QDialog>

namespace velmo {
class TextTable;
}

namespace velmo::gui {

// Dialogs of the program created at start-up and kept until exit. Their contents come with
// the copy and options work; until then they are empty windows with their names and captions.
class TCopyCDForm : public QDialog {
    Q_OBJECT
public:
    TCopyCDForm(const TextTable& texts, QWidget* parent);
};

class TOptionsForm : public QDialog {
    Q_OBJECT
public:
    TOptionsForm(const TextTable& texts, QWidget* parent);
};

} // namespace velmo::gui
