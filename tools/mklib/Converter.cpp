#include "Converter.h"

#include "BuildError.h"
#include "store/StoreError.h"

namespace qelvane::mklib {

Converter::Converter(bool toSimplified)
{
    if (!toSimplified)
        return;
    try {
        m_simplified.emplace();
    } catch (const StoreError& error) {
        throw BuildError(error.description());
    }
}

QString Converter::operator()(const QString& text) const
{
    if (!m_simplified)
        return text;
    try {
        return (*m_simplified)(text);
    } catch (const StoreError& error) {
        throw BuildError(error.description());
    }
}

QStringList Converter::operator()(const QStringList& texts) const
{
    QStringList result;
    result.reserve(texts.size());
    for (const QString& text : texts)
        result << (*this)(text);
    return result;
}

} // namespace qelvane::mklib
