// Export of the chosen poem to a word-processor document: the document read back
// from the file, and what the user is told when it cannot be made or opened.
#include "MainWindowHarness.h"
#include "mainwindow/frmMain.h"
#include "platform/MessageBox.h"
#include "platform/MusicPlayer.h"
#include "platform/PoemDocument.h"

#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTreeWidget>
#include <QXmlStreamReader>
#include <QtTest>

using namespace qelvane;

namespace {

struct Paragraph {
    QString text;
    QString style;
};

// The paragraphs of an OpenDocument text, a line break read as "\n"; and the
// paragraph and text styles by name.
struct OdfContent {
    QList<Paragraph> paragraphs;
    QHash<QString, QString> alignment; // paragraph style -> fo:text-align
    QHash<QString, QString> size;      // text style -> fo:font-size
    QStringList spanStyles;            // of each paragraph's text, in order
};

OdfContent readOdf(const QString& file)
{
    QProcess unzip;
    unzip.start("unzip", {"-p", file, "content.xml"});
    unzip.waitForFinished();
    QXmlStreamReader xml(unzip.readAllStandardOutput());
    OdfContent content;
    QString style, current;
    bool inParagraph = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            const auto attributes = xml.attributes();
            if (xml.name() == u"style") {
                style = attributes.value("style:name").toString();
            } else if (xml.name() == u"paragraph-properties") {
                content.alignment[style] = attributes.value("fo:text-align").toString();
            } else if (xml.name() == u"text-properties") {
                content.size[style] = attributes.value("fo:font-size").toString();
            } else if (xml.name() == u"p") {
                content.paragraphs.append({QString(), attributes.value("text:style-name").toString()});
                content.spanStyles.append(QString());
            } else if (xml.name() == u"span") {
                content.spanStyles.last() = attributes.value("text:style-name").toString();
            } else if (xml.name() == u"line-break") {
                content.paragraphs.last().text += "\n";
            } else if (xml.name() == u"tab") {
                content.paragraphs.last().text += "\t";
            } else if (xml.name() == u"s") {
                content.paragraphs.last().text += QString(attributes.value("text:c").toInt() + (attributes.hasAttribute("text:c") ? 0 : 1), ' ');
            }
        } else if (xml.isCharacters() && !content.paragraphs.isEmpty() && inParagraph) {
            // Every character inside a paragraph counts, white space too, as a word
            // processor reads it (runs of white space fold to one space).
            QString text = xml.text().toString();
            text.replace(QRegularExpression("[ \t\n\r]+"), " ");
            content.paragraphs.last().text += text;
        }
        if (xml.isStartElement() && xml.name() == u"p")
            inParagraph = true;
        if (xml.isEndElement() && xml.name() == u"p")
            inParagraph = false;
    }
    return content;
}

} // namespace

class tst_Export : public QObject {
    Q_OBJECT
    std::unique_ptr<test::MainWindowHarness> h;
    frmMain* form() { return h->form.get(); }
    QString documents() { return h->folder.filePath("Documents"); }

    void choosePoem(const QStringList& author, const QString& title)
    {
        QVERIFY(test::chooseNode(form(), author));
        QVERIFY(test::chooseEntry(form(), title));
    }
    QStringList written() { return QDir(documents()).entryList({"*.odt"}, QDir::Files, QDir::Name); }

private slots:
    void init() { h = std::make_unique<test::MainWindowHarness>(); }
    void cleanup() { h.reset(); }

    void theThirteenParagraphs()
    {
        choosePoem({"中国诗词", "唐", "李白"}, "静夜思");
        msg::Recorder boxes;
        form()->BarMain_ToolClick("tbSave");
        QVERIFY(boxes.shown().isEmpty());
        QCOMPARE(written().size(), 1);
        const QString file = QDir(documents()).filePath(written().first());
        QCOMPARE(h->opener.opened, QList<QUrl>({QUrl::fromLocalFile(file)}));

        const OdfContent content = readOdf(file);
        QCOMPARE(content.paragraphs.size(), 13);
        QStringList texts;
        for (const Paragraph& paragraph : content.paragraphs)
            texts << paragraph.text;
        const QString today = PoemDocument::dateText(QDate::currentDate());
        QCOMPARE(texts, QStringList({"静夜思", "", "作者:李白", "", "床前明月光，疑是地上霜。\n举头望明月，低头思故乡。", "",
                                     "五言绝句。", "", "李白，字太白，号青莲居士。", "", "", "", today}));
        QVERIFY(QRegularExpression("^\\d{4}年[1-9]\\d?月[1-9]\\d?日$").match(today).hasMatch());
        // Only the last paragraph is right-aligned and 10.5 points.
        for (int i = 0; i < 13; ++i) {
            const bool last = i == 12;
            QCOMPARE(content.alignment.value(content.paragraphs[i].style) == "end", last);
            if (!content.spanStyles[i].isEmpty())
                QCOMPARE(content.size.value(content.spanStyles[i]) == "10.5pt", last);
        }
    }

    void emptyNotesAndAMissingRow()
    {
        choosePoem({"中国诗词", "唐", "无名氏"}, "无题");
        test::seed(h->libraryFile, "delete from ChinaPoem where Name='无题'");
        msg::Recorder boxes;
        form()->ExportPoem();
        const OdfContent content = readOdf(QDir(documents()).filePath(written().first()));
        QCOMPARE(content.paragraphs.size(), 13);
        QCOMPARE(content.paragraphs[2].text, QString("作者:不详"));
        QCOMPARE(content.paragraphs[6].text, QString());
    }

    void nothingChosen()
    {
        test::lvwPoem(form())->clear();
        msg::Recorder boxes;
        form()->ExportPoem();
        QCOMPARE(boxes.texts(), QStringList({"请选择一首诗词再输出!"}));
        QVERIFY(h->opener.opened.isEmpty());
        QVERIFY(!QDir(documents()).exists() || written().isEmpty());
    }

    void twoExportsTwoFilesAndAnAwkwardTitle()
    {
        test::seed(h->libraryFile, "update ForeignPoem set Name='Day/Night: a \"study\"' where Name='Morning'");
        form()->LoadTree();
        choosePoem({"国外诗词", "英国", "O'Brien"}, "Day/Night: a \"study\"");
        msg::Recorder boxes;
        form()->ExportPoem();
        form()->ExportPoem();
        QVERIFY(boxes.shown().isEmpty());
        QCOMPARE(written().size(), 2);
        QVERIFY(written().at(0).startsWith("Day_Night_ a _study_"));
        QCOMPARE(h->opener.opened.size(), 2);
        QVERIFY(h->opener.opened[0] != h->opener.opened[1]);
    }

    // The document holds exactly the poem's lines: spaces, tabs and breaks as typed,
    // nothing added at a line's end; a long title is cut at whole characters.
    void exactlyTheLinesTyped()
    {
        const QString text = "床前明月光，\n  疑是  地上霜。\t注\n举头望明月";
        const QString title = QString(59, QChar(0x6708)) + QString::fromUcs4(U"\U00020000") + "尾";
        test::seed(h->libraryFile, "update ChinaPoem set Content=?, Name=? where Name='静夜思'", {text, title});
        choosePoem({"中国诗词", "唐", "李白"}, title);
        msg::Recorder boxes;
        form()->ExportPoem();
        QVERIFY(boxes.shown().isEmpty());
        const OdfContent content = readOdf(QDir(documents()).filePath(written().first()));
        QCOMPARE(content.paragraphs.value(4).text, text);
        QVERIFY2(written().first().startsWith(QString(59, QChar(0x6708)) + " "), qPrintable(written().first()));
    }

    void whenItCannotBeWrittenOrOpened()
    {
        choosePoem({"中国诗词", "唐", "杜甫"}, "春望");
        msg::Recorder boxes;
        // Nothing opens it: the document stays where it was written, and the reader is
        // told where.
        h->opener.answer = false;
        form()->ExportPoem();
        QCOMPARE(written().size(), 1);
        const QString first = QDir(documents()).filePath(written().first());
        QCOMPARE(boxes.texts(), QStringList({"文档已保存为“" + first + "”，但无法打开它。请检查是否已正确安装文字处理程序。"}));
        // The opener starts but fails afterwards (no program for the file): told as well.
        h->opener.answer = true;
        h->opener.laterFailure = "没有可以打开它的文字处理程序（xdg-open 返回 3）";
        boxes.clear();
        form()->ExportPoem();
        QCOMPARE(written().size(), 2);
        QCOMPARE(boxes.texts().size(), 1);
        QVERIFY2(boxes.texts().first().endsWith("”，但没有可以打开它的文字处理程序（xdg-open 返回 3）。请检查是否已正确安装文字处理程序。"),
                 qPrintable(boxes.texts().first()));
        h->opener.laterFailure.clear();
        // The documents folder cannot be made.
        QFile blocker(h->folder.filePath("blocked"));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        h->opener.answer = true;
        h->opener.opened.clear();
        Services services = h->services();
        services.documentsFolder = h->folder.filePath("blocked/Documents");
        frmMain other(services, std::make_unique<SilentMusicBackend>());
        other.Load();
        test::chooseNode(&other, {"中国诗词", "唐", "杜甫"});
        test::chooseEntry(&other, "春望");
        boxes.clear();
        other.ExportPoem();
        QCOMPARE(boxes.texts().size(), 1);
        QVERIFY2(boxes.texts().first().startsWith("无法输出：文档“" + h->folder.filePath("blocked/Documents/春望")),
                 qPrintable(boxes.texts().first()));
        QVERIFY(boxes.texts().first().endsWith("”不能写入。"));
        QVERIFY(h->opener.opened.isEmpty());
    }

    void theWordProcessorReadsIt()
    {
        const QString office = QStandardPaths::findExecutable("libreoffice");
        if (office.isEmpty())
            QSKIP("LibreOffice is not installed");
        choosePoem({"中国诗词", "唐", "李白"}, "静夜思");
        form()->ExportPoem();
        QProcess convert;
        convert.start(office, {"--headless", "--convert-to", "txt:Text (encoded):UTF8", "--outdir", documents(),
                               QDir(documents()).filePath(written().first())});
        QVERIFY(convert.waitForFinished(120000));
        QDir folder(documents());
        QFile text(folder.filePath(folder.entryList({"*.txt"}).value(0)));
        QVERIFY(text.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromUtf8(text.readAll()).remove(QChar(0xFEFF)).split('\n');
        QCOMPARE(lines.value(0).trimmed(), QString("静夜思"));
        QCOMPARE(lines.value(2).trimmed(), QString("作者:李白"));
    }
};

QTEST_MAIN(tst_Export)
#include "tst_export.moc"
