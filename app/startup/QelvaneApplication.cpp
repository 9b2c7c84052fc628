#include "QelvaneApplication.h"

#include "FatalReport.h"
#include "MainSub.h"
#include "store/DbConnection.h"
#include "store/StoreError.h"

#include <QIcon>
#include <QTimer>
#include <QLibraryInfo>
#include <QTranslator>
#include <cstdlib>
#include <exception>

namespace qelvane {

QelvaneApplication::QelvaneApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Qelvane"));
    setOrganizationName(QStringLiteral("Qelvane"));
    // The desktop entry names the program (its icon on Wayland's task bars); every
    // window carries the program's icon.
    setDesktopFileName(QStringLiteral("org.qelvane.Qelvane"));
    QIcon icon;
    for (const char* size : {"16x16", "32x32", "48x48", "256x256"})
        icon.addFile(QStringLiteral(":/appicon/%1/apps/org.qelvane.Qelvane.png").arg(QLatin1String(size)));
    setWindowIcon(icon);
    // A statement waiting for another program's lock shows the wait cursor until the
    // statement is through and the event loop runs again.
    DbConnection::onLockWait([] {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        QTimer::singleShot(0, [] { QGuiApplication::restoreOverrideCursor(); });
    });
}

void QelvaneApplication::loadChineseTexts()
{
    auto* translator = new QTranslator(this);
    if (translator->load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        installTranslator(translator);
    else
        delete translator;
}

bool QelvaneApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const StoreError& failure) {
        reportFatal(failure.description(), failure.detail());
    } catch (const std::exception& failure) {
        reportFatal(QString::fromUtf8(failure.what()));
    } catch (...) {
        reportFatal(QStringLiteral("未知错误。"));
    }
    // Whatever the failing handler left half-done is not written: the connection
    // rolls back an open change when it closes. The process ends here: returning
    // would let the code that called a modal dialog go on with a closed connection.
    MainSub::Finish();
    std::_Exit(EXIT_FAILURE);
}

} // namespace qelvane
