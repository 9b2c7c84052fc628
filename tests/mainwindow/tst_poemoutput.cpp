// The poem on paper and as a picture, as the reader gets them: the PDF's text read back
// by pdftotext, the card's size and ink, the failures told.
#include "MainWindowHarness.h"
#include "mainwindow/frmMain.h"
#include "DialogDriver.h"
#include "platform/MessageBox.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPrintPreviewWidget>
#include <QProcess>
#include <QTextEdit>
#include <QtTest>

using namespace qelvane;

class tst_PoemOutput : public QObject {
    Q_OBJECT
    std::unique_ptr<test::MainWindowHarness> h;
    frmMain* form() { return h->form.get(); }
    QString documents() { return h->folder.filePath("Documents"); }
    QStringList written(const QString& pattern) { return QDir(documents()).entryList({pattern}, QDir::Files); }
    void open(const QStringList& author, const QString& title)
    {
        QVERIFY(test::chooseNode(form(), author));
        QVERIFY(test::chooseEntry(form(), title));
    }
    // The PDF's text in the order it was written, without the spaces and line breaks
    // pdftotext adds; the font's radicals (⽉ for 月) folded back.
    static QString textOf(const QString& pdf)
    {
        QProcess pdftotext;
        pdftotext.start("pdftotext", {"-raw", "-enc", "UTF-8", pdf, "-"});
        if (!pdftotext.waitForFinished(30000))
            return "(pdftotext did not run)";
        QString text = QString::fromUtf8(pdftotext.readAllStandardOutput()).normalized(QString::NormalizationForm_KC);
        text.remove(QRegularExpression("\\s"));
        return text;
    }

private slots:
    void init() { h = std::make_unique<test::MainWindowHarness>(); }
    void cleanup() { h.reset(); }

    void thePdfHoldsThePoemInReadingOrder()
    {
        open({"中国诗词", "唐", "李白"}, "静夜思");
        form()->BarMain_ToolClick("mnuSavePdf");
        QCOMPARE(written("*.pdf").size(), 1);
        const QString file = QDir(documents()).filePath(written("*.pdf").first());
        QCOMPARE(h->opener.opened, QList<QUrl>({QUrl::fromLocalFile(file)}));
        // Fullwidth punctuation folds to ASCII under NFKC, in both.
        const QString expected = QString("静夜思李白·唐床前明月光，疑是地上霜。举头望明月，低头思故乡。五言绝句。")
                                     .normalized(QString::NormalizationForm_KC);
        QCOMPARE(textOf(file), expected);
        // In columns, the same characters in the same order.
        form()->BarMain_ToolClick("mnuVertical");
        form()->BarMain_ToolClick("mnuSavePdf");
        QCOMPARE(written("*.pdf").size(), 2);
        QStringList both = written("*.pdf");
        both.removeAll(QFileInfo(file).fileName());
        QCOMPARE(textOf(QDir(documents()).filePath(both.first())), expected);
    }

    void thePictureIsACardInTheCurrentLook()
    {
        open({"中国诗词", "唐", "李白"}, "静夜思");
        form()->BarMain_ToolClick("mnuCopyPicture");
        const QImage card = QApplication::clipboard()->image();
        QCOMPARE(card.width(), 1120); // 560 screen pixels at twice the density
        QVERIFY(card.height() > 300);
        const QColor paper = test::txtPoemDetail(form())->palette().color(QPalette::Base);
        const QColor ink = test::txtPoemDetail(form())->palette().color(QPalette::Text);
        QCOMPARE(QColor(card.pixel(2, 2)), paper);
        bool inked = false;
        for (int y = 0; y < card.height() && !inked; ++y)
            for (int x = 0; x < card.width() && !inked; ++x)
                inked = QColor(card.pixel(x, y)) == ink;
        QVERIFY(inked);
        form()->BarMain_ToolClick("mnuSavePicture");
        QCOMPARE(written("*.png").size(), 1);
        QCOMPARE(QImage(QDir(documents()).filePath(written("*.png").first())).size(), card.size());
    }

    void thePreviewRunsALongPoemOverPages()
    {
        QStringList verses;
        for (int i = 0; i < 200; ++i)
            verses << QString("第%1句，白日依山尽，黄河入海流。").arg(i + 1);
        test::seed(h->libraryFile, "update ChinaPoem set Content=? where Name='将进酒'", {verses.join("\r\n")});
        open({"中国诗词", "唐", "李白"}, "将进酒");
        int pages = 0;
        QString title;
        test::whenModalShows([&](QWidget* dialog) {
            title = dialog->windowTitle();
            if (auto* preview = dialog->findChild<QPrintPreviewWidget*>()) {
                preview->updatePreview();
                pages = preview->pageCount();
            }
            dialog->close();
        });
        form()->BarMain_ToolClick("mnuPrint");
        QCOMPARE(title, QString("打印预览"));
        QVERIFY2(pages >= 4, qPrintable(QString::number(pages)));
    }

    void failuresAreToldWithThePlace()
    {
        msg::Recorder boxes;
        form()->BarMain_ToolClick("mnuSavePdf");
        QCOMPARE(boxes.shown().size(), 1); // no poem chosen
        open({"中国诗词", "唐", "李白"}, "静夜思");
        // A file where the documents folder should be: nothing can be written there.
        QFile blocker(documents());
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        form()->BarMain_ToolClick("mnuSavePdf");
        form()->BarMain_ToolClick("mnuSavePicture");
        QCOMPARE(boxes.shown().size(), 3);
        QVERIFY(boxes.shown()[1].text.contains("PDF 文件“" + QDir::toNativeSeparators(documents())));
        QVERIFY(boxes.shown()[2].text.contains("图片“" + QDir::toNativeSeparators(documents())));
        QVERIFY(h->opener.opened.isEmpty());
    }
};

QTEST_MAIN(tst_PoemOutput)
#include "tst_poemoutput.moc"
