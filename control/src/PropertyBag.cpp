#include "tolvarin/Tolvarin.h"

#include <QBuffer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace tolvarin {

namespace {

qsizetype indexOf(const QList<QPair<QString, QVariant>>& entries, const QString& name)
{
    for (qsizetype i = 0; i < entries.size(); ++i)
        if (entries[i].first.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

QJsonObject encode(const QString& name, const QVariant& value)
{
    QJsonObject entry{{"name", name}};
    switch (value.typeId()) {
    case QMetaType::Bool:
        entry.insert("type", "bool");
        entry.insert("value", value.toBool());
        break;
    case QMetaType::QString:
        entry.insert("type", "string");
        entry.insert("value", value.toString());
        break;
    case QMetaType::QFont:
        entry.insert("type", "font");
        entry.insert("value", value.value<QFont>().toString());
        break;
    case QMetaType::QPixmap: {
        QByteArray png;
        const QPixmap pixmap = value.value<QPixmap>();
        if (!pixmap.isNull()) {
            QBuffer buffer(&png);
            buffer.open(QIODevice::WriteOnly);
            pixmap.save(&buffer, "PNG");
        }
        entry.insert("type", "picture");
        entry.insert("value", QString::fromLatin1(png.toBase64()));
        break;
    }
    default:
        if (!value.isValid()) {
            entry.insert("type", "nothing");
        } else {
            entry.insert("type", "number");
            entry.insert("value", QString::number(value.toLongLong()));
        }
    }
    return entry;
}

QVariant decode(const QJsonObject& entry, bool* ok)
{
    const QString type = entry.value("type").toString();
    const QJsonValue value = entry.value("value");
    if (type == "bool")
        return value.toBool();
    if (type == "string")
        return value.toString();
    if (type == "font") {
        QFont font;
        if (!font.fromString(value.toString()))
            *ok = false;
        return font;
    }
    if (type == "picture") {
        QPixmap pixmap;
        const QByteArray png = QByteArray::fromBase64(value.toString().toLatin1());
        if (!png.isEmpty() && !pixmap.loadFromData(png, "PNG"))
            *ok = false;
        return pixmap;
    }
    if (type == "number") {
        bool numeric = false;
        const qlonglong number = value.toString().toLongLong(&numeric);
        if (!numeric)
            *ok = false;
        return number;
    }
    if (type != "nothing")
        *ok = false;
    return {};
}

} // namespace

QVariant PropertyBag::ReadProperty(const QString& name, const QVariant& defaultValue) const
{
    const qsizetype i = indexOf(m_entries, name);
    return i < 0 ? defaultValue : m_entries[i].second;
}

void PropertyBag::WriteProperty(const QString& name, const QVariant& value, const QVariant& defaultValue)
{
    const qsizetype i = indexOf(m_entries, name);
    if (value == defaultValue) {
        if (i >= 0)
            m_entries.removeAt(i);
        return;
    }
    if (i >= 0)
        m_entries[i].second = value;
    else
        m_entries.append({name, value});
}

bool PropertyBag::contains(const QString& name) const
{
    return indexOf(m_entries, name) >= 0;
}

QStringList PropertyBag::names() const
{
    QStringList all;
    for (const auto& entry : m_entries)
        all << entry.first;
    return all;
}

QString PropertyBag::toText() const
{
    QJsonArray entries;
    for (const auto& [name, value] : m_entries)
        entries.append(encode(name, value));
    return QString::fromUtf8(QJsonDocument(entries).toJson(QJsonDocument::Indented));
}

PropertyBag PropertyBag::fromText(const QString& text, bool* ok)
{
    PropertyBag bag;
    bool good = true;
    const QJsonDocument document = QJsonDocument::fromJson(text.toUtf8());
    if (!document.isArray())
        good = false;
    for (const QJsonValue& entry : document.array()) {
        const QJsonObject object = entry.toObject();
        const QString name = object.value("name").toString();
        if (name.isEmpty()) {
            good = false;
            continue;
        }
        bag.m_entries.append({name, decode(object, &good)});
    }
    if (ok)
        *ok = good;
    return bag;
}

} // namespace tolvarin
