#include "models/IconSet.h"

#include <QPainter>
#include <QPainterPath>
#include <array>

namespace velmo::gui {

namespace {

constexpr int kSize = 16;

void drawRootMark(QPainter& p) {
    // A small red flag in the top-right corner marks a root.
    p.setPen(QPen(QColor(120, 0, 0), 1));
    p.setBrush(QColor(220, 30, 30));
    p.drawPolygon(QPolygonF({QPointF(10, 0.5), QPointF(15.5, 3), QPointF(10, 5.5)}));
    p.drawLine(QPointF(10, 0.5), QPointF(10, 8));
}

void drawCd(QPainter& p) {
    QRadialGradient g(QPointF(7, 8), 7);
    g.setColorAt(0, QColor(245, 245, 255));
    g.setColorAt(0.6, QColor(190, 200, 230));
    g.setColorAt(1, QColor(150, 170, 210));
    p.setPen(QPen(QColor(80, 90, 120), 1));
    p.setBrush(g);
    p.drawEllipse(QRectF(1, 2, 13, 13));
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(6, 7, 3, 3));
}

void drawHardDisk(QPainter& p) {
    p.setPen(QPen(QColor(60, 60, 60), 1));
    p.setBrush(QColor(170, 170, 175));
    p.drawRoundedRect(QRectF(0.5, 5.5, 14, 8), 1.5, 1.5);
    p.setBrush(QColor(60, 200, 60));
    p.drawRect(QRectF(11, 10, 2, 1.5));
    p.setPen(QColor(110, 110, 115));
    p.drawLine(QPointF(2.5, 8), QPointF(9, 8));
}

void drawFolder(QPainter& p) {
    p.setPen(QPen(QColor(150, 110, 20), 1));
    p.setBrush(QColor(250, 210, 90));
    QPainterPath path;
    path.moveTo(0.5, 4.5);
    path.lineTo(5.5, 4.5);
    path.lineTo(7, 6);
    path.lineTo(14.5, 6);
    path.lineTo(14.5, 14.5);
    path.lineTo(0.5, 14.5);
    path.closeSubpath();
    p.drawPath(path);
}

// A note in the status colour; Just Good states carry a green corner dot.
void drawSong(QPainter& p, int status) {
    static const std::array<QColor, 8> colours = {
        QColor(40, 110, 220),  // unused: blue, not yet heard
        QColor(150, 150, 150), // used: grey
        QColor(240, 130, 0),   // in the playlist: orange
        QColor(20, 20, 20),    // Black List: black
        QColor(220, 30, 120),  // Favorites: pink
        QColor(40, 110, 220),  // Just Good unused
        QColor(150, 150, 150), // Just Good used
        QColor(240, 130, 0),   // Just Good in the playlist
    };
    const QColor c = colours[static_cast<size_t>(status)];
    p.setPen(QPen(c.darker(140), 1));
    p.setBrush(c);
    p.drawEllipse(QRectF(2, 10, 5, 4));
    p.drawEllipse(QRectF(8, 9, 5, 4));
    p.setPen(QPen(c.darker(140), 1.6));
    p.drawLine(QPointF(6.5, 12), QPointF(6.5, 3));
    p.drawLine(QPointF(12.5, 11), QPointF(12.5, 2));
    p.drawLine(QPointF(6.5, 3), QPointF(12.5, 2));
    if (status == 3) { // a struck-through note for the Black List
        p.setPen(QPen(QColor(220, 0, 0), 1.6));
        p.drawLine(QPointF(1, 15), QPointF(15, 1));
    }
    if (status == 4) { // a star for Favorites
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 200, 0));
        p.drawEllipse(QRectF(0, 0, 5, 5));
    }
    if (status >= 5) {
        p.setPen(QPen(QColor(0, 110, 0), 1));
        p.setBrush(QColor(60, 200, 60));
        p.drawEllipse(QRectF(0, 0, 6, 6));
    }
}

void drawThumbsUp(QPainter& p) {
    p.setPen(QPen(QColor(0, 100, 0), 1));
    p.setBrush(QColor(70, 190, 70));
    p.drawRoundedRect(QRectF(1, 7, 4, 8), 1, 1);
    QPainterPath hand;
    hand.moveTo(5.5, 8);
    hand.lineTo(8.5, 1.5);
    hand.lineTo(10, 2.5);
    hand.lineTo(9.5, 6.5);
    hand.lineTo(14.5, 6.5);
    hand.lineTo(13.5, 14.5);
    hand.lineTo(5.5, 14.5);
    hand.closeSubpath();
    p.drawPath(hand);
}

QPixmap draw(int index) {
    QPixmap pm(kSize, kSize);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    switch (index) {
    case 0: drawCd(p); drawRootMark(p); break;
    case 1: drawCd(p); break;
    case 2: drawHardDisk(p); drawRootMark(p); break;
    case 3: drawHardDisk(p); break;
    case 4: drawFolder(p); drawRootMark(p); break;
    case 5: drawFolder(p); break;
    case 14: drawThumbsUp(p); break;
    case 15: drawFolder(p); drawSong(p, 0); break; // add a disk or folder
    case 16: drawCd(p); drawSong(p, 2); break;      // copy
    case 17: drawHardDisk(p); drawSong(p, 1); break; // database file
    case 18: drawSong(p, 2); drawThumbsUp(p); break; // playlist
    default:
        if (index >= 6 && index <= 13) drawSong(p, index - 6);
        break;
    }
    return pm;
}

} // namespace

QPixmap IconSet::pixmap(int index) {
    static std::array<QPixmap, 19> cache;
    if (index < 0 || index >= 19) return {};
    QPixmap& pm = cache[static_cast<size_t>(index)];
    if (pm.isNull()) pm = draw(index);
    return pm;
}

QIcon IconSet::icon(int index) {
    static std::array<QIcon, 19> cache;
    if (index < 0 || index >= 19) return {};
    QIcon& icon = cache[static_cast<size_t>(index)];
    if (icon.isNull()) icon = QIcon(pixmap(index));
    return icon;
}

} // namespace velmo::gui
