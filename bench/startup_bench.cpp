// Times the program's start as a reader meets it: from launching the process to the
// main window painted with the all-poems tree built, beside the bare engine work of
// that start (opening the file, the tree's statements). Then the program's peak
// memory once the reader has clicked the busiest author, a poem and both views.
//   startup_bench LIBRARY [BASELINE_LIBRARY]
// With a baseline (a small library), also what the library's size adds to the start.
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

// Notes the first paint of the watched window.
class PaintWatch : public QObject {
public:
    bool painted = false;
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            painted = true;
        return QObject::eventFilter(watched, event);
    }
};

// The program's own start on the library, as main() runs it, in this process.
int runProgram(int argc, char** argv, const QString& library)
{
    QelvaneApplication app(argc, argv);
    app.loadChineseTexts();
    fonts::installReadingFonts();

    // The start-up sequence reads data/poem.mdb beside the program and the user's settings.
    QTemporaryDir folder;
    QDir(folder.path()).mkpath(QStringLiteral("data"));
    QFile::link(library, MainSub::libraryPath(folder.path()));
    SettingsStore settings(folder.filePath(QStringLiteral("settings.ini")));
    MainSub::Environment environment;
    environment.applicationFolder = folder.path();
    environment.settings = &settings;
    environment.makeMusicBackend = [] { return std::make_unique<SilentMusicBackend>(); };

    PaintWatch watch;
    MainSub::Start(environment);
    frmMain& form = *MainSub::MainForm;
    form.installEventFilter(&watch);
    QElapsedTimer waited;
    waited.start();
    while (!watch.painted && waited.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    std::printf("shown\n");
    std::fflush(stdout);

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
    double peakMemoryMb = -1;
};

// One launch of this program in its program role, timed until it says the window is shown.
Start launch(const QString& library)
{
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    program.setProcessEnvironment(environment);
    Start start;
    QElapsedTimer clock;
    clock.start();
    program.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--program"), library});
    QByteArray output;
    while (!output.contains("shown\n") && program.waitForReadyRead(30000))
        output += program.readAllStandardOutput();
    if (output.contains("shown\n"))
        start.shownMs = clock.nsecsElapsed() / 1e6;
    program.waitForFinished(30000);
    output += program.readAllStandardOutput();
    for (const QByteArray& line : output.split('\n'))
        if (line.startsWith("program_peak_memory_mb:"))
            start.peakMemoryMb = line.mid(line.indexOf(':') + 1).trimmed().toDouble();
    return start;
}

double medianStartMs(const QString& library, double* peakMemory)
{
    QList<double> times;
    for (int i = 0; i < Rounds; ++i) {
        const Start start = launch(library);
        times << start.shownMs;
        *peakMemory = std::max(*peakMemory, start.peakMemoryMb);
    }
    std::sort(times.begin(), times.end());
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
        return runProgram(argc, argv, QString::fromLocal8Bit(argv[2]));
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
    print("program_peak_memory_mb", peakMemory, "%.1f");
    return 0;
}
