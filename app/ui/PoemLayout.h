#pragma once

#include <QColor>
#include <QFont>
#include <QList>
#include <QRectF>
#include <QSizeF>
#include <QString>

class QPainter;

namespace qelvane {

// A poem laid out for a page: its heading (the title, then author · epoch), the poem
// in lines or in columns, and its notes when asked. One layout for the printed page, the
// PDF and the picture, so that each shows the poem alike.
class PoemLayout {
public:
    struct Sheet {
        QString title;
        QString byline;
        QString text;
        QString notes;
    };
    struct Style {
        QFont font;         // the poem's face; its point size is the poem's size
        QColor ink = Qt::black;
        QColor paper = Qt::white;
        bool vertical = false;  // columns from right to left, one verse to a column
        bool withNotes = false;
        // Columns without punctuation, as the old books print them.
        bool noPunctuation = false;
        // The part of the page left free on each side, in points.
        qreal marginPoints = 54;
    };
    // Where one character of a vertical poem is drawn: its page and its cell.
    struct Cell {
        int page = 0;
        QChar character;
        QRectF box;
        int segment = 0; // the title, the byline, each verse and note: one each
    };

    // Laid out on pages of `page` device pixels at `dpi` (the pixels of the printer, the
    // PDF or the picture); an empty height lays everything out on one page as tall as
    // it needs (a picture); for columns, an empty width lays them out on one page as
    // wide as they need (the screen, scrolled leftwards).
    PoemLayout(const Sheet& sheet, const Style& style, const QSizeF& page, qreal dpi);

    int pageCount() const { return m_pages; }
    // The size the content needs on its one page (a picture's height, say).
    QSizeF contentSize() const { return m_content; }
    // Draws a page: the paper, the heading (repeated small on the pages after the
    // first), the poem's lines or columns, the notes.
    void paint(QPainter& painter, int page, const QRectF& visible = {}) const;
    // The cell of a vertical poem under a point of the first page; -1 for none.
    int cellAt(const QPointF& point) const;
    // The characters of cells first to last, a line break between verses.
    QString textOf(int first, int last) const;
    // The characters of a vertical poem in reading order, with their cells.
    const QList<Cell>& cells() const { return m_cells; }

    // Punctuation a vertical poem draws in the upper right of its cell.
    static bool sitsTopRight(QChar c);

private:
    struct Run {
        int page;
        QPointF at;     // baseline start
        QString text;
        QFont font;
        bool turned;    // a bracket or dash turned to run along a column
    };
    void layOutHeading(qreal& y, int page, bool small);
    void layOutLines(qreal& y);
    void layOutColumns(qreal& y);
    void layOutNotes(qreal& y);
    void flow(qreal& y, const QString& text, const QFont& font, qreal spacing);
    // Moves to a new page when `height` more does not fit below `y`.
    void fit(qreal& y, qreal height);
    QFont sized(qreal scale, bool bold = false) const;

    Sheet m_sheet;
    Style m_style;
    QSizeF m_page;
    qreal m_dpi;
    qreal m_margin;
    int m_pages = 1;
    QSizeF m_content;
    QList<Run> m_runs;
    QList<Cell> m_cells;
};

} // namespace qelvane
