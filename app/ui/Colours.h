#pragma once

#include <QColor>

// Colours as the settings and the stored forms hold them: 32-bit values
// with red in the low byte (00BBGGRR); a value with the high bit set names a system
// colour by its index in the low byte. System colours are the Tolvarin control's, so
// the whole program reads them one way.
namespace qelvane::colours {

QColor toQColor(qint32 stored);
// An exact colour as a stored value (never a system colour).
qint32 fromQColor(const QColor& colour);

} // namespace qelvane::colours
