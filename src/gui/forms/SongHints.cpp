#include "forms/SongHints.h"

#include <QAbstractItemView>
#include <QMouseEvent>
#include <QToolTip>
#include <QTreeView>
#include <algorithm>

#include "app/Session.h"
#include "catalog/ID3v1.h"

namespace velmo::gui {

SongHints::SongHints(Session& session, QObject* parent) : QObject(parent), s_(session) {
    // On a light blue ground, as the program has always shown them.
    QPalette tips = QToolTip::palette();
    tips.setColor(QPalette::ToolTipBase, QColor(181, 230, 238));
    tips.setColor(QPalette::ToolTipText, Qt::black);
    QToolTip::setPalette(tips);
}

void SongHints::watch(const std::vector<QAbstractItemView*>& views) {
    for (QAbstractItemView* view : views) {
        views_.push_back(view);
        view->installEventFilter(this);
        view->viewport()->installEventFilter(this);
        view->viewport()->setMouseTracking(true);
    }
}

QString SongHints::songHint(const TDataRec& rec) const {
    if (!s_.settings.ShowHints || !rec.MusicListItem) return {};
    return QString::fromStdString(BuildTagHint(rec, s_.messages, s_.settings.ShowTag));
}

bool SongHints::isSongViewport(QObject* watched) const {
    return std::any_of(views_.begin(), views_.end(),
                       [watched](const QAbstractItemView* v) { return watched == v->viewport(); });
}

bool SongHints::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyRelease:
        // Moving through songs with the keyboard shows the song's hint beside it.
        if (auto* view = qobject_cast<QAbstractItemView*>(watched)) showKeyboardHint(view);
        break;
    case QEvent::ToolTip:
        if (HintSuppressed && isSongViewport(watched)) return true;
        break;
    case QEvent::MouseMove:
        if (isSongViewport(watched)) {
            // A mouse moving straight along a row or a column keeps the keyboard hint; any
            // other move brings the mouse hints back.
            const QPoint p = static_cast<QMouseEvent*>(event)->position().toPoint();
            if (HintSuppressed && p.x() != LastHintPoint.x() && p.y() != LastHintPoint.y()) {
                HintSuppressed = false;
                QToolTip::hideText();
            }
            LastHintPoint = p;
        }
        break;
    default: break;
    }
    return QObject::eventFilter(watched, event);
}

void SongHints::showKeyboardHint(QAbstractItemView* view) {
    const QModelIndex current = view->currentIndex();
    const QString text = current.isValid() && view->selectionModel()->isSelected(current)
                             ? view->model()->data(current, Qt::ToolTipRole).toString()
                             : QString();
    if (text.isEmpty()) {
        QToolTip::hideText();
        return;
    }
    HintSuppressed = true;
    const QRect rect = view->visualRect(current);
    // Trees: at the bottom-right of the node's text; lists: 20 pixels into the item.
    const QPoint at = qobject_cast<QTreeView*>(view) ? rect.bottomRight() : rect.topLeft() + QPoint(20, 20);
    QToolTip::showText(view->viewport()->mapToGlobal(at), text, view);
}

} // namespace velmo::gui
