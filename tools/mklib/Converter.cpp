#include "Converter.h"

#include "BuildError.h"
#include "store/StoreError.h"

namespace qelvane::mklib {

Converter::Converter(bool toSimplified)
{
    if (!toSimplified)
        return;
    try {
        m_simplified = std::make_shared<Simplified>();
    } catch (const StoreError& error) {
        throw BuildError(error.description());
    }
    m_tally = std::make_shared<QMap<QString, int>>();
}

Converter Converter::forCollection(bool traditional) const
{
    Converter converter = *this;
    converter.m_whole = traditional;
    return converter;
}

QString Converter::operator()(const QString& text) const
{
    if (!m_simplified)
        return text;
    try {
        const QString converted = m_whole ? (*m_simplified)(text) : text;
        // What the whole conversion leaves, and a Simplified text's strays.
        const QString clean = m_simplified->leftovers(converted);
        if (clean != converted) {
            for (const uint code : converted.toUcs4()) {
                const char32_t c = code;
                if (m_simplified->isTraditionalOnly(c)) {
                    const QString traditional = QString::fromUcs4(&c, 1);
                    ++(*m_tally)[traditional + QStringLiteral("→") + m_simplified->leftovers(traditional)];
                }
            }
        }
        return clean;
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
