#include "forms/SongHints.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QFontMetrics>
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

QString SongHints::shownHint(const QString& hint) {
    struct Line {
        QString label;
        QString value;
    };
    std::vector<Line> lines;
    for (const QString& line : hint.split('\n')) {
        // The label ends at its colon, or failing that at the first run of blanks; a comment's
        // further lines begin with blanks and belong to the value column.
        qsizetype cut = line.indexOf(':') + 1;
        if (cut <= 0 || (cut < line.size() && line[cut] != ' ')) cut = line.indexOf("  ");
        if (cut < 0 || line.startsWith(' ')) cut = 0;
        lines.push_back({line.left(cut).trimmed(), line.mid(cut).trimmed()});
    }
    if (lines.size() < 2) return hint;
    // Blanks up to one column, measured in the hint's own font.
    const QFontMetrics metrics(QToolTip::font());
    int column = 0;
    for (const Line& l : lines) column = std::max(column, metrics.horizontalAdvance(l.label));
    column += 2 * metrics.horizontalAdvance(' ');
    QStringList shown;
    for (const Line& l : lines) {
        QString text = l.label;
        while (metrics.horizontalAdvance(text + ' ') <= column) text += ' ';
        shown << text + l.value;
    }
    return shown.join('\n');
}

bool SongHints::showMouseHint(QAbstractItemView* view, QEvent* event) {
    const auto* help = static_cast<QHelpEvent*>(event);
    const QModelIndex index = view->indexAt(help->pos());
    const QString text = index.isValid() ? view->model()->data(index, Qt::ToolTipRole).toString() : QString();
    if (text.isEmpty()) {
        QToolTip::hideText();
        event->ignore();
        return true;
    }
    QToolTip::showText(help->globalPos(), shownHint(text), view->viewport(), view->visualRect(index));
    return true;
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
        if (!isSongViewport(watched)) break;
        if (HintSuppressed) return true;
        return showMouseHint(static_cast<QAbstractItemView*>(static_cast<QWidget*>(watched)->parentWidget()), event);
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
    QPoint at = qobject_cast<QTreeView*>(view) ? rect.bottomRight() : rect.topLeft() + QPoint(20, 20);
    // Kept inside the view, so that it never covers the buttons beside it.
    const QString shown = shownHint(text);
    const int width = QFontMetrics(QToolTip::font()).boundingRect(QRect(), 0, shown).width() + 16;
    at.setX(std::max(0, std::min(at.x(), view->viewport()->width() - width)));
    QToolTip::showText(view->viewport()->mapToGlobal(at), shown, view);
}

} // namespace velmo::gui
