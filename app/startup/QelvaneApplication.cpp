#include "QelvaneApplication.h"

#include "FatalReport.h"
#include "MainSub.h"
#include "store/DbConnection.h"
#include "store/StoreError.h"

#include <QLibraryInfo>
#include <QTranslator>
#include <cstdlib>
#include <exception>

namespace qelvane {

QelvaneApplication::QelvaneApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Qelvane"));
    setOrganizationName(QStringLiteral("Qelvane"));
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
