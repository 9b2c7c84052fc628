#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QString>

namespace qelvane::mklib {

// Reads a JSON file whose top level is an array (or an object); a syntax error is
// reported with the file's name, line and column.
QJsonArray readJsonArray(const QString& fileName);
QJsonObject readJsonObject(const QString& fileName);

// A text member that must be there, or BuildError naming the file and the item.
QString requiredText(const QJsonObject& item, const QString& key, const QString& fileName, qsizetype index);
// An array of texts (such as the lines of a poem); missing gives an empty list.
QStringList textList(const QJsonObject& item, const QString& key, const QString& fileName, qsizetype index);

} // namespace qelvane::mklib
