#include "forms/RenameTreeView.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QStyledItemDelegate>

#include "base/RefusedCharacters.h"
#include "musicdb/Tree.h"

namespace velmo::gui {

namespace {

constexpr QAbstractItemView::EditTriggers kRenameTriggers =
    QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked;

// Drops the characters a name cannot hold as they are typed. A disk's text holds "<" and "/"
// of its own, so there only the typed text counts.
class RefusingFilter : public QObject {
public:
    RefusingFilter(QLineEdit* editor, bool disk) : QObject(editor), editor_(editor), disk_(disk) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            const std::string typed = static_cast<QKeyEvent*>(event)->text().toStdString();
            if (refusesTypedText(disk_ ? std::string() : editor_->text().toStdString(), typed)) return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QLineEdit* editor_;
    bool disk_;
};

class RenameDelegate : public QStyledItemDelegate {
public:
    explicit RenameDelegate(RenameTreeView* view) : QStyledItemDelegate(view), view_(view) {}
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto* line = qobject_cast<QLineEdit*>(editor))
            line->installEventFilter(new RefusingFilter(line, view_->editingDisk()));
        view_->editorOpened(editor);
        return editor;
    }
    // The model is not written: the window applies the text once the editor has closed.
    void setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex&) const override {
        if (auto* line = qobject_cast<QLineEdit*>(editor)) view_->submitText(line->text());
    }

private:
    RenameTreeView* view_;
};

} // namespace

RenameTreeView::RenameTreeView(QWidget* parent) : QTreeView(parent) {
    setItemDelegate(new RenameDelegate(this));
    setEditTriggers(kRenameTriggers);
}

RenameTreeView::~RenameTreeView() {
    // An editor still open goes with the view's children, when this part of the view is gone.
    if (editor_) disconnect(editor_, nullptr, this, nullptr);
}

void RenameTreeView::setRenameLocked(bool locked) { setEditTriggers(locked ? NoEditTriggers : kRenameTriggers); }

bool RenameTreeView::editingDisk() const { return target_ && !target_->parent(); }

bool RenameTreeView::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
    // The view asks this of every key press and click too; only a trigger opens an edit.
    if (trigger == NoEditTriggers) return QTreeView::edit(index, trigger, event);
    if (editing() || !index.isValid()) return false;
    if (editTriggers() == NoEditTriggers) return false;
    if (!(editTriggers() & trigger) && trigger != AllEditTriggers) return QTreeView::edit(index, trigger, event);
    TreeNode* node = hooks_.nodeToRename ? hooks_.nodeToRename(index) : nullptr;
    if (!node) return false;
    target_ = node;
    submitted_.reset();
    if (QTreeView::edit(index, trigger, event)) return true;
    target_ = nullptr;
    return false;
}

void RenameTreeView::editorOpened(QWidget* editor) {
    editor_ = editor;
    // A model reset or the removal of the edited row drops the editor without closing it: the
    // edit has ended then too, with nothing renamed.
    connect(editor, &QObject::destroyed, this, [this](QObject* gone) {
        if (gone != editor_) return;
        submitted_.reset();
        endEdit();
    });
}

void RenameTreeView::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) {
    QTreeView::closeEditor(editor, hint);
    if (editor == editor_) endEdit();
}

void RenameTreeView::endEdit() {
    editor_ = nullptr;
    TreeNode* node = target_;
    if (!node) return;
    target_ = nullptr;
    std::optional<std::string> text = std::move(submitted_);
    submitted_.reset();
    if (hooks_.editEnded) hooks_.editEnded(node, std::move(text));
}

} // namespace velmo::gui
