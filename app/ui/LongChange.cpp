#include "LongChange.h"

#include "store/DbConnection.h"

#include <QApplication>
#include <QEvent>
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
std::function<void(DbConnection&)> Watcher;
} // namespace

void watchConnections(std::function<void(DbConnection& db)> watcher)
{
    Watcher = std::move(watcher);
}

// While the change runs, nothing the reader (or anything acting for him) does reaches
// the windows: a second command or a window closed halfway would act on a library and
// a screen the change is still altering. It all comes to nothing, as on a busy window.
class InputHold : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
            return true;
        case QEvent::Close:
            // Refused, not swallowed: a close taken as done would leave the window open and
            // the desktop's "close every window" (at logout, say) asking again for ever.
            event->ignore();
            return true;
        default:
            return QObject::eventFilter(watched, event);
        }
    }
};

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
            if (Watcher)
                Watcher(*own);
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
    // is held back.
    InputHold hold;
    qApp->installEventFilter(&hold);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    qApp->removeEventFilter(&hold);
    worker.join();
    --Running;
    if (failure)
        std::rethrow_exception(failure);
}

} // namespace qelvane::longchange
