// Times the search dialog's own search (the real frmQueryPoem, offscreen), from the
// click on 查找 to its finishing step, against the bare scan it cannot avoid: the same
// statement read through SQLite's C API on a connection of its own, each row tested
// for the same text. Both run in turns, seven rounds; the medians are printed, with the
// longest the window's event loop waited in any round, and the time from a click on
// 停止 (a posted mouse press and release) to the search's finishing step.
//   search_bench LIBRARY TEXT title|content [RANGE]
#include "BenchSupport.h"
#include "dialogs/frmQueryPoem.h"
#include "dialogs/SearchResults.h"
#include "platform/Services.h"
#include "store/DbConnection.h"
#include "tolvarin/Tolvarin.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QProgressBar>
#include <QRadioButton>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <sqlite3.h>

using namespace qelvane;
using namespace qelvane::bench;

namespace {

// The bare work: every row of the statement stepped and its column tested.
double bareScanSeconds(const QString& file, const library::SearchQuery& query, int column, const QByteArray& text,
                       int* matches)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(file.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_stmt* stmt = nullptr;
    const QByteArray sql = query.statement.toUtf8();
    sqlite3_prepare_v2(db, sql.constData(), -1, &stmt, nullptr);
    QList<QByteArray> values;
    for (const QVariant& value : query.values)
        values << value.toString().toUtf8();
    for (int i = 0; i < values.size(); ++i)
        sqlite3_bind_text(stmt, i + 1, values[i].constData(), int(values[i].size()), SQLITE_STATIC);
    QElapsedTimer clock;
    clock.start();
    int found = 0;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        const auto* bytes = static_cast<const char*>(static_cast<const void*>(sqlite3_column_text(stmt, column)));
        const int size = sqlite3_column_bytes(stmt, column);
        if (bytes && size > 0 && (text.isEmpty() || memmem(bytes, size_t(size), text.constData(), size_t(text.size()))))
            ++found;
    }
    const double seconds = clock.nsecsElapsed() / 1e9;
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    *matches = found;
    return seconds;
}

// The longest stretch the event loop kept a 1 ms timer waiting, while it runs.
class GapWatch : public QObject {
public:
    GapWatch()
    {
        m_timer.setInterval(1);
        m_timer.setTimerType(Qt::PreciseTimer);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            const double now = m_clock.nsecsElapsed() / 1e6;
            m_longest = std::max(m_longest, now - m_last);
            m_last = now;
        });
    }
    void start()
    {
        m_longest = 0;
        m_clock.start();
        m_last = 0;
        m_timer.start();
    }
    double stop()
    {
        m_timer.stop();
        return m_longest;
    }

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    double m_last = 0;
    double m_longest = 0;
};

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 4 || (qstrcmp(argv[3], "title") != 0 && qstrcmp(argv[3], "content") != 0)) {
        std::fprintf(stderr, "usage: search_bench LIBRARY TEXT title|content [RANGE]\n");
        return 2;
    }
    const QString file = QString::fromLocal8Bit(argv[1]);
    const QString text = QString::fromLocal8Bit(argv[2]);
    const bool byTitle = qstrcmp(argv[3], "title") == 0;
    const QString range = argc > 4 ? QString::fromLocal8Bit(argv[4]) : library::AnyRange;

    auto db = DbConnection::Open(file);
    Services services;
    services.db = db.get();
    services.dataFolder = QCoreApplication::applicationDirPath();
    frmQueryPoem dialog(services);
    dialog.show();
    // The dialog's controls by their object names, as a user's tools find them.
    const auto named = [&dialog](const char* name) { return dialog.findChild<QWidget*>(QString::fromLatin1(name)); };
    qobject_cast<QComboBox*>(named("cboFind"))->setCurrentIndex(0);
    qobject_cast<QComboBox*>(named("cboEpoch"))->setCurrentText(range);
    qobject_cast<QRadioButton*>(named(byTitle ? "optFind_0" : "optFind_1"))->click();
    qobject_cast<QLineEdit*>(named(byTitle ? "txtName" : "txtContent"))->setText(text);

    // The user sees the dialog before clicking: let it be painted first.
    QElapsedTimer shown;
    shown.start();
    while (shown.elapsed() < 200)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);

    const library::SearchQuery query = library::searchQuery(LibrarySide::China, range);
    const int column = byTitle ? 1 : 2;
    int bareMatches = 0;

    // The whole search, from the click on 查找 to its finishing step, beside the bare
    // scan, in turns; the medians of several rounds, and the longest gap of any.
    QEventLoop loop;
    QObject::connect(&dialog, &frmQueryPoem::searchFinished, &loop, &QEventLoop::quit);
    auto* bar = qobject_cast<QProgressBar*>(named("xpBar"));
    constexpr int Rounds = 7;
    QList<double> searchTimes, bareTimes;
    double longestGap = 0;
    bool barFull = true;
    int matches = 0;
    for (int round = 0; round < Rounds; ++round) {
        bareTimes << bareScanSeconds(file, query, column, text.toUtf8(), &bareMatches);
        GapWatch gaps;
        gaps.start();
        QElapsedTimer clock;
        clock.start();
        emit qobject_cast<tolvarin::Tolvarin*>(named("cmdOK"))->Click();
        if (dialog.searching())
            loop.exec();
        searchTimes << clock.nsecsElapsed() / 1e9;
        longestGap = std::max(longestGap, gaps.stop());
        matches = dialog.results()->rowCount();
        barFull = barFull && bar->value() == bar->maximum();
        if (matches != bareMatches)
            break;
    }
    std::sort(searchTimes.begin(), searchTimes.end());
    std::sort(bareTimes.begin(), bareTimes.end());
    const double searchSeconds = searchTimes[searchTimes.size() / 2];
    const double bare = bareTimes[bareTimes.size() / 2];

    // Scrolling the whole result list once.
    QElapsedTimer scrollClock;
    scrollClock.start();
    qobject_cast<QAbstractItemView*>(named("lvwPoem"))->scrollToBottom();
    QCoreApplication::processEvents();
    const double scrollMs = scrollClock.nsecsElapsed() / 1e6;

    // A stop clicked as the reader clicks it, once the search has handed over its first
    // rows: a mouse press and release posted to 停止, timed from the posting to the
    // finishing step (after the last result is listed).
    QElapsedTimer stopClock;
    auto* stopButton = named("cmdCancel");
    const auto postClick = [stopButton] {
        const QPointF centre(stopButton->width() / 2.0, stopButton->height() / 2.0);
        const QPointF global = stopButton->mapToGlobal(centre);
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
            QCoreApplication::postEvent(stopButton,
                                        new QMouseEvent(type, centre, global, Qt::LeftButton,
                                                        type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                                                        Qt::NoModifier));
    };
    QObject::connect(bar, &QProgressBar::valueChanged, &dialog, [&](int value) {
        if (value > 0 && !stopClock.isValid() && dialog.searching()) {
            stopClock.start();
            postClick();
        }
    });
    emit qobject_cast<tolvarin::Tolvarin*>(named("cmdOK"))->Click();
    if (dialog.searching())
        loop.exec();
    const double stopLatency = stopClock.isValid() ? stopClock.nsecsElapsed() / 1e6 : -1;
    const bool stoppedEarly = bar->value() < bar->maximum();

    print("search_records", bar->maximum(), "%.0f");
    print("search_matches", matches, "%.0f");
    print("search_bare_matches", bareMatches, "%.0f");
    print("search_progress_bar_full", barFull ? 1 : 0, "%.0f");
    printPath("search", searchSeconds * 1000, bare * 1000);
    print("search_stop_latency_ms", stopLatency, "%.1f");
    print("search_stopped_early", stoppedEarly ? 1 : 0, "%.0f");
    print("search_longest_ui_gap_ms", longestGap, "%.1f");
    print("search_scroll_to_end_ms", scrollMs, "%.1f");
    return matches == bareMatches && barFull ? 0 : 1;
}
