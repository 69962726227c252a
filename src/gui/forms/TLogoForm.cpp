#include "forms/TLogoForm.h"

#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>

#include "base/TextTable.h"
#include "models/IconSet.h"

namespace velmo::gui {

TLogoForm::TLogoForm(const TextTable& texts, QWidget* parent)
    : QWidget(parent, Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::SplashScreen), texts_(texts) {
    setObjectName("TLogoForm");
    setFixedSize(319, 199);
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

QPixmap TLogoForm::logoPicture(const TextTable& texts) {
    auto line = [&texts](const char* name) {
        const std::string* text = texts.textOf("TLogoForm", name, TextRole::Caption);
        return text ? QString::fromStdString(*text) : QString();
    };
    QPixmap pm(319, 199);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 199);
    sky.setColorAt(0, QColor(28, 40, 80));
    sky.setColorAt(1, QColor(70, 110, 170));
    p.fillRect(pm.rect(), sky);
    // A stack of discs, the collection.
    for (int i = 0; i < 4; ++i) {
        QRadialGradient disc(QPointF(70 + i * 14, 100), 52);
        disc.setColorAt(0, QColor(250, 250, 255));
        disc.setColorAt(0.7, QColor(180, 195, 235 - i * 20));
        disc.setColorAt(1, QColor(120, 140, 200));
        p.setPen(QPen(QColor(20, 30, 60), 1.5));
        p.setBrush(disc);
        p.drawEllipse(QPointF(70 + i * 14, 100), 52, 52);
        p.setBrush(QColor(28, 40, 80));
        p.drawEllipse(QPointF(70 + i * 14, 100), 8, 8);
    }
    p.setPen(Qt::white);
    QFont title("DejaVu Sans", 22, QFont::Bold);
    p.setFont(title);
    p.drawText(QRect(150, 55, 165, 40), Qt::AlignLeft | Qt::AlignVCenter, line("ImageLogoTitle"));
    QFont sub("DejaVu Sans", 13);
    p.setFont(sub);
    p.drawText(QRect(150, 92, 165, 24), Qt::AlignLeft | Qt::AlignVCenter, line("ImageLogoSubtitle"));
    QFont version("DejaVu Sans", 9);
    p.setFont(version);
    p.setPen(QColor(220, 230, 255));
    p.drawText(QRect(150, 120, 165, 20), Qt::AlignLeft | Qt::AlignVCenter, line("ImageLogoVersion"));
    p.drawPixmap(284, 160, IconSet::pixmap(14).scaled(24, 24));
    return pm;
}

void TLogoForm::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawPixmap(0, 0, logoPicture(texts_));
}

} // namespace velmo::gui
