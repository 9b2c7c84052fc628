// The program itself, started on libraries it must refuse: it reports the path and
// the reason, ends with a failure status, and leaves the file as it was.
#include "TestLibrary.h"

#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QtTest>
#include <unistd.h>

class tst_StartFailures : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_folder;

    QString libraryFile() const { return m_folder + "/data/poem.mdb"; }

    struct Run {
        int exitCode = -1;
        QString errors;
    };

    // Permissions bind an ordinary user; an administrator is run as "nobody" for them.
    Run runProgram(bool asOrdinaryUser = false)
    {
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("XDG_CONFIG_HOME", m_dir.filePath("config"));
        program.setProcessEnvironment(environment);
        if (asOrdinaryUser && geteuid() == 0)
            program.start("setpriv", {"--reuid=65534", "--regid=65534", "--clear-groups", m_folder + "/qelvane"});
        else
            program.start(m_folder + "/qelvane", {});
        if (!program.waitForFinished(30000)) {
            program.kill();
            program.waitForFinished();
            return {};
        }
        Run run;
        run.exitCode = program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1;
        run.errors = QString::fromLocal8Bit(program.readAllStandardError());
        return run;
    }

    static QByteArray contents(const QString& file)
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    void expectRefusal(const QString& reason, bool asOrdinaryUser = false)
    {
        const QByteArray before = contents(libraryFile());
        const bool existed = QFile::exists(libraryFile());
        const Run run = runProgram(asOrdinaryUser);
        QVERIFY2(run.exitCode > 0, qPrintable(QString("exit code %1").arg(run.exitCode)));
        QVERIFY2(run.errors.contains(libraryFile()), qPrintable(run.errors));
        QVERIFY2(run.errors.contains(reason), qPrintable(run.errors));
        QCOMPARE(QFile::exists(libraryFile()), existed);
        QCOMPARE(contents(libraryFile()), before);
        // The main window was never shown, so it saved no placement.
        QVERIFY(!QFile::exists(m_dir.filePath("config/Qelvane/Qelvane.conf")));
    }

    void writeLibrary(const QByteArray& bytes)
    {
        QDir().mkpath(m_folder + "/data");
        QFile file(libraryFile());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

private slots:
    void initTestCase()
    {
        m_folder = m_dir.filePath("app");
        QVERIFY(QDir().mkpath(m_folder));
        QVERIFY(QFile::copy(QELVANE_PROGRAM, m_folder + "/qelvane"));
        // The control library beside it, found through $ORIGIN even by a user who cannot
        // reach the build folder.
        QVERIFY(QFile::copy(TOLVARIN_LIBRARY_FILE, m_folder + "/" TOLVARIN_LIBRARY_NAME));
    }

    void cleanup()
    {
        QFile::setPermissions(libraryFile(), QFile::ReadOwner | QFile::WriteOwner);
        QDir(m_folder + "/data").removeRecursively();
    }

    void missingLibrary()
    {
        expectRefusal("文件不存在");
        QVERIFY(!QDir(m_folder + "/data").exists());
    }

    void emptyFile()
    {
        writeLibrary({});
        expectRefusal("不是诗词库");
    }

    void randomBytes()
    {
        QByteArray noise(4096, '\0');
        for (int i = 0; i < noise.size(); ++i)
            noise[i] = char((i * 2654435761u) >> 13);
        writeLibrary(noise);
        expectRefusal("不是有效的数据库文件");
    }

    void databaseWithoutTheTables()
    {
        QDir().mkpath(m_folder + "/data");
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "other");
            db.setDatabaseName(libraryFile());
            QVERIFY(db.open());
            QSqlQuery(db).exec("create table Notes (Text text)");
            db.close();
        }
        QSqlDatabase::removeDatabase("other");
        expectRefusal("缺少数据表 ChinaEpoch");
    }

    void folderThatCannotBeWritten()
    {
        // The file may be written, but SQLite cannot make its journal beside it: the
        // user's first change would fail, so the library is refused at start.
        qelvane::test::copyFixtureLibrary(m_folder + "/data");
        const auto everyone = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther | QFile::ExeOwner |
                              QFile::ExeGroup | QFile::ExeOther;
        QFile::setPermissions(m_dir.path(), everyone | QFile::WriteOwner);
        QFile::setPermissions(m_folder, everyone | QFile::WriteOwner);
        QFile::setPermissions(libraryFile(), QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                                 QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther);
        QFile::setPermissions(m_folder + "/data", everyone);
        expectRefusal("文件夹不可写入", true);
        QFile::setPermissions(m_folder + "/data", everyone | QFile::WriteOwner);
    }

    void lockedFile()
    {
        qelvane::test::copyFixtureLibrary(m_folder + "/data");
        // Read before the lock is taken: closing any descriptor of the file in this
        // process would drop the lock the holder keeps on it.
        const QByteArray before = contents(libraryFile());
        Run run;
        {
            QSqlDatabase holder = QSqlDatabase::addDatabase("QSQLITE", "holder");
            holder.setDatabaseName(libraryFile());
            QVERIFY(holder.open());
            QVERIFY(QSqlQuery(holder).exec("begin exclusive"));
            run = runProgram();
            QSqlQuery(holder).exec("rollback");
            holder.close();
        }
        QSqlDatabase::removeDatabase("holder");
        QVERIFY2(run.exitCode > 0, qPrintable(QString("exit code %1").arg(run.exitCode)));
        QVERIFY2(run.errors.contains(libraryFile()) && run.errors.contains("锁定"), qPrintable(run.errors));
        QCOMPARE(contents(libraryFile()), before);
    }

    // The X server goes away under a running program: Qt ends the process at once, and
    // the library connection must be released before Qt's own globals are.
    void theDisplayGoesAway()
    {
        if (QStandardPaths::findExecutable("Xvfb").isEmpty() || QStandardPaths::findExecutable("xdotool").isEmpty())
            QSKIP("Xvfb and xdotool are not installed");
        qelvane::test::copyFixtureLibrary(m_folder + "/data");
        QProcess server;
        server.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        // The server takes a free display and writes its number, a line, once it accepts
        // connections.
        server.start("Xvfb", {"-displayfd", "1", "-screen", "0", "800x600x24", "-nolisten", "tcp"});
        while (!server.canReadLine())
            QVERIFY(server.waitForReadyRead(20000));
        const QString display = ":" + QString::fromLatin1(server.readLine()).trimmed();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "xcb");
        environment.insert("DISPLAY", display);
        environment.insert("XDG_CONFIG_HOME", m_dir.filePath("config"));
        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(m_folder + "/qelvane", {});
        QVERIFY(program.waitForStarted());
        QProcess shown;
        shown.setProcessEnvironment(environment);
        shown.start("timeout", {"30", "xdotool", "search", "--sync", "--onlyvisible", "--name", "诗词库"});
        QVERIFY(shown.waitForFinished(40000));
        QCOMPARE(shown.exitCode(), 0);
        server.kill();
        server.waitForFinished();
        QVERIFY(program.waitForFinished(30000));
        const QString errors = QString::fromLocal8Bit(program.readAllStandardError());
        QVERIFY2(program.exitStatus() == QProcess::NormalExit, qPrintable(errors));
        QVERIFY2(!errors.contains("Sanitizer"), qPrintable(errors));
    }
};

QTEST_GUILESS_MAIN(tst_StartFailures)
#include "tst_startfailures.moc"
