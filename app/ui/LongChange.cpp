#include "LongChange.h"

#include "store/DbConnection.h"

#include <QEventLoop>
#include <QPointer>
#include <QProgressDialog>
#include <QTimer>
#include <exception>
#include <thread>

namespace qelvane::longchange {

namespace {
// A change done sooner shows no dialog at all.
constexpr int QuietMs = 300;
int Running = 0;
} // namespace

bool running()
{
    return Running > 0;
}

void run(QWidget* parent, DbConnection& db, const QString& label, const Work& work)
{
    // Busy until the change tells how far it has come.
    QProgressDialog dialog(label, QString(), 0, 0, parent);
    dialog.setWindowTitle(QStringLiteral("请稍候"));
    dialog.setWindowModality(Qt::WindowModal);
    dialog.setMinimumDuration(0);
    dialog.setAutoClose(false);
    dialog.setAutoReset(false);
    dialog.hide();
    QTimer showLater;
    showLater.setSingleShot(true);
    QObject::connect(&showLater, &QTimer::timeout, &dialog, [&dialog] { dialog.show(); });
    showLater.start(QuietMs);

    QEventLoop loop;
    QPointer<QProgressDialog> shown(&dialog);
    std::exception_ptr failure;
    ++Running;
    std::thread worker([&] {
        try {
            auto own = DbConnection::OpenBeside(db);
            work(*own, [shown](int done, int total) {
                const int percent = total > 0 ? done * 100 / total : 0;
                QMetaObject::invokeMethod(shown, [shown, percent] {
                    if (!shown)
                        return;
                    shown->setMaximum(100);
                    shown->setValue(percent);
                }, Qt::QueuedConnection);
            });
        } catch (...) {
            failure = std::current_exception();
        }
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    // The window paints and its timers run; what the reader types or clicks meanwhile
    // comes after, as it would after any change.
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    worker.join();
    --Running;
    if (failure)
        std::rethrow_exception(failure);
}

} // namespace qelvane::longchange
