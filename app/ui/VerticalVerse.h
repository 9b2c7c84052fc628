#pragma once

#include "PoemLayout.h"

#include <QAbstractScrollArea>
#include <optional>

namespace qelvane {

// A Chinese poem read in columns, right to left, as the printed page lays it out: its
// heading in the first columns, one verse to a column, scrolled leftwards when longer
// than the area is wide. It takes its face (zoom included) and colours from its parent,
// the poem's area. Characters are selected by dragging, in reading order, and Ctrl+C
// copies them; a screen reader reads the poem in reading order.
class VerticalVerse : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit VerticalVerse(QWidget* parent = nullptr);

    void setSheet(const PoemLayout::Sheet& sheet);
    void setNoPunctuation(bool none) { m_noPunctuation = none; }
    // The characters selected, in reading order, a line break between verses.
    QString selectedText() const;
    const PoemLayout* layout() const { return m_layout ? &*m_layout : nullptr; }
    // Where a cell of the layout is drawn in the area's viewport now.
    QRectF cellOnScreen(int cell) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void relayout();
    int cellUnder(const QPoint& at) const;

    PoemLayout::Sheet m_sheet;
    std::optional<PoemLayout> m_layout;
    // Columns narrower than the area stand at its right edge: the layout moved so far.
    qreal m_shift = 0;
    bool m_noPunctuation = false;
    qreal offset() const;
    int m_anchor = -1;
    int m_end = -1;
};

} // namespace qelvane
