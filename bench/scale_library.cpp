// Makes a library several times the size of a given one, for the benchmarks.
//   scale_library LIBRARY.mdb OUT.mdb COPIES
#include "ScaleLibrary.h"

#include <QCoreApplication>
#include <QFile>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 4 || QString(argv[3]).toInt() < 1) {
        std::fprintf(stderr, "usage: scale_library LIBRARY.mdb OUT.mdb COPIES\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[2]);
    QFile::remove(out);
    if (!QFile::copy(QString::fromLocal8Bit(argv[1]), out)) {
        std::fprintf(stderr, "scale_library: cannot write %s\n", argv[2]);
        return 1;
    }
    auto db = qelvane::DbConnection::Open(out);
    qelvane::multiply(*db, QString(argv[3]).toInt());
    return 0;
}
