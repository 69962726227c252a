#pragma once
#include <QWidget>

namespace velmo {
class TextTable;
}

namespace velmo::gui {

// The logo shown while the program starts: borderless, on top, centred, 319 x 199 pixels.
class TLogoForm : public QWidget {
    Q_OBJECT
public:
    // The logo's lines come from `texts` (the built-in ones: the logo shows before a language is read).
    explicit TLogoForm(const TextTable& texts, QWidget* parent = nullptr);
    static QPixmap logoPicture(const TextTable& texts);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const TextTable& texts_;
};

} // namespace velmo::gui
