#pragma once

#include <QList>
#include <QSet>
#include <QString>

// The faces poems are read in. The settings' default face "宋体" is a Song (serif)
// face: it is shown in Noto Serif CJK SC, and characters of the CJK extensions that
// face lacks come from the Hanazono and BabelStone Han faces.
namespace qelvane::fonts {

void installReadingFonts();

// The characters of `text` no installed face can show, each once, in code order.
QList<char32_t> uncovered(const QSet<char32_t>& characters);
// The distinct characters of a text.
void collect(const QString& text, QSet<char32_t>& into);

} // namespace qelvane::fonts
