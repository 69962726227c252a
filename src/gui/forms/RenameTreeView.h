#pragma once
#include <QTreeView>
#include <functional>
#include <optional>
#include <string>

namespace velmo {
class TreeNode;
}

namespace velmo::gui {

// A tree whose nodes are renamed in place. The window says which node an edit renames (none:
// no edit starts) and what the end of the edit does; the new text reaches it only after the
// view has let go of its editor, because applying it may rebuild the very tree being edited.
class RenameTreeView : public QTreeView {
    Q_OBJECT
public:
    struct Hooks {
        // The music-tree node an edit of this row renames, or nullptr when it may not be edited.
        std::function<TreeNode*(const QModelIndex&)> nodeToRename;
        // The edit ended: with the new text, or nullopt when it was cancelled or its row went
        // away (the node may be gone then and must not be touched).
        std::function<void(TreeNode* node, std::optional<std::string> text)> editEnded;
    };
    explicit RenameTreeView(QWidget* parent);
    ~RenameTreeView() override;
    void setHooks(Hooks hooks) { hooks_ = std::move(hooks); }
    // An in-place edit is open.
    bool editing() const { return target_ != nullptr; }
    // The triggers of an in-place edit (F2, a click on the selected node); none while renaming
    // is locked.
    void setRenameLocked(bool locked);

    // Called by the editor: it opened, it was submitted.
    void editorOpened(QWidget* editor);
    void submitText(const QString& text) { submitted_ = text.toStdString(); }
    // Whether the edited node is a disk: its text legitimately holds "<" and "/".
    bool editingDisk() const;

protected:
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    void endEdit();

    Hooks hooks_;
    QWidget* editor_ = nullptr;
    TreeNode* target_ = nullptr;
    std::optional<std::string> submitted_;
};

} // namespace velmo::gui
