#pragma once

#include "text/Metre.h"

#include <QColor>
#include <QList>

class QPainter;
class QTextEdit;

namespace qelvane {

// The metre's marks under a poem's characters: ○ level, ● oblique, ◐ a polyphone left
// undecided, a dotted ring for a character no book reads; a rhyme foot framed; a fault
// drawn in the fault colour and underlined. They sit in the room below each line of
// characters and are drawn in the area's own ink, so they move nothing and read in every
// look and at every size.
struct VerseMark {
    int position; // in the document
    int length;
    metre::Mark mark;
    bool foot;
    bool fault;
};

// A character's Mandarin reading, drawn small above it; a polyphone's first reading is
// drawn slanted and faint, with a dotted line under it: a guess, not a reading.
struct PinyinMark {
    int position;
    int length;
    QString reading;
    bool uncertain;
};

// A red that stands out against the background: darker on light paper, lighter at night.
QColor faultColour(const QColor& background);

// Draws the marks of the characters in view of a text area onto its viewport; marks are
// ordered by position.
void paintVerseMarks(QPainter& painter, const QTextEdit& area, const QList<VerseMark>& marks);

// Draws the readings of the characters in view above them, in the room a line leaves
// above itself (`room`, in pixels).
void paintPinyin(QPainter& painter, const QTextEdit& area, const QList<PinyinMark>& readings, qreal room);

// The mark at or just before a document position, nullptr for none.
const VerseMark* markAt(const QList<VerseMark>& marks, int position);

} // namespace qelvane
