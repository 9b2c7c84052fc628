#include "Colours.h"

#include "tolvarin/Tolvarin.h"

namespace qelvane::colours {

QColor toQColor(qint32 stored)
{
    const quint32 value = tolvarin::SystemColors::resolve(static_cast<quint32>(stored));
    return QColor(int(value & 0xff), int((value >> 8) & 0xff), int((value >> 16) & 0xff));
}

qint32 fromQColor(const QColor& colour)
{
    const QRgb rgb = colour.rgb();
    return qint32(quint32(qRed(rgb)) | (quint32(qGreen(rgb)) << 8) | (quint32(qBlue(rgb)) << 16));
}

} // namespace qelvane::colours
