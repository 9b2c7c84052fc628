#include "ChineseConversion.h"

#include "StoreError.h"

#include <opencc/opencc.h>

namespace qelvane {

ChineseConversion::ChineseConversion(const char* config) : m_opencc(opencc_open(config))
{
    // opencc_open reports failure as (opencc_t)-1.
    if (!m_opencc || m_opencc == reinterpret_cast<void*>(-1)) {
        m_opencc = nullptr;
        throw StoreError(QStringLiteral("无法载入 OpenCC 的繁简转换配置 %1（%2）")
                             .arg(QString::fromLatin1(config), QString::fromUtf8(opencc_error())));
    }
}

ChineseConversion::~ChineseConversion()
{
    if (m_opencc)
        opencc_close(static_cast<opencc_t>(m_opencc));
}

QString ChineseConversion::operator()(const QString& text) const
{
    if (text.isEmpty())
        return text;
    const QByteArray utf8 = text.toUtf8();
    char* converted = opencc_convert_utf8(static_cast<opencc_t>(m_opencc), utf8.constData(), size_t(utf8.size()));
    if (!converted)
        throw StoreError(QStringLiteral("繁简转换失败（%1）").arg(QString::fromUtf8(opencc_error())));
    const QString result = QString::fromUtf8(converted);
    opencc_convert_utf8_free(converted);
    return result;
}

} // namespace qelvane
