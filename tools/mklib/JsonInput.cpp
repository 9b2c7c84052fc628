#include "JsonInput.h"

#include "BuildError.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonParseError>

namespace qelvane::mklib {

namespace {

QJsonDocument readDocument(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw BuildError(QStringLiteral("%1：无法读取（%2）").arg(fileName, file.errorString()));
    const QByteArray bytes = file.readAll();
    QJsonParseError error;
    QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError) {
        const QByteArray before = bytes.left(error.offset);
        const qsizetype line = before.count('\n') + 1;
        const qsizetype column = error.offset - (before.lastIndexOf('\n') + 1) + 1;
        throw BuildError(QStringLiteral("%1:%2:%3：JSON 格式错误（%4）")
                             .arg(fileName)
                             .arg(line)
                             .arg(column)
                             .arg(error.errorString()));
    }
    return document;
}

QString itemName(const QString& fileName, qsizetype index)
{
    return QStringLiteral("%1：第 %2 项").arg(fileName).arg(index + 1);
}

} // namespace

QJsonArray readJsonArray(const QString& fileName)
{
    const QJsonDocument document = readDocument(fileName);
    if (!document.isArray())
        throw BuildError(QStringLiteral("%1：顶层应为数组").arg(fileName));
    return document.array();
}

QJsonObject readJsonObject(const QString& fileName)
{
    const QJsonDocument document = readDocument(fileName);
    if (!document.isObject())
        throw BuildError(QStringLiteral("%1：顶层应为对象").arg(fileName));
    return document.object();
}

QString requiredText(const QJsonObject& item, const QString& key, const QString& fileName, qsizetype index)
{
    const QJsonValue value = item.value(key);
    if (!value.isString() || value.toString().trimmed().isEmpty())
        throw BuildError(QStringLiteral("%1：缺少文本“%2”").arg(itemName(fileName, index), key));
    return value.toString();
}

QStringList textList(const QJsonObject& item, const QString& key, const QString& fileName, qsizetype index)
{
    const QJsonValue value = item.value(key);
    if (value.isUndefined() || value.isNull())
        return {};
    if (!value.isArray())
        throw BuildError(QStringLiteral("%1：“%2”应为文本数组").arg(itemName(fileName, index), key));
    QStringList texts;
    for (const QJsonValue& line : value.toArray()) {
        if (!line.isString())
            throw BuildError(QStringLiteral("%1：“%2”应为文本数组").arg(itemName(fileName, index), key));
        texts << line.toString();
    }
    return texts;
}

} // namespace qelvane::mklib
