#include "HelpWindow.h"

#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QListWidget>
#include <QRegularExpression>
#include <QSplitter>
#include <QTextBrowser>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include <QKeyEvent>

namespace qelvane {

HelpWindow::HelpWindow(const QString& document, QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(QStringLiteral("Qelvane 诗词库 帮助"));
    resize(900, 640);

    m_back = new QToolButton(this);
    m_back->setObjectName(QStringLiteral("cmdBack"));
    m_back->setText(QStringLiteral("后退"));
    m_back->setArrowType(Qt::LeftArrow);
    m_back->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_forward = new QToolButton(this);
    m_forward->setObjectName(QStringLiteral("cmdForward"));
    m_forward->setText(QStringLiteral("前进"));
    m_forward->setArrowType(Qt::RightArrow);
    m_forward->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);

    m_contents = new QListWidget(this);
    m_contents->setObjectName(QStringLiteral("lstContents"));
    m_contents->setAccessibleName(QStringLiteral("目录"));
    m_browser = new QTextBrowser(this);
    m_browser->setObjectName(QStringLiteral("txtHelp"));
    m_browser->setAccessibleName(QStringLiteral("帮助内容"));
    m_browser->setOpenExternalLinks(true);

    auto* split = new QSplitter(this);
    split->addWidget(m_contents);
    split->addWidget(m_browser);
    split->setStretchFactor(1, 1);
    split->setSizes({200, 700});
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_back);
    buttons->addWidget(m_forward);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(split);

    connect(m_back, &QToolButton::clicked, m_browser, &QTextBrowser::backward);
    connect(m_forward, &QToolButton::clicked, m_browser, &QTextBrowser::forward);
    connect(m_browser, &QTextBrowser::backwardAvailable, m_back, &QToolButton::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, m_forward, &QToolButton::setEnabled);
    m_back->setEnabled(false);
    m_forward->setEnabled(false);
    // A chosen heading scrolls the document to its section.
    connect(m_contents, &QListWidget::currentRowChanged, this, [this](int row) {
        if (QListWidgetItem* item = m_contents->item(row))
            m_browser->setSource(QUrl(item->data(Qt::UserRole).toString()));
    });

    m_browser->setSource(QUrl::fromLocalFile(document));
    fillContents(document);
}

// The contents are the document's second-level headings that carry an id.
void HelpWindow::fillContents(const QString& document)
{
    QFile file(document);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QString html = QString::fromUtf8(file.readAll());
    static const QRegularExpression heading(QStringLiteral("<h2 id=\"([^\"]+)\">(.*?)</h2>"));
    const QString base = QUrl::fromLocalFile(QFileInfo(document).absoluteFilePath()).toString();
    QSignalBlocker quiet(m_contents);
    for (auto match = heading.globalMatch(html); match.hasNext();) {
        const QRegularExpressionMatch found = match.next();
        auto* item = new QListWidgetItem(found.captured(2), m_contents);
        item->setData(Qt::UserRole, base + QStringLiteral("#") + found.captured(1));
    }
}

// Escape closes it, as it closes the program's dialogs (the panes leave Escape to it).
void HelpWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace qelvane
