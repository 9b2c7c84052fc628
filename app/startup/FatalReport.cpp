#include "FatalReport.h"

#include "platform/MessageBox.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <cstdio>

namespace qelvane {

namespace {
bool screenCanShowBoxes()
{
    const QString platform = QGuiApplication::platformName();
    return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}
} // namespace

void reportFatal(const QString& description, const QString& detail)
{
    std::fprintf(stderr, "qelvane: %s\n", description.toLocal8Bit().constData());
    if (!detail.isEmpty())
        std::fprintf(stderr, "%s\n", detail.toLocal8Bit().constData());
    std::fflush(stderr);
    if (!screenCanShowBoxes())
        return;
    QMessageBox box(QMessageBox::Critical, msg::ApplicationTitle,
                    QStringLiteral("程序遇到无法继续的错误，即将退出。\n\n%1").arg(description), QMessageBox::Ok);
    box.exec();
}

} // namespace qelvane
