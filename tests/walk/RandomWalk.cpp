// A seeded random walk of mouse and key events over the running program: the main
// window, every dialog and message box it opens, context menus, the clipboard. It
// ends on its own after a number of events or seconds, then checks the library file.
// It fails (non-zero exit) on a crash, a sanitizer report, a fatal report (the
// program ends itself), a library that fails SQLite's integrity check, or row counts
// that the walk's own committed changes do not explain.
//
// Every menu command is run now and then, each once a round of a shuffled deck; in a
// dialog, half the events press its own buttons, tabs and swatches, so that what is
// a few presses deep (the options dialog's font, colour and music choosers) is
// reached. The summary gives each window's share of the events and how often each
// chooser was asked.
//
//   tst_randomwalk [EVENTS [SEED [SECONDS]]]     defaults: 2000, the clock, 600
//
// The library is a copy of the sample library; exported documents, settings and
// music stay in a temporary folder; choosers answer Cancel and nothing is opened on
// the desktop.
#include "TestServices.h"
#include "TestLibrary.h"
#include "mainwindow/frmMain.h"
#include "platform/MessageBox.h"
#include "platform/SettingsStore.h"
#include "startup/MainSub.h"
#include "startup/QelvaneApplication.h"
#include "store/DbConnection.h"
#include "tolvarin/Tolvarin.h"
#include "ui/ColorSwatch.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QMap>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPointer>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTimer>
#include "ui/LongChange.h"
#include <QtTest>
#include <algorithm>
#include <cstdio>
#include <limits>
#include <sqlite3.h>

using namespace qelvane;

namespace {

const char* const Tables[] = {"ChinaEpoch",  "ChinaAuthor",   "ChinaAuthorDetail", "ChinaPoem",       "ForeignCountry",
                              "ForeignEpoch", "ForeignAuthor", "ForeignAuthorDetail", "ForeignPoem", "ChinaPoemFormat",
                              "NewCount"};

QMap<QString, qint64> rowCounts(const QString& file)
{
    QMap<QString, qint64> counts;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("walk-check"));
        db.setDatabaseName(file);
        if (db.open()) {
            for (const char* table : Tables) {
                QSqlQuery query(db);
                if (query.exec(QStringLiteral("select count(*) from %1").arg(QLatin1String(table))) && query.next())
                    counts[QLatin1String(table)] = query.value(0).toLongLong();
            }
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("walk-check"));
    return counts;
}

QString integrityOf(const QString& file)
{
    QString answer;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("walk-integrity"));
        db.setDatabaseName(file);
        QSqlQuery query(db);
        if (db.open() && query.exec(QStringLiteral("pragma integrity_check")))
            while (query.next())
                answer += query.value(0).toString();
        else
            answer = QStringLiteral("cannot be read");
    }
    QSqlDatabase::removeDatabase(QStringLiteral("walk-integrity"));
    return answer;
}

// Counts the rows the program inserts and deletes, per table, as its transactions
// commit; what a rollback undoes is forgotten.
class ChangeLedger {
public:
    void watch(DbConnection& db)
    {
        sqlite3* handle = db.sqliteHandle();
        sqlite3_update_hook(handle, &ChangeLedger::onRow, this);
        sqlite3_commit_hook(handle, &ChangeLedger::onCommit, this);
        sqlite3_rollback_hook(handle, &ChangeLedger::onRollback, this);
    }
    const QMap<QString, qint64>& committed() const { return m_committed; }

private:
    static void onRow(void* self, int operation, const char*, const char* table, sqlite3_int64)
    {
        auto* ledger = static_cast<ChangeLedger*>(self);
        if (operation == SQLITE_INSERT)
            ++ledger->m_pending[QString::fromUtf8(table)];
        else if (operation == SQLITE_DELETE)
            --ledger->m_pending[QString::fromUtf8(table)];
    }
    static int onCommit(void* self)
    {
        auto* ledger = static_cast<ChangeLedger*>(self);
        for (auto it = ledger->m_pending.cbegin(); it != ledger->m_pending.cend(); ++it)
            ledger->m_committed[it.key()] += it.value();
        ledger->m_pending.clear();
        return 0;
    }
    static void onRollback(void* self) { static_cast<ChangeLedger*>(self)->m_pending.clear(); }

    QMap<QString, qint64> m_pending;
    QMap<QString, qint64> m_committed;
};

// The keys a reader presses, with their modifiers: moving, choosing, editing, the
// program's shortcuts and the clipboard.
struct Press {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
};
const Press Presses[] = {
    {Qt::Key_Tab, Qt::NoModifier},        {Qt::Key_Backtab, Qt::ShiftModifier}, {Qt::Key_Up, Qt::NoModifier},
    {Qt::Key_Down, Qt::NoModifier},       {Qt::Key_Left, Qt::NoModifier},       {Qt::Key_Right, Qt::NoModifier},
    {Qt::Key_Home, Qt::NoModifier},       {Qt::Key_End, Qt::NoModifier},        {Qt::Key_PageDown, Qt::NoModifier},
    {Qt::Key_Return, Qt::NoModifier},     {Qt::Key_Escape, Qt::NoModifier},     {Qt::Key_Space, Qt::NoModifier},
    {Qt::Key_Delete, Qt::NoModifier},     {Qt::Key_Backspace, Qt::NoModifier},  {Qt::Key_A, Qt::ControlModifier},
    {Qt::Key_C, Qt::ControlModifier},     {Qt::Key_V, Qt::ControlModifier},     {Qt::Key_X, Qt::ControlModifier},
    {Qt::Key_Z, Qt::ControlModifier},     {Qt::Key_Insert, Qt::ShiftModifier},  {Qt::Key_F, Qt::ControlModifier},
    {Qt::Key_D, Qt::ControlModifier},     {Qt::Key_N, Qt::ControlModifier},     {Qt::Key_E, Qt::ControlModifier},
    {Qt::Key_S, Qt::ControlModifier},     {Qt::Key_F1, Qt::NoModifier},         {Qt::Key_O, Qt::AltModifier},
    {Qt::Key_C, Qt::AltModifier},         {Qt::Key_Y, Qt::AltModifier},         {Qt::Key_N, Qt::AltModifier},
};

// Choosers that answer Cancel, as the walk's services do, and count how often each
// was asked: the summary shows whether the walk reached them.
class CountingChoosers : public test::QueuedChoosers {
public:
    std::optional<QFont> chooseFont(QWidget* parent, const QFont& initial) override
    {
        ++fonts;
        return QueuedChoosers::chooseFont(parent, initial);
    }
    std::optional<QColor> chooseColour(QWidget* parent, const QColor& initial, const QString& title) override
    {
        ++colours;
        return QueuedChoosers::chooseColour(parent, initial, title);
    }
    std::optional<QString> chooseFileToOpen(QWidget* parent, const QString& title, const QString& folder,
                                            const QString& filter) override
    {
        ++files;
        return QueuedChoosers::chooseFileToOpen(parent, title, folder, filter);
    }
    int fonts = 0;
    int colours = 0;
    int files = 0;
};

const QString Typed[] = {QStringLiteral("床前明月光"), QStringLiteral("月"), QStringLiteral("O'Hara"),
                         QStringLiteral("'; drop table ChinaPoem; --"), QStringLiteral("𠀀𪚥"),
                         QStringLiteral("\n"), QStringLiteral("10.5"), QStringLiteral("%_*")};

class Walker : public QObject {
public:
    Walker(int events, quint32 seed, int seconds, const QString& folder)
        : m_events(events), m_random(seed), m_seconds(seconds), m_folder(folder)
    {
    }

    void start()
    {
        m_settings = std::make_unique<SettingsStore>(m_folder + QStringLiteral("/settings.ini"));
        m_clock.start();
        startProgram();
        scheduleStep();
    }

    int done = 0;
    int starts = 0;
    bool finished = false;
    const ChangeLedger& ledger() const { return m_ledger; }
    const CountingChoosers& choosers() const { return m_choosers; }

    // The share of the events each window received, most first: "frmMain 61.2%, …".
    QString shares() const
    {
        QList<QPair<int, QString>> rows;
        for (auto it = m_received.cbegin(); it != m_received.cend(); ++it)
            rows.append({it.value(), it.key()});
        std::sort(rows.begin(), rows.end(), [](const auto& a, const auto& b) {
            return a.first != b.first ? a.first > b.first : a.second < b.second;
        });
        QStringList parts;
        for (const auto& [count, name] : rows)
            parts << QStringLiteral("%1 %2%").arg(name).arg(100.0 * count / std::max(done, 1), 0, 'f', 1);
        return parts.isEmpty() ? QStringLiteral("none") : parts.join(QStringLiteral(", "));
    }

private:
    void startProgram()
    {
        MainSub::Finish();
        MainSub::MainForm = nullptr;
        MainSub::Environment environment;
        environment.applicationFolder = m_folder;
        environment.settings = m_settings.get();
        environment.makeMusicBackend = [this] { return std::make_unique<test::RecordingMusicBackend>(&m_music); };
        environment.opener = &m_opener;
        environment.choosers = &m_choosers;
        environment.documentsFolder = m_folder + QStringLiteral("/documents");
        // The splash hands out events while the program starts: the walk waits.
        m_starting = true;
        MainSub::Start(environment);
        m_starting = false;
        m_main = MainSub::MainForm;
        m_ledger.watch(*MainSub::DbConnection);
        longchange::watchConnections([this](DbConnection& db) { m_ledger.watch(db); });
        ++starts;
    }

    int below(int bound) { return int(m_random.bounded(quint32(bound))); }

    // Where a reader's input goes now: a popup menu, a modal dialog or message box,
    // or one of the program's windows.
    QWidget* target()
    {
        if (QWidget* popup = QApplication::activePopupWidget())
            return popup;
        if (QWidget* modal = QApplication::activeModalWidget())
            return modal;
        QWidgetList windows;
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window->isVisible() && !window->isMinimized() && window->objectName() != QLatin1String("frmSplash") &&
                window->windowType() != Qt::ToolTip)
                windows << window;
        if (windows.isEmpty())
            return nullptr;
        // The application keeps its windows in no fixed order: sorted, so that the order
        // does not change a seed's walk (a tooltip comes and goes with the clock).
        std::stable_sort(windows.begin(), windows.end(),
                         [](const QWidget* a, const QWidget* b) { return windowName(a) < windowName(b); });
        // Mostly the main window; sometimes a search or help window beside it.
        if (m_main && m_main->isVisible() && below(4) != 0)
            return m_main;
        return windows[below(int(windows.size()))];
    }

    static bool interactive(QWidget* widget)
    {
        return qobject_cast<QAbstractButton*>(widget) || qobject_cast<tolvarin::Tolvarin*>(widget) ||
               qobject_cast<QTabBar*>(widget) || qobject_cast<QMenuBar*>(widget) || qobject_cast<QComboBox*>(widget) ||
               qobject_cast<QLineEdit*>(widget) || qobject_cast<QMenu*>(widget) ||
               qobject_cast<QAbstractItemView*>(widget->parentWidget()) ||
               qobject_cast<QPlainTextEdit*>(widget->parentWidget());
    }

    QWidget* someWidgetOf(QWidget* window)
    {
        // In a dialog the clicks mostly pass by the controls seen to close it, as its
        // presses do (see pressControl).
        const bool passBy = window != m_main && below(4) != 0;
        QWidgetList all{window};
        QWidgetList chosen;
        for (QWidget* child : window->findChildren<QWidget*>())
            if (child->isVisible() && child->isEnabled() && child->width() > 0 && child->height() > 0) {
                all << child;
                if (interactive(child) && !(passBy && m_closing.contains(controlName(window, child))))
                    chosen << child;
            }
        if (chosen.isEmpty() || below(5) == 0)
            chosen = all;
        return chosen[below(int(chosen.size()))];
    }

    QPoint somePointOf(QWidget* widget) { return QPoint(below(widget->width()), below(widget->height())); }

    void fillClipboard()
    {
        auto* data = new QMimeData;
        switch (below(5)) {
        case 0:
            break; // data of no format at all
        case 1:
            data->setHtml(QStringLiteral("<b>粗体</b>"));
            break;
        case 2:
            data->setImageData(QImage(8, 8, QImage::Format_RGB32));
            break;
        case 3:
            data->setText(Typed[below(std::size(Typed))]);
            break;
        default:
            delete data;
            QGuiApplication::clipboard()->clear();
            return;
        }
        QGuiApplication::clipboard()->setMimeData(data);
    }

    // With QELVANE_WALK_TRACE set, each action is written down as it is made.
    static void trace(const QString& what)
    {
        static const bool on = qEnvironmentVariableIsSet("QELVANE_WALK_TRACE");
        if (on)
            std::fprintf(stderr, "walk: %s\n", qPrintable(what));
    }
    // A window as the summary counts it: by its name, or its class where it has none;
    // every menu, of the menu bar or a context menu, as one.
    static QString windowName(const QWidget* window)
    {
        if (qobject_cast<const QMenu*>(window) || window->objectName().isEmpty())
            return QLatin1String(window->metaObject()->className());
        return window->objectName();
    }
    // A control as the walk remembers it, with its window: by its name, or its text
    // where it has none (a message box's buttons).
    static QString controlName(const QWidget* window, const QWidget* control)
    {
        QString name = control->objectName();
        if (name.isEmpty())
            if (auto* button = qobject_cast<const QAbstractButton*>(control))
                name = button->text();
        if (name.isEmpty())
            name = QLatin1String(control->metaObject()->className());
        return windowName(window) + QLatin1Char('/') + name;
    }
    static QString nameOf(const QWidget* widget)
    {
        if (!widget)
            return QStringLiteral("-");
        return QStringLiteral("%1/%2:%3")
            .arg(widget->window()->objectName(), widget->objectName(), QLatin1String(widget->metaObject()->className()));
    }

    // The menu bar's commands by name (the window is made anew at each start).
    QStringList menuCommands() const
    {
        QStringList names;
        for (QMenuBar* bar : m_main->findChildren<QMenuBar*>())
            for (QAction* header : bar->actions())
                if (QMenu* menu = header->menu())
                    for (QAction* action : menu->actions())
                        if (!action->isSeparator() && !action->menu() && !action->objectName().isEmpty())
                            names << action->objectName();
        return names;
    }

    // A command, as the menu bar or tool bar runs it. Most come from the menus, dealt
    // from a shuffled deck so that each is run once a round, however many the menus
    // hold; the rest from any of the window's named actions.
    void runCommand()
    {
        QList<QAction*> actions;
        for (QAction* action : m_main->findChildren<QAction*>())
            if (action->isEnabled() && !action->isSeparator() && !action->objectName().isEmpty() && !action->menu())
                actions << action;
        if (actions.isEmpty())
            return;
        QAction* chosen = nullptr;
        if (below(4) != 0) {
            if (m_menuDeck.isEmpty()) {
                m_menuDeck = menuCommands();
                for (qsizetype i = m_menuDeck.size() - 1; i > 0; --i)
                    m_menuDeck.swapItemsAt(i, below(int(i) + 1));
            }
            const QString name = m_menuDeck.isEmpty() ? QString() : m_menuDeck.takeLast();
            for (QAction* action : actions)
                if (action->objectName() == name && qobject_cast<QMenu*>(action->parent()))
                    chosen = action;
        }
        if (!chosen)
            chosen = actions[below(int(actions.size()))];
        trace(QStringLiteral("command %1").arg(chosen->objectName()));
        chosen->trigger();
    }

    // A dialog's, box's or window's own controls: its buttons, check boxes, colour
    // swatches and the tabs not shown. Each is named with its window, so that what was
    // pressed is remembered across showings and starts.
    struct Control {
        QPointer<QWidget> widget;
        int tab = -1;
        QString name;
    };
    QList<Control> controlsOf(QWidget* window) const
    {
        QList<Control> controls;
        const QString prefix = windowName(window) + QLatin1Char('/');
        for (QWidget* child : window->findChildren<QWidget*>()) {
            if (child->window() != window || !child->isVisible() || !child->isEnabled())
                continue;
            if (auto* bar = qobject_cast<QTabBar*>(child)) {
                for (int i = 0; i < bar->count(); ++i)
                    if (i != bar->currentIndex() && bar->isTabEnabled(i) && bar->isTabVisible(i))
                        controls.append({bar, i, prefix + QStringLiteral("tab ") + bar->tabText(i)});
            } else if ((qobject_cast<QAbstractButton*>(child) && !qobject_cast<QTabBar*>(child->parentWidget())) ||
                       qobject_cast<tolvarin::Tolvarin*>(child) || qobject_cast<ColorSwatch*>(child)) {
                controls.append({child, -1, controlName(window, child)});
            }
        }
        return controls;
    }

    // Presses one of the window's own controls. Seldom one seen to close its window
    // (unless nothing else is left, and never just after a press brought up new
    // controls), so that a dialog stays open for what its buttons open: the options'
    // music chooser is three presses deep (its tab, the music box, 选择). Mostly one
    // that the last press there brought up (a page's controls, a button a tick
    // enabled), and mostly the one pressed least so far, so each is reached in turn.
    bool pressControl(QWidget* window)
    {
        QList<Control> staying;
        QList<Control> leaving;
        QSet<QString> offered;
        for (const Control& control : controlsOf(window)) {
            (m_closing.contains(control.name) ? leaving : staying) << control;
            offered.insert(control.name);
        }
        QList<Control> brought;
        const QSet<QString> before = m_offered.value(windowName(window));
        for (const Control& control : staying)
            if (!before.contains(control.name) && control.tab < 0) // a tab brought up is the page left
                brought << control;
        m_offered.insert(windowName(window), offered);
        const bool leave = !leaving.isEmpty() && (staying.isEmpty() || (brought.isEmpty() && below(20) == 0));
        const QList<Control>& controls = leave ? leaving : !brought.isEmpty() && below(4) != 0 ? brought : staying;
        if (controls.isEmpty())
            return false;
        qsizetype pick = below(int(controls.size()));
        if (!leave && below(4) != 0) {
            int fewest = std::numeric_limits<int>::max();
            QList<qsizetype> least;
            for (qsizetype i = 0; i < controls.size(); ++i) {
                const int pressed = m_pressed.value(controls[i].name);
                if (pressed < fewest) {
                    fewest = pressed;
                    least.clear();
                }
                if (pressed == fewest)
                    least << i;
            }
            pick = least[below(int(least.size()))];
        }
        const Control control = controls[pick];
        ++m_pressed[control.name];
        trace(QStringLiteral("press %1").arg(control.name));
        QPointer<QWidget> widget = control.widget;
        QPointer<QWidget> pressedIn = window;
        pressAt(widget, control.tab);
        if (!pressedIn || !pressedIn->isVisible())
            m_closing.insert(control.name);
        return true;
    }

    void pressAt(QPointer<QWidget> widget, int tab)
    {
        QPoint at = widget->rect().center();
        if (auto* bar = qobject_cast<QTabBar*>(widget.data()))
            at = bar->tabRect(tab).center();
        else if (qobject_cast<QCheckBox*>(widget) || qobject_cast<QRadioButton*>(widget))
            at = QPoint(widget->height() / 2, widget->height() / 2); // on the box, not past the text
        if (qobject_cast<ColorSwatch*>(widget)) {
            QTest::mouseDClick(widget, Qt::LeftButton, {}, at);
            return;
        }
        QTest::mousePress(widget, Qt::LeftButton, {}, at);
        if (widget)
            QTest::mouseRelease(widget, Qt::LeftButton, {}, at);
    }

    void act(QWidget* window)
    {
        // In the main window one event in ten is a command; in a dialog, a box or a
        // window beside the main one, half the events press its own controls.
        if (window == m_main && below(10) == 0) {
            runCommand();
            return;
        }
        if (window != m_main && window != QApplication::activePopupWidget() && below(2) == 0 && pressControl(window))
            return;
        const int choice = below(100);
        QWidget* focus = window->focusWidget() ? window->focusWidget() : window;
        if (QWidget* popup = QApplication::activePopupWidget(); popup && popup == window)
            focus = popup;
        if (choice < 45) {
            QPointer<QWidget> widget = someWidgetOf(window);
            const QPoint at = somePointOf(widget);
            const Qt::MouseButton button = below(10) == 0 ? Qt::RightButton : Qt::LeftButton;
            // Each half of a click goes only to a widget still there: a press may close
            // the window it was aimed at.
            trace(QStringLiteral("click %1 %2 at %3,%4").arg(nameOf(widget)).arg(int(button)).arg(at.x()).arg(at.y()));
            QTest::mousePress(widget, button, {}, at);
            if (widget)
                QTest::mouseRelease(widget, button, {}, at);
            if (widget && choice < 5) {
                QTest::mousePress(widget, button, {}, at);
                if (widget)
                    QTest::mouseDClick(widget, button, {}, at);
            }
        } else if (choice < 80) {
            const Press& press = Presses[below(std::size(Presses))];
            QPointer<QWidget> receiver = focus;
            trace(QStringLiteral("key %1 %2 to %3").arg(int(press.key)).arg(int(press.modifiers)).arg(nameOf(receiver)));
            QTest::keyPress(receiver, press.key, press.modifiers);
            if (receiver)
                QTest::keyRelease(receiver, press.key, press.modifiers);
        } else if (choice < 92) {
            QPointer<QWidget> receiver = focus;
            trace(QStringLiteral("type to %1").arg(nameOf(receiver)));
            for (const QChar character : Typed[below(std::size(Typed))]) {
                if (!receiver)
                    break;
                if (character == QLatin1Char('\n'))
                    QTest::keyClick(receiver, Qt::Key_Return);
                else
                    QTest::sendKeyEvent(QTest::Click, receiver, Qt::Key_unknown, QString(character), Qt::NoModifier);
            }
        } else if (choice < 96) {
            fillClipboard();
        } else if (window == m_main) {
            runCommand();
        } else if (window != QApplication::activePopupWidget()) {
            pressControl(window);
        }
    }

    // Closes what is open, innermost first, then the main window; then the walk ends.
    void finish()
    {
        // A long change refuses every close until it is done: the walk waits for it, as a
        // reader would, before closing anything.
        if (longchange::running())
            return;
        if (QWidget* popup = QApplication::activePopupWidget()) {
            popup->close();
            return;
        }
        if (QWidget* modal = QApplication::activeModalWidget()) {
            // A question answered No closes a box; a dialog is closed as by its title bar.
            QTest::keyClick(modal, Qt::Key_Escape);
            if (QApplication::activeModalWidget() == modal)
                modal->close();
            return;
        }
        if (m_main) {
            msg::Recorder quitting;
            quitting.answerNext(msg::Answer::Yes);
            m_main->close();
        }
        MainSub::MainForm = nullptr;
        MainSub::Finish();
        finished = true;
        QCoreApplication::quit();
    }

    // Each step is a timer of its own, set before the step acts: a timer does not fire
    // again while its own handler runs, and an action may run a modal dialog's or a
    // menu's event loop, where the walk must go on.
    void scheduleStep()
    {
        if (!finished)
            QTimer::singleShot(0, this, [this] { step(); });
    }

    void step()
    {
        if (finished)
            return;
        scheduleStep();
        if (m_starting)
            return;
        if (done >= m_events || m_clock.elapsed() > qint64(m_seconds) * 1000) {
            finish();
            return;
        }
        if (!m_main) {
            // The reader quit the program: it is started again on the same library.
            if (QApplication::activeModalWidget() || QApplication::activePopupWidget()) {
                finish();
                return;
            }
            startProgram();
        }
        if (QWidget* window = target()) {
            ++done;
            ++m_received[windowName(window)];
            act(window);
        }
    }

    int m_events;
    QRandomGenerator m_random;
    int m_seconds;
    QString m_folder;
    QElapsedTimer m_clock;
    std::unique_ptr<SettingsStore> m_settings;
    QStringList m_music;
    test::RecordingOpener m_opener;
    CountingChoosers m_choosers;
    QMap<QString, int> m_received;
    QStringList m_menuDeck;
    QMap<QString, int> m_pressed;
    QSet<QString> m_closing;
    QMap<QString, QSet<QString>> m_offered;
    QPointer<frmMain> m_main;
    bool m_starting = false;
    ChangeLedger m_ledger;
};

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen")
                                                                     : qgetenv("QT_QPA_PLATFORM"));
    QelvaneApplication app(argc, argv);
    app.loadChineseTexts();
    // The reader may quit the program: the walk starts it again.
    app.setQuitOnLastWindowClosed(false);
    // The offscreen screen's word on what it cannot do, thousands of times, says nothing.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context, const QString& message) {
        if (!message.startsWith(QLatin1String("This plugin does not support")))
            std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
    });
    const QStringList args = app.arguments();
    const int events = args.size() > 1 ? args[1].toInt() : 2000;
    const quint32 seed = args.size() > 2 ? args[2].toUInt() : quint32(QDateTime::currentMSecsSinceEpoch());
    const int seconds = args.size() > 3 ? args[3].toInt() : 600;
    std::printf("walk: %d events, seed %u (run again with: tst_randomwalk %d %u)\n", events, seed, events, seed);
    std::fflush(stdout);

    QTemporaryDir folder;
    QDir().mkpath(folder.filePath(QStringLiteral("data")));
    const QString library = folder.filePath(QStringLiteral("data/poem.mdb"));
    if (!QFile::copy(QStringLiteral(QELVANE_WALK_LIBRARY), library)) {
        std::fprintf(stderr, "walk: no sample library at %s\n", QELVANE_WALK_LIBRARY);
        return 2;
    }
    QFile::setPermissions(library, QFile::ReadOwner | QFile::WriteOwner);
    const QMap<QString, qint64> before = rowCounts(library);

    Walker walker(events, seed, seconds, folder.path());
    QElapsedTimer clock;
    clock.start();
    QTimer::singleShot(0, &walker, [&walker] { walker.start(); });
    app.exec();

    const QString integrity = integrityOf(library);
    const QMap<QString, qint64> after = rowCounts(library);
    QStringList unexplained;
    QStringList changed;
    for (const char* name : Tables) {
        const QString table = QLatin1String(name);
        const qint64 net = walker.ledger().committed().value(table);
        if (net != 0)
            changed << QStringLiteral("%1 %2%3").arg(table, net > 0 ? QStringLiteral("+") : QString()).arg(net);
        if (after.value(table, -1) != before.value(table, -1) + net)
            unexplained << QStringLiteral("%1: %2 before, %3 after, %4 by the walk")
                               .arg(table)
                               .arg(before.value(table, -1))
                               .arg(after.value(table, -1))
                               .arg(net);
    }
    std::printf("walk: %d events in %.1f s, %d starts, rows changed: %s; integrity %s\n", walker.done,
                clock.elapsed() / 1000.0, walker.starts,
                qPrintable(changed.isEmpty() ? QStringLiteral("none") : changed.join(QStringLiteral(", "))),
                qPrintable(integrity));
    std::printf("walk: events by window: %s\n", qPrintable(walker.shares()));
    std::printf("walk: choosers asked: font %d, colour %d, music %d\n", walker.choosers().fonts,
                walker.choosers().colours, walker.choosers().files);
    for (const QString& line : unexplained)
        std::printf("walk: unexplained row count, %s\n", qPrintable(line));
    const bool passed = walker.finished && integrity == QLatin1String("ok") && unexplained.isEmpty();
    std::printf("%d passed, %d failed\n", passed ? 1 : 0, passed ? 0 : 1);
    return passed ? 0 : 1;
}
