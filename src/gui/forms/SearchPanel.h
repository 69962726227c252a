#pragma once
#include <QWidget>
#include <functional>

#include "musicdb/TreeSearch.h"

class QLineEdit;
class QPushButton;

namespace velmo {
struct Session;
class Tree;
class TreeNode;
}

namespace velmo::gui {

// The search panel above the trees: the search text, Search and the two step buttons. The
// hits are the core's; the window says which tree is shown, what is selected in it, and how a
// hit is shown.
class SearchPanel : public QWidget {
    Q_OBJECT
public:
    struct Window {
        std::function<const Tree&()> visibleTree;
        std::function<const TreeNode*()> selectedNode;
        std::function<void(const TreeNode*)> showHit;
    };
    SearchPanel(Session& session, QWidget* parent);
    void setWindow(Window window) { window_ = std::move(window); }

    // The hits no longer belong to what is shown: no stepping through them.
    void disableSteps();
    // Another tree is shown: the text and its hits are gone.
    void reset();
    // Ctrl+F: a new search is typed.
    void focusField();
    // F3 and Alt+F3: step while the step is possible.
    void pressNext();
    void pressPrev();

    void ButtonSearchClick();
    void ButtonSearchNextClick();
    void ButtonSearchPrevClick();

    QLineEdit* EditSearch = nullptr;
    QPushButton* ButtonSearch = nullptr;
    QPushButton* ButtonSearchPrev = nullptr;
    QPushButton* ButtonSearchNext = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void EditSearchChange(bool byUser);

    Session& s_;
    Window window_;
    // Observes the searched tree, so it goes with this panel, before the database.
    TreeSearch search_;
};

} // namespace velmo::gui
