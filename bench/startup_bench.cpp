// Times the program's start as a reader meets it: from launching the process to the
// main window's first paint with the all-poems tree built, beside the bare engine work of
// that start (opening the file, the tree's statements). Then the program's peak
// memory once the reader has clicked the busiest author, a poem and both views.
//   startup_bench LIBRARY [BASELINE_LIBRARY]
// With a baseline (a small library), also what the library's size adds to the start; and
// the start that opens again the poem the reader left (a poem from the library's middle).
#include "BareSql.h"
#include "BenchSupport.h"
#include "mainwindow/frmMain.h"
#include "platform/MusicPlayer.h"
#include "platform/SettingsStore.h"
#include "startup/MainSub.h"
#include "startup/QelvaneApplication.h"
#include "ui/Fonts.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QWindow>

using namespace qelvane;
using namespace qelvane::bench;

namespace {

constexpr int Rounds = 7;

// Notes the first paint of the watched window, and tells it at once when asked: what
// the program does after its first frame (the poem the reader left) is not start-up.
class PaintWatch : public QObject {
public:
    bool painted = false;
    const char* tell = nullptr;
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !painted) {
            painted = true;
            if (tell) {
                std::printf("%s\n", tell);
                std::fflush(stdout);
            }
        }
        return QObject::eventFilter(watched, event);
    }
};

// The program's own start on the library, as main() runs it, in this process.
// A poem from the middle of the library, as the poem a reader left open.
QString middlePoem(const QString& library)
{
    sqlite3* handle = nullptr;
    sqlite3_open_v2(library.toUtf8().constData(), &handle, SQLITE_OPEN_READONLY, nullptr);
    const QList<QByteArray> ids =
        BareSql(handle).rows("select PoemID from ChinaPoem limit 1 offset (select count(*) / 2 from ChinaPoem)");
    sqlite3_close(handle);
    return ids.isEmpty() ? QString() : QString::fromUtf8(ids.first());
}

int runProgram(int argc, char** argv, const QString& library, bool reopenPoem)
{
    QelvaneApplication app(argc, argv);
    app.loadChineseTexts();
    fonts::installReadingFonts();

    // The start-up sequence reads data/poem.mdb beside the program and the user's settings.
    QTemporaryDir folder;
    QDir(folder.path()).mkpath(QStringLiteral("data"));
    QFile::link(library, MainSub::libraryPath(folder.path()));
    SettingsStore settings(folder.filePath(QStringLiteral("settings.ini")));
    if (reopenPoem)
        settings.SaveSetting(QStringLiteral("LastPoem"), middlePoem(library));
    MainSub::Environment environment;
    environment.applicationFolder = folder.path();
    environment.settings = &settings;
    environment.makeMusicBackend = [] { return std::make_unique<SilentMusicBackend>(); };

    PaintWatch watch;
    watch.tell = "shown";
    MainSub::Start(environment);
    frmMain& form = *MainSub::MainForm;
    form.installEventFilter(&watch);
    QElapsedTimer waited;
    waited.start();
    while (!watch.painted && waited.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    if (reopenPoem) {
        // Then until the poem the reader left is drawn, a frame later.
        auto* poem = form.findChild<QWidget*>(QStringLiteral("txtPoemDetail"));
        PaintWatch poemWatch;
        poem->findChild<QWidget*>(QStringLiteral("qt_scrollarea_viewport"))->installEventFilter(&poemWatch);
        while (poem->property("plainText").toString().isEmpty() && waited.elapsed() < 10000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        poemWatch.painted = false;
        while (!poemWatch.painted && waited.elapsed() < 10000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        std::printf("poem\n");
        std::fflush(stdout);
    }

    QTreeWidgetItem* author = form.nodeByKey(LibrarySide::China, busiestAuthor(*MainSub::DbConnection));
    form.tvwPoem_NodeClick(author);
    form.lvwPoem_ItemClick(form.findChild<QTreeWidget*>(QStringLiteral("lvwPoem"))->topLevelItem(0));
    form.BarMain_ToolClick(QStringLiteral("tbFavorite"));
    form.BarMain_ToolClick(QStringLiteral("tbAll"));
    QCoreApplication::processEvents();
    print("program_peak_memory_mb", peakMemoryMb(), "%.1f");
    // Closing would ask the reader whether to leave; the window simply goes.
    delete MainSub::MainForm;
    MainSub::Finish();
    return watch.painted ? 0 : 1;
}

struct Start {
    double shownMs = -1;
    double poemMs = -1;
    double peakMemoryMb = -1;
};

// One launch of this program in its program role, timed until it says the window is shown.
Start launch(const QString& library, bool reopenPoem)
{
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    program.setProcessEnvironment(environment);
    Start start;
    QElapsedTimer clock;
    clock.start();
    program.start(QCoreApplication::applicationFilePath(),
                  {reopenPoem ? QStringLiteral("--program-reopening") : QStringLiteral("--program"), library});
    QByteArray output;
    while (!output.contains("shown\n") && program.waitForReadyRead(30000))
        output += program.readAllStandardOutput();
    if (output.contains("shown\n"))
        start.shownMs = clock.nsecsElapsed() / 1e6;
    while (reopenPoem && !output.contains("poem\n") && program.waitForReadyRead(30000))
        output += program.readAllStandardOutput();
    if (output.contains("poem\n"))
        start.poemMs = clock.nsecsElapsed() / 1e6;
    program.waitForFinished(30000);
    output += program.readAllStandardOutput();
    for (const QByteArray& line : output.split('\n'))
        if (line.startsWith("program_peak_memory_mb:"))
            start.peakMemoryMb = line.mid(line.indexOf(':') + 1).trimmed().toDouble();
    return start;
}

double medianStartMs(const QString& library, double* peakMemory, bool reopenPoem = false, double* poemMs = nullptr)
{
    QList<double> times, poemTimes;
    for (int i = 0; i < Rounds; ++i) {
        const Start start = launch(library, reopenPoem);
        times << start.shownMs;
        poemTimes << start.poemMs;
        *peakMemory = std::max(*peakMemory, start.peakMemoryMb);
    }
    std::sort(times.begin(), times.end());
    std::sort(poemTimes.begin(), poemTimes.end());
    if (poemMs)
        *poemMs = poemTimes[poemTimes.size() / 2];
    return times[times.size() / 2];
}

// Opening the file and stepping the tree's statements, on a connection of its own.
double bareStartMs(const QString& library)
{
    const QByteArray file = library.toUtf8();
    return medianMs(Rounds, [&] {
        sqlite3* handle = nullptr;
        sqlite3_open_v2(file.constData(), &handle, SQLITE_OPEN_READWRITE, nullptr);
        bareAllPoemsTree(BareSql(handle));
        sqlite3_close(handle);
    });
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && qstrcmp(argv[1], "--program") == 0)
        return runProgram(argc, argv, QString::fromLocal8Bit(argv[2]), false);
    if (argc == 3 && qstrcmp(argv[1], "--program-reopening") == 0)
        return runProgram(argc, argv, QString::fromLocal8Bit(argv[2]), true);
    if (argc < 2) {
        std::fprintf(stderr, "usage: startup_bench LIBRARY [BASELINE_LIBRARY]\n");
        return 2;
    }
    QCoreApplication app(argc, argv);
    const QString library = QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath();
    double peakMemory = -1;
    const double startMs = medianStartMs(library, &peakMemory);
    if (startMs < 0) {
        std::fprintf(stderr, "startup_bench: the program did not show its window on %s\n", argv[1]);
        return 1;
    }
    printPath("startup_to_window_shown", startMs, bareStartMs(library));
    if (argc > 2) {
        const QString baseline = QFileInfo(QString::fromLocal8Bit(argv[2])).absoluteFilePath();
        double baselineMemory = -1;
        const double baselineMs = medianStartMs(baseline, &baselineMemory);
        print("startup_baseline_library_ms", baselineMs);
        print("startup_added_by_library_size_ms", startMs - baselineMs);
    }
    // The poem the reader left, opened again as the window loads.
    double reopenMemory = -1, poemMs = -1;
    const double reopenMs = medianStartMs(library, &reopenMemory, true, &poemMs);
    print("startup_with_last_poem_ms", reopenMs);
    print("startup_last_poem_ratio", reopenMs / startMs);
    print("startup_to_last_poem_drawn_ms", poemMs);
    print("program_peak_memory_mb", std::max(peakMemory, reopenMemory), "%.1f");
    return 0;
}
