// The main window's part of "Play now !" and shell open: the player panel and its media
// player, the view the core's player works on, and the keys and clicks that reach them.
#include <QAbstractItemView>
#include <QAction>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QListView>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeView>
#include <algorithm>
#include <functional>

#include "QtMediaPlayer.h"
#include "app/ExternalPlay.h"
#include "app/Session.h"
#include "forms/PlayerPanel.h"
#include "forms/RenameTreeView.h"
#include "forms/TMainForm.h"
#include "forms/WindowPlayerView.h"
#include "models/ListModel.h"
#include "models/TreeModel.h"
#include "musicdb/SongStatus.h"
#include "musicdb/TDataRec.h"

namespace velmo::gui {

namespace {

// The first selected row of a list, found from the selection's ranges (a list may hold a
// million selected rows).
QModelIndex firstSelectedRow(const QAbstractItemView* view) {
    QModelIndex first;
    for (const QItemSelectionRange& range : view->selectionModel()->selection())
        if (!first.isValid() || range.top() < first.row()) first = range.model()->index(range.top(), 0, range.parent());
    return first;
}

// The first selected node of a tree in display order.
QModelIndex firstSelectedNode(const QTreeView* tree) {
    auto path = [](QModelIndex i) {
        std::vector<int> rows;
        for (; i.isValid(); i = i.parent()) rows.push_back(i.row());
        std::reverse(rows.begin(), rows.end());
        return rows;
    };
    QModelIndex first;
    std::vector<int> firstPath;
    for (const QModelIndex& i : tree->selectionModel()->selectedIndexes()) {
        std::vector<int> p = path(i);
        if (!first.isValid() || p < firstPath) {
            first = i;
            firstPath = std::move(p);
        }
    }
    return first;
}

// The item a command on "the selected item" takes: the current one when it is selected, else
// the first selected.
QModelIndex selectedItem(const QAbstractItemView* view) {
    const QModelIndex current = view->currentIndex();
    if (current.isValid() && view->selectionModel()->isSelected(current)) return current;
    if (auto* tree = qobject_cast<const QTreeView*>(view)) return firstSelectedNode(tree);
    return firstSelectedRow(view);
}

// Hands the key presses of a view to the window before the view acts on them.
class KeyRelay : public QObject {
public:
    KeyRelay(QObject* parent, std::function<bool(QWidget*, QKeyEvent*)> handler)
        : QObject(parent), handler_(std::move(handler)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress)
            return handler_(static_cast<QWidget*>(watched), static_cast<QKeyEvent*>(event));
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<bool(QWidget*, QKeyEvent*)> handler_;
};

} // namespace

int WindowPlayerView::activeTab() const { return w_.PageControlTabInt->currentIndex(); }

bool WindowPlayerView::musicTreeVisible() const { return w_.visibleTree() == w_.TreeViewMusicTree; }

std::vector<TDataRec*> WindowPlayerView::selection() const { return w_.SetSelectionList(true, true); }

const TreeNode* WindowPlayerView::selectedTreeNode(bool musicTree) const {
    QTreeView* tree = musicTree ? w_.TreeViewMusicTree : w_.TreeViewFolders;
    TreeModel* model = musicTree ? w_.musicModel_ : w_.folderModel_;
    const QModelIndex first = firstSelectedNode(tree);
    return first.isValid() ? model->nodeAt(first) : nullptr;
}

void WindowPlayerView::selectTreeNode(bool musicTree, const TreeNode* node) {
    QTreeView* tree = musicTree ? w_.TreeViewMusicTree : w_.TreeViewFolders;
    TreeModel* model = musicTree ? w_.musicModel_ : w_.folderModel_;
    const QModelIndex index = node ? model->indexOf(node) : QModelIndex();
    if (!index.isValid()) {
        tree->clearSelection();
        return;
    }
    tree->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    tree->scrollTo(index); // opens the folders above it
}

const ListItem* WindowPlayerView::selectedListItem(int tab) const {
    QListView* list = w_.listOfTab(tab);
    if (!list) return nullptr;
    const QModelIndex first = firstSelectedRow(list);
    return first.isValid() ? w_.listModels_[static_cast<size_t>(tab)]->itemAt(first) : nullptr;
}

void WindowPlayerView::selectListItem(int tab, size_t index) {
    QListView* list = w_.listOfTab(tab);
    if (!list) return;
    const QModelIndex row = list->model()->index(static_cast<int>(index), 0);
    if (!row.isValid()) return;
    list->selectionModel()->setCurrentIndex(row, QItemSelectionModel::ClearAndSelect);
    list->scrollTo(row);
}

void WindowPlayerView::focusActiveView() {
    if (QListView* list = w_.listOfTab(activeTab())) list->setFocus();
    else w_.visibleTree()->setFocus();
}

void WindowPlayerView::showPanel(const Panel& panel) { w_.playerPanel_->showPanel(panel); }

void WindowPlayerView::setPlayNowEnabled(bool enabled) { w_.playerPanel_->ButtonPlayNow->setEnabled(enabled); }

void TMainForm::buildPlayer() {
    media_ = new QtMediaPlayer(this);
    playerView_ = std::make_unique<WindowPlayerView>(*this);
    builtInPlayer_ = std::make_unique<BuiltInPlayer>(s_, *media_, *playerView_);
    playerPanel_->attach(*media_, *builtInPlayer_);

    QPushButton* playNow = playerPanel_->ButtonPlayNow;
    connect(playNow, &QPushButton::clicked, this, &TMainForm::ButtonPlayNowClick);
    connect(ContextMenuItemPlayNow, &QAction::triggered, this, &TMainForm::ButtonPlayNowClick);
    connect(ContextMenuItemShellOpen, &QAction::triggered, this, &TMainForm::ContextMenuItemShellOpenClick);

    auto* keys = new KeyRelay(this, [this](QWidget* view, QKeyEvent* key) { return playKeyPressed(view, key); });
    for (int tab = 1; tab <= 5; ++tab) {
        QListView* list = lists_[static_cast<size_t>(tab)];
        list->installEventFilter(keys);
        connect(list, &QAbstractItemView::doubleClicked, this, [this, playNow] {
            if (playNow->isEnabled()) ButtonPlayNowClick();
        });
    }
    for (QTreeView* tree : {TreeViewMusicTree, TreeViewFolders}) {
        tree->installEventFilter(keys);
        auto* model = static_cast<TreeModel*>(tree->model());
        connect(tree, &QAbstractItemView::doubleClicked, this, [this, tree, model, playNow](const QModelIndex& at) {
            const TreeNode* node = model->nodeAt(at);
            if (node && isSongImage(node->imageIndex()) && tree->selectionModel()->isSelected(at) && playNow->isEnabled())
                ButtonPlayNowClick();
        });
    }
}

void TMainForm::ButtonPlayNowClick() {
    // Nothing plays while a name is being edited in a tree.
    if (inPlaceEditing()) return;
    builtInPlayer_->ButtonPlayNowClick();
}

const TreeNode* TMainForm::shellOpenNode() const {
    const int tab = PageControlTabInt->currentIndex();
    if (QListView* list = listOfTab(tab)) {
        const QModelIndex row = selectedItem(list);
        const ListItem* item = row.isValid() ? listModels_[static_cast<size_t>(tab)]->itemAt(row) : nullptr;
        return item && item->data() ? item->data()->MusicNode : nullptr;
    }
    QTreeView* tree = visibleTree();
    const QModelIndex at = selectedItem(tree);
    const TreeNode* node = at.isValid() ? static_cast<TreeModel*>(tree->model())->nodeAt(at) : nullptr;
    if (!node || tree == TreeViewMusicTree) return node;
    // In the folder tree only a song: its folders are not the music tree's.
    return isSongImage(node->imageIndex()) && node->data() ? node->data()->MusicNode : nullptr;
}

void TMainForm::ContextMenuItemShellOpenClick() {
    if (const TreeNode* node = shellOpenNode()) OpenInShell(s_, node);
}

bool TMainForm::playKeyPressed(QWidget* /*view*/, QKeyEvent* key) {
    if (key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) return false;
    const Qt::KeyboardModifiers modifiers = key->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    if (modifiers == Qt::ShiftModifier) {
        ContextMenuItemShellOpenClick();
        return true;
    }
    if (modifiers != Qt::NoModifier) return false;
    // Play now is the default button while a tree or a list has the focus.
    if (playerPanel_->ButtonPlayNow->isEnabled()) ButtonPlayNowClick();
    return true;
}

} // namespace velmo::gui
