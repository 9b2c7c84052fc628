// qelvane-coverage LIBRARY: counts the distinct characters of a library's titles,
// texts, notes, names and biographies that no installed face can show.
#include "store/DbConnection.h"
#include "store/SqliteStatement.h"
#include "ui/Fonts.h"

#include <QGuiApplication>
#include <cstdio>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: qelvane-coverage LIBRARY\n");
        return 2;
    }
    try {
        auto db = qelvane::DbConnection::Open(QString::fromLocal8Bit(argv[1]));
        QSet<char32_t> characters;
        for (const char* statement :
             {"select Name, Content, Note, Author from ChinaPoem", "select Name, Content, Note, Author from ForeignPoem",
              "select AuthorName, '', '', '' from ChinaAuthor", "select AuthorName, '', '', '' from ForeignAuthor",
              "select AuthorDetail, '', '', '' from ChinaAuthorDetail",
              "select AuthorDetail, '', '', '' from ForeignAuthorDetail"}) {
            for (qelvane::SqliteStatement rows(db->sqliteHandle(), statement); rows.next();)
                for (int column = 0; column < 4; ++column)
                    qelvane::fonts::collect(rows.text(column), characters);
        }
        const QList<char32_t> missing = qelvane::fonts::uncovered(characters);
        std::printf("distinct characters: %lld\n", static_cast<long long>(characters.size()));
        std::printf("not shown by any installed face: %lld\n", static_cast<long long>(missing.size()));
        for (qsizetype i = 0; i < missing.size() && i < 40; ++i)
            std::printf("  U+%04X %s\n", unsigned(missing[i]),
                        QString::fromUcs4(&missing[i], 1).toUtf8().constData());
        return 0;
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "qelvane-coverage: %s\n", failure.what());
        return 1;
    }
}
