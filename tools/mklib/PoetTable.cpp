#include "PoetTable.h"

#include "BuildError.h"

#include <QFile>
#include <QRegularExpression>

namespace qelvane::mklib {

namespace {
const QChar Separator(0x1f);
}

PoetTable PoetTable::fromText(const QString& text, const QString& where)
{
    // 集子 原名 → 年代 名 ｜ 出处
    static const QRegularExpression line(QStringLiteral("^(\\S+)\\s+(\\S+)\\s+→\\s+(\\S+)\\s+(\\S+)\\s+｜\\s*\\S.*$"));
    PoetTable table;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString trimmed = lines[i].trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char('#')))
            continue;
        const QRegularExpressionMatch match = line.match(trimmed);
        if (!match.hasMatch())
            throw BuildError(QStringLiteral("%1：第 %2 行：应写作“集子 原名 → 年代 名 ｜ 出处”").arg(where).arg(i + 1));
        table.m_shelves.insert(match.captured(1) + Separator + match.captured(2), {match.captured(3), match.captured(4)});
    }
    return table;
}

const PoetTable& PoetTable::builtIn()
{
    static const PoetTable table = [] {
        QFile file(QStringLiteral(":/mklib/poets.txt"));
        if (!file.open(QIODevice::ReadOnly))
            throw BuildError(QStringLiteral("诗人归属表缺失（:/mklib/poets.txt）"));
        return fromText(QString::fromUtf8(file.readAll()), QStringLiteral("poets.txt"));
    }();
    return table;
}

const PoetTable::Shelf* PoetTable::shelf(const QString& collection, const QString& name) const
{
    const auto found = m_shelves.constFind(collection + Separator + name);
    return found == m_shelves.cend() ? nullptr : &*found;
}

} // namespace qelvane::mklib
