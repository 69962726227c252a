#pragma once
#include <QDialog>

namespace velmo::gui {

// The four dialogs of the program, created at start-up and kept until exit. Their contents
// come with the add-disk, copy and options work; until then they are empty windows with their
// names and captions.
class TAddCDForm : public QDialog {
    Q_OBJECT
public:
    explicit TAddCDForm(QWidget* parent);
};

class TCopyCDForm : public QDialog {
    Q_OBJECT
public:
    explicit TCopyCDForm(QWidget* parent);
};

class TOptionsForm : public QDialog {
    Q_OBJECT
public:
    explicit TOptionsForm(QWidget* parent);
};

class TOpenFolderForm : public QDialog {
    Q_OBJECT
public:
    explicit TOpenFolderForm(QWidget* parent);
};

} // namespace velmo::gui
