#pragma once

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

// The order a Chinese reader expects titles and names in: by pinyin, not character
// codes; and where two texts differ first in a Chinese numeral (清平调 一, 二, 三;
// 其二 … 其十一), by the numbers.
bool chineseLess(const QString& a, const QString& b);

// The value of a run of Chinese numerals such as 十一 or 二百零五; -1 when it is none.
int chineseNumber(QStringView numerals);

} // namespace qelvane::text
