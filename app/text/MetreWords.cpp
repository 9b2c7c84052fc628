#include "MetreWords.h"

#include <QStringList>

namespace qelvane::metre {

namespace {

// The forms of a tune counted as the 词谱 counts them: 格一, 格二 …
QString chineseNumber(int n)
{
    static const QString digits = QStringLiteral("〇一二三四五六七八九");
    if (n < 10)
        return digits[n];
    if (n < 20)
        return u'十' + (n % 10 ? QString(digits[n % 10]) : QString());
    return digits[n / 10] + QStringLiteral("十") + (n % 10 ? QString(digits[n % 10]) : QString());
}

// Faults beyond these are counted, not listed: the line under the poem stays a line.
constexpr int ListedFaults = 8;

} // namespace

QString placeOf(const Fault& fault)
{
    return QStringLiteral("第%1句第%2字").arg(fault.line).arg(fault.column);
}

QString describe(const Metre& metre)
{
    QStringList parts{metre.form};
    if (metre.form == u"其他")
        return metre.form;
    if (!metre.tune.isEmpty()) {
        parts.append(metre.tune);
        if (metre.tuneForm >= 0)
            parts.append(QStringLiteral("格") + chineseNumber(metre.tuneForm + 1));
    }
    if (metre.regulated())
        parts.append(metre.start + (metre.firstLineRhymes.value_or(false) ? QStringLiteral("首句入韵")
                                                                          : QStringLiteral("首句不入韵")));
    QStringList groups = metre.rhymeGroups;
    groups.removeAll(metre.neighbourGroup);
    if (!groups.isEmpty())
        parts.append(bookName(metre.book) + u' ' + groups.join(u'、'));
    if (!metre.neighbourGroup.isEmpty())
        parts.append(QStringLiteral("首句借邻韵 ") + metre.neighbourGroup);
    if (!metre.faults.isEmpty()) {
        QStringList faults;
        for (int i = 0; i < std::min<qsizetype>(metre.faults.size(), ListedFaults); ++i)
            faults.append(QStringLiteral("%1（%2）").arg(metre.faults[i].kind, placeOf(metre.faults[i])));
        QString listed = faults.join(u'、');
        if (metre.faults.size() > ListedFaults)
            listed += QStringLiteral("等%1处").arg(metre.faults.size());
        parts.append(listed);
    }
    return parts.join(QStringLiteral(" · "));
}

QString lineText(const Metre& metre, const LineMetre& line)
{
    QString text;
    for (int i = line.first; i < line.first + line.count; ++i)
        text += QString::fromUcs4(&metre.verse.glyphs[i].c, 1);
    return text;
}

QString toneMarks(const Metre& metre, const LineMetre& line)
{
    QString marks;
    for (int i = line.first; i < line.first + line.count; ++i) {
        switch (metre.chars[i].mark) {
        case Mark::Level: marks += u'平'; break;
        case Mark::Oblique: marks += u'仄'; break;
        case Mark::Undecided: marks += u'中'; break;
        case Mark::Unknown: marks += u'？'; break;
        }
    }
    return marks;
}

} // namespace qelvane::metre
