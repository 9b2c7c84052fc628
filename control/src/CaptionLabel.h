#pragma once

#include <QWidget>

namespace tolvarin {

class Tolvarin;

// The button's caption: a transparent label that sizes itself to its text and
// underlines the letter after "&". Mouse events on it are the button's own.
class CaptionLabel : public QWidget {
    Q_OBJECT
public:
    explicit CaptionLabel(Tolvarin* owner);

    QString caption() const { return m_caption; }
    void setCaption(const QString& caption);
    // An OLE colour value; one with the high bit set names a system colour.
    quint32 foreColor() const { return m_foreColor; }
    void setForeColor(quint32 colour);
    void setCaptionFont(const QFont& font);

    // Where the button placed it, in pixels (whole pixels are shown).
    float left = 0, top = 0;

signals:
    void changed();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void autoSize();

    Tolvarin* m_owner;
    QString m_caption;
    quint32 m_foreColor = 0x80000012;
};

} // namespace tolvarin
