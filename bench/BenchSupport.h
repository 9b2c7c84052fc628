#pragma once

#include "store/DbConnection.h"
#include "store/Recordset.h"

#include <QElapsedTimer>
#include <QFile>
#include <QList>
#include <QTreeWidget>
#include <algorithm>
#include <cstdio>
#include <functional>

namespace qelvane::bench {

// Runs the work `rounds` times, `setup` before each round and left out of the time, and
// returns the median in milliseconds.
inline double medianMs(int rounds, const std::function<void()>& setup, const std::function<void()>& work)
{
    QList<double> times;
    for (int i = 0; i < rounds; ++i) {
        setup();
        QElapsedTimer timer;
        timer.start();
        work();
        times << timer.nsecsElapsed() / 1e6;
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

inline double medianMs(int rounds, const std::function<void()>& work)
{
    return medianMs(rounds, [] {}, work);
}

// The value below which a share p of the values lie (0.99: the p99).
inline double percentile(QList<double> values, double p)
{
    if (values.isEmpty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[std::min<qsizetype>(values.size() - 1, qsizetype(p * double(values.size())))];
}

// One figure as a `name: value` line.
inline void print(const char* name, double value, const char* format = "%.2f")
{
    std::printf("%s: ", name);
    std::printf(format, value);
    std::printf("\n");
    std::fflush(stdout);
}

// A path of the program beside the bare engine work it cannot avoid: three lines,
// NAME_ms, NAME_bare_ms and NAME_ratio.
inline void printPath(const QByteArray& name, double programMs, double bareMs)
{
    print(name + "_ms", programMs);
    print(name + "_bare_ms", bareMs);
    print(name + "_ratio", bareMs > 0 ? programMs / bareMs : 0);
}

// The most memory the process has held (VmHWM), in MB.
inline double peakMemoryMb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024;
    return -1;
}

inline int countOf(DbConnection& db, const QString& statement)
{
    return Recordset(db, statement).Field("n").toInt();
}

// The Chinese author with the most poems: the longest list a click fills.
inline QString busiestAuthor(DbConnection& db)
{
    return Recordset(db, "select AuthorID, count(*) as n from ChinaPoem group by AuthorID order by n desc limit 1")
        .Text("AuthorID");
}

} // namespace qelvane::bench
