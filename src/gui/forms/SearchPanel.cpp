#include "forms/SearchPanel.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

#include "app/Session.h"
#include "base/MessageTable.h"
#include "base/UserInterface.h"

namespace velmo::gui {

// Upper-cased with the rules of the locale the trees are sorted by.
SearchPanel::SearchPanel(Session& session, QWidget* parent)
    : QWidget(parent), s_(session), search_(session.db.collator().localeName()) {
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

    connect(EditSearch, &QLineEdit::textEdited, this, [this] { EditSearchChange(true); });
    connect(EditSearch, &QLineEdit::textChanged, this, [this] { EditSearchChange(false); });
    // While the field has the focus, Search is the default button: Enter searches.
    connect(EditSearch, &QLineEdit::returnPressed, this, [this] {
        if (ButtonSearch->isEnabled()) ButtonSearch->click();
    });
    EditSearch->installEventFilter(this);
    connect(ButtonSearch, &QPushButton::clicked, this, &SearchPanel::ButtonSearchClick);
    connect(ButtonSearchNext, &QPushButton::clicked, this, &SearchPanel::ButtonSearchNextClick);
    connect(ButtonSearchPrev, &QPushButton::clicked, this, &SearchPanel::ButtonSearchPrevClick);
}

bool SearchPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == EditSearch && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut))
        ButtonSearch->setDefault(event->type() == QEvent::FocusIn);
    return QWidget::eventFilter(watched, event);
}

void SearchPanel::EditSearchChange(bool byUser) {
    ButtonSearch->setEnabled(!EditSearch->text().isEmpty());
    // The hits belong to the text they were found for.
    if (byUser) disableSteps();
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
    EditSearchChange(false);
    disableSteps();
    EditSearch->setFocus();
}

void SearchPanel::pressNext() {
    if (ButtonSearchNext->isEnabled()) ButtonSearchNext->click();
}

void SearchPanel::pressPrev() {
    if (ButtonSearchPrev->isEnabled()) ButtonSearchPrev->click();
}

void SearchPanel::ButtonSearchClick() {
    const QString trimmed = QString::fromStdString(TreeSearch::trimOuterStars(EditSearch->text().toStdString()));
    if (trimmed != EditSearch->text()) EditSearch->setText(trimmed);
    if (!window_.visibleTree) return;
    const size_t hits = search_.SearchInTree(window_.visibleTree(), search_.splitWords(trimmed.toStdString()));
    ButtonSearchPrev->setEnabled(hits > 0);
    ButtonSearchNext->setEnabled(hits > 0);
    if (hits > 0) {
        window_.showHit(search_.hits().front());
        return;
    }
    // The first tab shows where nothing was found.
    window_.showHit(nullptr);
    s_.ui.showNotice(s_.messages[msgInformation], s_.messages[msgSubstringNotFound]);
    EditSearch->setFocus();
    EditSearch->selectAll();
}

void SearchPanel::ButtonSearchNextClick() {
    if (const TreeNode* hit = search_.next(window_.selectedNode())) window_.showHit(hit);
}

void SearchPanel::ButtonSearchPrevClick() {
    if (const TreeNode* hit = search_.previous(window_.selectedNode())) window_.showHit(hit);
}

} // namespace velmo::gui
