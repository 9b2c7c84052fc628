#include "Converter.h"

#include "BuildError.h"

#include <opencc/opencc.h>

namespace qelvane::mklib {

namespace {
bool isValid(void* handle)
{
    return handle && handle != reinterpret_cast<void*>(-1);
}
} // namespace

Converter::Converter(bool toSimplified)
{
    if (!toSimplified)
        return;
    m_opencc = opencc_open("t2s.json");
    if (!isValid(m_opencc))
        throw BuildError(QStringLiteral("无法载入 OpenCC 的繁简转换配置 t2s.json（%1）")
                             .arg(QString::fromUtf8(opencc_error())));
}

Converter::~Converter()
{
    if (isValid(m_opencc))
        opencc_close(static_cast<opencc_t>(m_opencc));
}

QString Converter::operator()(const QString& text) const
{
    if (!isValid(m_opencc) || text.isEmpty())
        return text;
    const QByteArray utf8 = text.toUtf8();
    char* converted = opencc_convert_utf8(static_cast<opencc_t>(m_opencc), utf8.constData(), utf8.size());
    if (!converted)
        throw BuildError(QStringLiteral("繁简转换失败（%1）").arg(QString::fromUtf8(opencc_error())));
    const QString result = QString::fromUtf8(converted);
    opencc_convert_utf8_free(converted);
    return result;
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
