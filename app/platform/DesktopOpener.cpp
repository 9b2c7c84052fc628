#include "DesktopOpener.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>

namespace qelvane {

DesktopOpener::~DesktopOpener() = default;

bool SystemDesktopOpener::openUrl(const QUrl& url, LaterFailure failedLater)
{
    const QString xdgOpen = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (!url.isLocalFile() || xdgOpen.isEmpty())
        return QDesktopServices::openUrl(url);
    // Without a parent and deleted only once xdg-open has ended: where xdg-open runs
    // the word processor itself, the program's end must not end the word processor.
    auto* opener = new QProcess;
    opener->setStandardInputFile(QProcess::nullDevice());
    opener->setStandardOutputFile(QProcess::nullDevice());
    opener->setStandardErrorFile(QProcess::nullDevice());
    QObject::connect(opener, &QProcess::finished, opener, [opener, failedLater](int code, QProcess::ExitStatus status) {
        opener->deleteLater();
        if ((status != QProcess::NormalExit || code != 0) && failedLater)
            failedLater(QStringLiteral("没有可以打开它的文字处理程序（xdg-open 返回 %1）").arg(code));
    });
    opener->start(xdgOpen, {url.toLocalFile()});
    if (!opener->waitForStarted()) {
        delete opener;
        return false;
    }
    return true;
}

} // namespace qelvane
