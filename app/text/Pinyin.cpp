#include "Pinyin.h"

#include <QFile>
#include <QHash>
#include <QTextStream>

namespace qelvane::metre {

namespace {

// The table the build extracts from Debian's unicode-data (tools/metre/extract-pinyin.sh).
QHash<char32_t, QStringList> loadReadings()
{
    QHash<char32_t, QStringList> table;
    QFile file(QStringLiteral(":/pinyin/pinyin.txt"));
    if (!file.open(QIODevice::ReadOnly))
        return table;
    QTextStream in(&file);
    table.reserve(45000);
    while (!in.atEnd()) {
        const QStringList fields = in.readLine().split(u'\t');
        if (fields.size() != 3)
            continue;
        QStringList readings = fields[1].split(u' ', Qt::SkipEmptyParts);
        for (const QString& reading : fields[2].split(u',', Qt::SkipEmptyParts))
            if (!readings.contains(reading))
                readings.append(reading);
        if (!readings.isEmpty())
            table.insert(char32_t(fields[0].toUInt(nullptr, 16)), readings);
    }
    return table;
}

} // namespace

Pinyin pinyinOf(char32_t c)
{
    static const QHash<char32_t, QStringList> readings = loadReadings();
    return {readings.value(c)};
}

} // namespace qelvane::metre
