#pragma once
#include <QDialog>

namespace velmo {
class TextTable;
}

namespace velmo::gui {

// The options dialog, created at start-up and kept until exit. Its contents come with the
// options work; until then it is an empty window with its name and caption.
class TOptionsForm : public QDialog {
    Q_OBJECT
public:
    TOptionsForm(const TextTable& texts, QWidget* parent);
};

} // namespace velmo::gui
