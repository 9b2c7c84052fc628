#include "FieldMending.h"

#include "BuildReport.h"

#include <QRegularExpression>
#include <QStringList>

namespace qelvane::mklib::mending {

namespace {

const QChar Lost(0x25A1); // □

QString ordinal(int number)
{
    static const QString digits = QStringLiteral("〇一二三四五六七八九十");
    return number <= 10 ? QString(digits.at(number)) : QString::number(number);
}

bool isOpening(QChar c)
{
    return c == QChar(0xFF08) || c == QLatin1Char('(');
}

bool isClosing(QChar c)
{
    return c == QChar(0xFF09) || c == QLatin1Char(')');
}

// A footnote mark such as 〖1〗, whose footnote the data set does not hold.
const QRegularExpression& footnoteMark()
{
    static const QRegularExpression mark(QStringLiteral("〖\\s*[0-9０-９]+\\s*〗"));
    return mark;
}

// What an editor wrote into a title, as against a subtitle of the poet's own.
bool isEditorsNote(const QString& inside)
{
    constexpr int LongestSubtitle = 12;
    return inside.contains(QChar(0x3016)) || inside.contains(QChar(0x300A)) || inside.size() > LongestSubtitle;
}

} // namespace

Author author(const QString& field, BuildReport& report)
{
    Author mended{field.trimmed(), {}};
    QString& name = mended.name;
    if (name.contains(footnoteMark())) {
        const QString before = name;
        name.remove(footnoteMark());
        name = name.trimmed();
        report.count(QStringLiteral("作者名中的校注标记删去"), before + QStringLiteral(" → ") + name);
    }
    if (const qsizetype play = name.indexOf(QChar(0x300A)); play > 0) {
        const QString before = name;
        mended.note = QStringLiteral("出自") + name.mid(play);
        name = name.left(play).trimmed();
        report.count(QStringLiteral("作者栏中的剧名移入注释"), before + QStringLiteral(" → ") + name);
    }
    // The remark tells apart people of one name (王氏（刘和妻）, 王氏（卫敬瑜妻）): it stays,
    // closed where the data set left it open.
    // A count of poems in an open bracket ("石抹世绩（一首") is no part of the name.
    static const QRegularExpression count(QStringLiteral("（[〇一二两三四五六七八九十百0-9]+首$"));
    if (name.contains(count)) {
        const QString before = name;
        name.remove(count);
        report.count(QStringLiteral("作者名后的首数删去"), before + QStringLiteral(" → ") + name);
    }
    if (name.count(QChar(0xFF08)) > name.count(QChar(0xFF09))) {
        const QString before = name;
        name += QChar(0xFF09);
        report.count(QStringLiteral("作者名中未闭合的括号补全"), before + QStringLiteral(" → ") + name);
    }
    static const QRegularExpression numbered(QStringLiteral("^(\\D+?)([0-9]{1,2})$"));
    if (const QRegularExpressionMatch match = numbered.match(name); match.hasMatch()) {
        const QString before = name;
        name = match.captured(1) + QStringLiteral("（%1）").arg(ordinal(match.captured(2).toInt()));
        report.count(QStringLiteral("作者名后的编号改为同名者序号"), before + QStringLiteral(" → ") + name);
    }
    return mended;
}

Title title(const QString& field, BuildReport& report)
{
    QString kept;
    QStringList notes;
    bool markDropped = false;
    for (qsizetype i = 0; i < field.size();) {
        const QChar c = field.at(i);
        if (c == QChar(0x3016)) { // 〖…〗 outside brackets
            const qsizetype end = field.indexOf(QChar(0x3017), i);
            const QString inside = end < 0 ? field.mid(i + 1) : field.mid(i + 1, end - i - 1);
            if (!footnoteMark().match(field.mid(i, end < 0 ? -1 : end - i + 1)).hasMatch())
                notes << inside.trimmed();
            else
                markDropped = true;
            i = end < 0 ? field.size() : end + 1;
            continue;
        }
        if (!isOpening(c)) {
            kept += c;
            ++i;
            continue;
        }
        // The bracket to its partner, brackets within it included; an open one runs to the end.
        qsizetype end = i + 1;
        for (int depth = 1; end < field.size() && depth > 0; ++end) {
            if (isOpening(field.at(end)))
                ++depth;
            else if (isClosing(field.at(end)))
                --depth;
        }
        const QString segment = field.mid(i, end - i);
        QString inside = segment.mid(1);
        if (!inside.isEmpty() && isClosing(inside.back()))
            inside.chop(1);
        // A footnote mark alone does not make a subtitle an editor's note: （并序〖1〗） is （并序）.
        const bool marked = inside.contains(footnoteMark());
        inside.remove(footnoteMark());
        if (isEditorsNote(inside)) {
            notes << inside.trimmed();
        } else if (marked) {
            kept += segment.at(0) + inside + (isClosing(segment.back()) ? QString(segment.back()) : QString());
            markDropped = true;
        } else {
            kept += segment;
        }
        i = end;
    }
    kept = kept.trimmed();
    if ((notes.isEmpty() && !markDropped) || kept.isEmpty())
        return {field.trimmed(), {}};
    report.count(QStringLiteral("题目中的校注移入注释"), field.left(24) + (field.size() > 24 ? QStringLiteral("…") : QString()) +
                                                         QStringLiteral(" → ") + kept);
    notes.removeAll(QString());
    return {kept, notes.isEmpty() ? QString() : QStringLiteral("题注：") + notes.join(QStringLiteral("；"))};
}

QString withoutWebResidue(const QString& text, const QString& where, BuildReport& report)
{
    if (!text.contains(QStringLiteral("{Connection=")) && !text.contains(QStringLiteral("中国诗歌库")))
        return text;
    QStringList lines = text.split(QLatin1Char('\n'));
    const qsizetype before = lines.size();
    lines.removeIf([](const QString& line) {
        return line.contains(QStringLiteral("{Connection=")) || line.trimmed().startsWith(QStringLiteral("中国诗歌库"));
    });
    if (lines.size() == before)
        return text;
    report.count(QStringLiteral("网页残留删去"), where);
    return lines.join(QLatin1Char('\n'));
}

QString withLostCharacters(const QString& text, const QString& where, BuildReport& report)
{
    if (!text.contains(QLatin1Char('?')))
        return text;
    QString written = text;
    for (QChar& c : written) {
        if (c == QLatin1Char('?')) {
            c = Lost;
            report.count(QStringLiteral("丢失的字（?）写作 □"), where);
        }
    }
    return written;
}

QString withoutRepeat(const QString& biography, const QString& name, BuildReport& report)
{
    const QString text = biography.trimmed();
    // The first half, then only spaces, then the first half again.
    for (qsizetype half = text.size() / 2; half > 0; --half) {
        qsizetype rest = half;
        while (rest < text.size() && text.at(rest).isSpace())
            ++rest;
        if (rest == half)
            continue;
        if (text.size() - rest == half && QStringView(text).mid(rest) == QStringView(text).left(half)) {
            report.count(QStringLiteral("重复的作者小传只留一份"), name);
            return text.left(half);
        }
    }
    return text;
}

} // namespace qelvane::mklib::mending
