#include "FatalReport.h"

#include "platform/MessageBox.h"

#include <cstdio>

namespace qelvane {

void reportFatal(const QString& description, const QString& detail)
{
    std::fprintf(stderr, "qelvane: %s\n", description.toLocal8Bit().constData());
    if (!detail.isEmpty())
        std::fprintf(stderr, "%s\n", detail.toLocal8Bit().constData());
    std::fflush(stderr);
    msg::fatal(QStringLiteral("程序遇到无法继续的错误，即将退出。\n\n%1").arg(description));
}

} // namespace qelvane
