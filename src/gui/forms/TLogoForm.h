#pragma once
#include <QWidget>

namespace velmo::gui {

// The logo shown while the program starts: borderless, on top, centred, 319 x 199 pixels.
class TLogoForm : public QWidget {
    Q_OBJECT
public:
    explicit TLogoForm(QWidget* parent = nullptr);
    static QPixmap logoPicture();

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace velmo::gui
