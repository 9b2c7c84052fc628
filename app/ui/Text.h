#pragma once

#include <QCollator>
#include <QString>

namespace qelvane::text {

// Leading and trailing spaces removed, and only spaces (a title's tabs or line breaks
// stay), as the classic Trim does.
inline QString trimSpaces(const QString& value)
{
    qsizetype first = 0;
    qsizetype last = value.size();
    while (first < last && value.at(first) == QLatin1Char(' '))
        ++first;
    while (last > first && value.at(last - 1) == QLatin1Char(' '))
        --last;
    return value.mid(first, last - first);
}

// The order a Chinese reader expects titles and names in (by pinyin), not character codes.
inline bool chineseLess(const QString& a, const QString& b)
{
    static const QCollator collator(QLocale(QLocale::Chinese, QLocale::China));
    return collator.compare(a, b) < 0;
}

} // namespace qelvane::text
