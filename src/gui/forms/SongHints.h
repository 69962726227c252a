#pragma once
#include <QObject>
#include <QPoint>
#include <QString>
#include <vector>

class QAbstractItemView;

namespace velmo {
struct Session;
struct TDataRec;
}

namespace velmo::gui {

// The hints over songs in the trees and lists: the tag and size under the mouse, and beside
// the current song while the keyboard moves through them. After a keyboard hint, mouse hints
// wait until the mouse moves on both axes, so a hand resting on the mouse does not replace it.
class SongHints : public QObject {
    Q_OBJECT
public:
    SongHints(Session& session, QObject* parent);

    // Shows hints over these views (a tree or a list each).
    void watch(const std::vector<QAbstractItemView*>& views);
    // The hint text of a song; empty when hints are off.
    QString songHint(const TDataRec& rec) const;
    // A hint as it is shown: the blanks after the labels of its "Label:   value" lines measured
    // in the hint's font, so that the values line up (the labels' own blanks align them only in
    // the font they were written for). A hint of one line stays as it is.
    static QString shownHint(const QString& hint);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showKeyboardHint(QAbstractItemView* view);
    // The mouse hint of the item under the pointer, as a table.
    bool showMouseHint(QAbstractItemView* view, QEvent* event);
    bool isSongViewport(QObject* watched) const;

    Session& s_;
    std::vector<QAbstractItemView*> views_;
    bool HintSuppressed = false;
    QPoint LastHintPoint;
};

} // namespace velmo::gui
