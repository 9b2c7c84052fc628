// qelvane-metre: the metre of a poem (tones, rhymes, form, faults) from standard input,
// or the forms of a whole library by epoch. See its man page.

#include "LibraryForms.h"
#include "MetreJson.h"

#include "text/MetreWords.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonDocument>
#include <QTextStream>

#include <cstdio>

using namespace qelvane::metre;

namespace {

const char* usage = "usage: qelvane-metre [--book 平水韵|词林正韵|中华新韵] [--title TITLE] [--json] < poem.txt\n"
                    "       qelvane-metre --library FILE\n";

void printText(const Metre& metre, QTextStream& out)
{
    out << describe(metre) << "\n";
    for (const LineMetre& line : metre.lines) {
        const QString text = lineText(metre, line);
        out << text << "  " << toneMarks(metre, line);
        if (!line.footGroup.isEmpty())
            out << "  韵：" << line.footGroup;
        out << "\n";
    }
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout), err(stderr);
    const QStringList args = app.arguments().mid(1);
    BookChoice choice;
    QString title, library;
    bool json = false;
    for (int i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == u"--json") {
            json = true;
        } else if (arg == u"--title" && hasValue) {
            title = args[++i];
        } else if (arg == u"--library" && hasValue) {
            library = args[++i];
        } else if (arg == u"--book" && hasValue) {
            const QString name = args[++i];
            for (Book book : {Book::Pingshui, Book::Cilin, Book::Xinyun})
                if (bookName(book) == name)
                    choice.book = book;
            if (!choice.book) {
                err << "qelvane-metre: no rhyme book " << name << " (平水韵, 词林正韵 or 中华新韵)\n";
                return 2;
            }
        } else if (arg == u"--help" || arg == u"-h") {
            out << usage;
            return 0;
        } else {
            err << "qelvane-metre: unknown option or missing value: " << arg << "\n" << usage;
            return 2;
        }
    }
    if (!library.isEmpty())
        return printLibraryForms(library, out, err);

    QFile in;
    if (!in.open(stdin, QIODevice::ReadOnly)) {
        err << "qelvane-metre: cannot read standard input\n";
        return 1;
    }
    const QString text = QString::fromUtf8(in.readAll());
    const Metre metre = analyse(title, text, choice);
    if (json)
        out << QJsonDocument(toJson(metre)).toJson(QJsonDocument::Indented);
    else
        printText(metre, out);
    return 0;
}
