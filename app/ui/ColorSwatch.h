#pragma once

#include <QFrame>

namespace qelvane {

// A colour swatch that is chosen by a double click, or by Enter or Space when it has
// the focus, so the keyboard reaches it too.
class ColorSwatch : public QFrame {
    Q_OBJECT
public:
    explicit ColorSwatch(QWidget* parent = nullptr);

    void setColour(const QColor& colour);
    QColor colour() const { return m_colour; }

signals:
    void doubleClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QColor m_colour = Qt::white;
};

} // namespace qelvane
