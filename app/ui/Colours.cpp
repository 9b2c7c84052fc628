#include "Colours.h"

#include "tolvarin/Tolvarin.h"

namespace qelvane::colours {

QColor toQColor(qint32 stored)
{
    return QColor(tolvarin::SystemColors::toRgb(tolvarin::SystemColors::resolve(static_cast<quint32>(stored))));
}

qint32 fromQColor(const QColor& colour)
{
    return qint32(tolvarin::SystemColors::fromRgb(colour.rgb()));
}

} // namespace qelvane::colours
