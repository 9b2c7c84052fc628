#include "MetreJson.h"

#include "text/MetreWords.h"

#include <QJsonArray>

namespace qelvane::metre {

QJsonObject toJson(const Metre& metre)
{
    auto orNull = [](const QString& s) { return s.isEmpty() ? QJsonValue() : QJsonValue(s); };
    QJsonArray faults;
    for (const Fault& fault : metre.faults)
        faults.append(QJsonObject{{"line", fault.line}, {"column", fault.column}, {"kind", fault.kind}});
    QJsonArray lines;
    for (const LineMetre& line : metre.lines) {
        const QString text = lineText(metre, line);
        lines.append(QJsonObject{{"text", text}, {"tones", toneMarks(metre, line)}, {"foot", orNull(line.footGroup)}});
    }
    return QJsonObject{
        {"form", metre.form},
        {"tune", orNull(metre.tune)},
        {"tuneForm", metre.tuneForm >= 0 ? QJsonValue(metre.tuneForm + 1) : QJsonValue()},
        {"start", orNull(metre.start)},
        {"firstLineRhymes", metre.firstLineRhymes ? QJsonValue(*metre.firstLineRhymes) : QJsonValue()},
        {"book", bookName(metre.book)},
        {"rhymeGroups", QJsonArray::fromStringList(metre.rhymeGroups)},
        {"neighbourGroup", orNull(metre.neighbourGroup)},
        {"faults", faults},
        {"lines", lines},
        {"summary", describe(metre)},
    };
}

} // namespace qelvane::metre
