#include "Text.h"

#include <QCollator>

namespace qelvane::text {

namespace {

bool isNumeral(QChar c)
{
    return QStringView(u"〇零一二两三四五六七八九十百千").contains(c);
}

int digitValue(QChar c)
{
    static const QString digits = QStringLiteral("〇一二三四五六七八九");
    if (c == u'零')
        return 0;
    if (c == u'两')
        return 2;
    return int(digits.indexOf(c));
}

qsizetype runEnd(const QString& text, qsizetype from)
{
    qsizetype end = from;
    while (end < text.size() && isNumeral(text.at(end)))
        ++end;
    return end;
}

} // namespace

int chineseNumber(QStringView numerals)
{
    if (numerals.isEmpty())
        return -1;
    int total = 0;
    int digit = -1;
    for (const QChar c : numerals) {
        const int unit = c == u'十' ? 10 : c == u'百' ? 100 : c == u'千' ? 1000 : 0;
        if (unit) {
            total += (digit < 0 ? 1 : digit) * unit;
            digit = -1;
        } else {
            const int value = digitValue(c);
            if (value < 0)
                return -1;
            // Digits written one after another (二〇二六) read as a plain number.
            digit = digit > 0 && total == 0 ? digit * 10 + value : value;
        }
    }
    return total + std::max(digit, 0);
}

bool chineseLess(const QString& a, const QString& b)
{
    static const QCollator collator(QLocale(QLocale::Chinese, QLocale::China));
    qsizetype same = 0;
    while (same < a.size() && same < b.size() && a.at(same) == b.at(same))
        ++same;
    // Back to the start of a numeral run the difference falls in.
    while (same > 0 && isNumeral(a.at(same - 1)))
        --same;
    if (same < a.size() && same < b.size() && isNumeral(a.at(same)) && isNumeral(b.at(same))) {
        const int left = chineseNumber(QStringView(a).mid(same, runEnd(a, same) - same));
        const int right = chineseNumber(QStringView(b).mid(same, runEnd(b, same) - same));
        if (left >= 0 && right >= 0 && left != right)
            return left < right;
    }
    return collator.compare(a, b) < 0;
}

} // namespace qelvane::text
