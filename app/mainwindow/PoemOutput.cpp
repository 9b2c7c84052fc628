// The poem shown on paper and as a picture: printed after a preview, a PDF of its
// pages, a card for the clipboard or a PNG file; all laid out as the printed page is.
#include "frmMain.h"

#include "platform/DesktopOpener.h"
#include "platform/MessageBox.h"
#include "platform/PoemDocument.h"
#include "ui/VerseView.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPointer>
#include <QPrintPreviewDialog>
#include <QPrinter>

namespace qelvane {

namespace {

// The PDF's pixels, and the picture's: twice a 96-dpi screen's.
constexpr qreal PdfDpi = 300, PictureDpi = 192;
// The card's width in the screen's pixels, before the doubling.
constexpr int PictureWidth = 560;

PoemDocument namingOf(const PoemLayout::Sheet& sheet)
{
    PoemDocument document;
    document.title = sheet.title;
    return document;
}

} // namespace

PoemLayout::Sheet frmMain::poemSheet() const
{
    const library::PoemText& shown = m_reader->poem()->shown;
    return {shown.title, PoemReader::bylineOf(shown), shown.content, shown.notes};
}

void frmMain::SavePdf()
{
    if (!m_reader->poem()) {
        msg::notice(this, QStringLiteral("请选择一首诗词再输出!"));
        return;
    }
    const PoemLayout::Sheet sheet = poemSheet();
    const QString folder = m_services.documentsFolder;
    const QString file = namingOf(sheet).newFileName(folder, QDate::currentDate(), QStringLiteral("pdf"));
    QPdfWriter writer(file);
    writer.setResolution(int(PdfDpi));
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setTitle(sheet.title.trimmed());
    writer.setCreator(QStringLiteral("Qelvane 诗词库"));
    QPainter painter;
    if (!QDir().mkpath(folder) || !painter.begin(&writer)) {
        msg::notice(this, QStringLiteral("无法输出：PDF 文件“%1”不能写入。").arg(QDir::toNativeSeparators(file)));
        return;
    }
    const PoemLayout layout = poemPages(QSizeF(writer.width(), writer.height()), PdfDpi, 54);
    for (int page = 0; page < layout.pageCount(); ++page) {
        if (page > 0)
            writer.newPage();
        layout.paint(painter, page);
    }
    painter.end();

    const QPointer<QWidget> window = this;
    const auto notOpened = [window, file](const QString& reason) {
        msg::notice(window, QStringLiteral("PDF 文件已保存为“%1”，但%2。请检查是否已安装 PDF 阅读程序。")
                                .arg(QDir::toNativeSeparators(file), reason));
    };
    if (!m_services.opener->openUrl(QUrl::fromLocalFile(file), notOpened))
        notOpened(QStringLiteral("无法打开它"));
}

PoemLayout frmMain::poemPages(const QSizeF& page, qreal dpi, qreal marginPoints) const
{
    // In black on white, in the poem's own face at the size chosen for it.
    PoemLayout::Style style;
    style.font = m_reading->poemPane()->font();
    style.font.setPointSizeF(fontSizeText(m_reading->poemPane()).toDouble());
    style.withNotes = m_printNotes;
    style.marginPoints = marginPoints;
    style.vertical = m_reader->vertical() && m_reader->poem()->side == LibrarySide::China;
    style.noPunctuation = m_reader->noPunctuation();
    return PoemLayout(poemSheet(), style, page, dpi);
}

void frmMain::PrintPoem()
{
    if (!m_reader->poem()) {
        msg::notice(this, QStringLiteral("请选择一首诗词再打印!"));
        return;
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(m_reader->poem()->shown.title.trimmed());
    QPrintPreviewDialog preview(&printer, this);
    preview.setWindowTitle(QStringLiteral("打印预览"));
    connect(&preview, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* target) {
        // Within the printer's own margins.
        const QRectF area = target->pageLayout().paintRectPixels(target->resolution());
        const PoemLayout layout = poemPages(area.size(), target->resolution(), 0);
        QPainter painter(target);
        for (int page = 0; page < layout.pageCount(); ++page) {
            if (page > 0)
                target->newPage();
            layout.paint(painter, page);
        }
    });
    preview.exec();
}

QImage frmMain::poemPicture() const
{
    const PoemLayout::Sheet sheet = poemSheet();
    // In the current look: the poem area's face, paper and ink.
    const VerseView* pane = m_reading->poemPane();
    PoemLayout::Style style;
    style.font = pane->font();
    style.font.setPointSizeF(fontSizeText(m_reading->poemPane()).toDouble() * 1.4);
    style.paper = pane->palette().color(QPalette::Base);
    style.ink = pane->palette().color(QPalette::Text);
    style.marginPoints = 28;
    style.vertical = m_reader->vertical() && m_reader->poem()->side == LibrarySide::China;
    style.noPunctuation = m_reader->noPunctuation();
    const PoemLayout layout(sheet, style, QSizeF(PictureWidth * PictureDpi / 96, 0), PictureDpi);
    QImage card(layout.contentSize().toSize(), QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&card);
    layout.paint(painter, 0);
    // The program's name, small, in the bottom right corner.
    QFont name = style.font;
    name.setPixelSize(int(PictureDpi / 96 * 10));
    painter.setFont(name);
    painter.setPen(style.ink);
    painter.setOpacity(0.6);
    painter.drawText(QRectF(QPointF(0, 0), layout.contentSize()).adjusted(0, 0, -PictureDpi / 6, -PictureDpi / 8),
                     Qt::AlignRight | Qt::AlignBottom, QStringLiteral("Qelvane 诗词库"));
    painter.end();
    card.setDevicePixelRatio(PictureDpi / 96);
    return card;
}

void frmMain::CopyPicture()
{
    if (!m_reader->poem()) {
        msg::notice(this, QStringLiteral("请选择一首诗词再复制!"));
        return;
    }
    QApplication::clipboard()->setImage(poemPicture());
    showPosition(QStringLiteral("已复制诗词图片：") + m_reader->poem()->shown.title.trimmed());
}

void frmMain::SavePicture()
{
    if (!m_reader->poem()) {
        msg::notice(this, QStringLiteral("请选择一首诗词再输出!"));
        return;
    }
    const QString folder = m_services.documentsFolder;
    const QString file = namingOf(poemSheet()).newFileName(folder, QDate::currentDate(), QStringLiteral("png"));
    if (!QDir().mkpath(folder) || !poemPicture().save(file, "PNG")) {
        msg::notice(this, QStringLiteral("无法输出：图片“%1”不能写入。").arg(QDir::toNativeSeparators(file)));
        return;
    }
    showPosition(QStringLiteral("诗词图片已保存为“%1”").arg(QDir::toNativeSeparators(file)));
}

} // namespace qelvane
