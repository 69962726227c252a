#pragma once
#include <QWidget>

class QLineEdit;
class QPushButton;

namespace velmo::gui {

// The search panel above the trees: the search text, Search and the two step buttons.
class SearchPanel : public QWidget {
    Q_OBJECT
public:
    explicit SearchPanel(QWidget* parent);

    // The hits no longer belong to what is shown: no stepping through them.
    void disableSteps();
    // Another tree is shown: the text and its hits are gone.
    void reset();
    // Ctrl+F: a new search is typed.
    void focusField();
    // F3 and Alt+F3: step while the step is possible.
    void pressNext();
    void pressPrev();

    QLineEdit* EditSearch = nullptr;
    QPushButton* ButtonSearch = nullptr;
    QPushButton* ButtonSearchPrev = nullptr;
    QPushButton* ButtonSearchNext = nullptr;
};

} // namespace velmo::gui
