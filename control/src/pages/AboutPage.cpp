// The About property page: what the control is, and two links.
#include "tolvarin/PropertyPages.h"

#include <QDesktopServices>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QVBoxLayout>

namespace tolvarin {

namespace {
const QString MailAddress = QStringLiteral("tolvarin@example.org");
const QString WebAddress = QStringLiteral("https://example.org/tolvarin");

QLabel* line(QWidget* page, const char* name, const QString& text)
{
    auto* label = new QLabel(text, page);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

QLabel* link(QWidget* page, const char* name, const QString& text)
{
    QLabel* label = line(page, name, text);
    label->setStyleSheet(QStringLiteral("color: blue; text-decoration: underline;"));
    label->setCursor(Qt::PointingHandCursor);
    label->setFocusPolicy(Qt::StrongFocus);
    return label;
}
} // namespace

AboutPage::AboutPage(std::function<void(const QUrl&)> open, QWidget* parent)
    : QWidget(parent), m_open(open ? std::move(open) : [](const QUrl& url) { QDesktopServices::openUrl(url); })
{
    setObjectName(QStringLiteral("About"));
    setAutoFillBackground(true);
    // The page is white whatever the desktop's colours: its text is black on it, so it
    // stays readable under a dark palette too.
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::WindowText, Qt::black);
    white.setColor(QPalette::Text, Qt::black);
    setPalette(white);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(line(this, "Label1", QStringLiteral("Tolvarin 按钮控件")));
    layout->addWidget(line(this, "Label4", QStringLiteral("标准版")));
    layout->addWidget(line(this, "Label3", QStringLiteral("适用于 Linux 和其他运行 Qt 6 的桌面系统")));
    layout->addWidget(line(this, "Label2", QStringLiteral("可在 Qt Designer 和任何 Qt 6 程序中使用")));
    layout->addWidget(line(this, "LabelA", QStringLiteral("版本 %1.%2 标准版").arg(VersionMajor).arg(VersionMinor)));
    layout->addWidget(line(this, "LabelB", QStringLiteral("Qelvane 项目 2026")));
    LabelC = link(this, "LabelC", MailAddress);
    LabelD = link(this, "LabelD", WebAddress);
    layout->addWidget(LabelC);
    layout->addWidget(LabelD);
    layout->addStretch();
    LabelC->setProperty("url", QUrl(QStringLiteral("mailto:") + MailAddress));
    LabelD->setProperty("url", QUrl(WebAddress));
    LabelC->installEventFilter(this);
    LabelD->installEventFilter(this);
}

// A click (the left button released on the link), or Enter or Space on a focused
// link, opens it.
bool AboutPage::eventFilter(QObject* watched, QEvent* event)
{
    bool activated = false;
    if (event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const auto* label = static_cast<QWidget*>(watched);
        activated = mouse->button() == Qt::LeftButton && label->rect().contains(mouse->position().toPoint());
    }
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        activated = key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space;
    }
    if (!activated)
        return QWidget::eventFilter(watched, event);
    m_open(watched->property("url").toUrl());
    return true;
}

} // namespace tolvarin
