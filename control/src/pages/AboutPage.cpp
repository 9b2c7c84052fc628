// The About property page: what the control is, and two links.
#include "tolvarin/PropertyPages.h"

#include <QDesktopServices>
#include <QFrame>
#include <QHBoxLayout>
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

// A picture of the button itself, as it draws: the page shows what it is about.
QLabel* picture(QWidget* page, const char* name, const QSize& size, const QString& caption, bool enabled)
{
    Tolvarin sample;
    sample.setCaption(caption);
    sample.setAppearance(Tolvarin::TVRN_Solid);
    sample.setEnabled(enabled);
    sample.resize(size);
    auto* label = new QLabel(page);
    label->setObjectName(QString::fromLatin1(name));
    label->setPixmap(sample.grab());
    label->setFixedSize(size);
    return label;
}

QFrame* rule(QWidget* page, const char* name, QFrame::Shape shape)
{
    auto* frame = new QFrame(page);
    frame->setObjectName(QString::fromLatin1(name));
    frame->setFrameShape(shape);
    frame->setFrameShadow(QFrame::Sunken);
    return frame;
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

    // The name beside a small picture of the button; below, the button as it looks
    // enabled and disabled, in a frame with the facts; a line above the links.
    auto* layout = new QVBoxLayout(this);
    auto* title = new QHBoxLayout;
    title->addWidget(picture(this, "Image1", QSize(16, 15), QString(), true));
    title->addWidget(line(this, "Label1", QStringLiteral("Tolvarin 按钮控件")));
    title->addStretch();
    layout->addLayout(title);
    QFrame* box = rule(this, "Shape1", QFrame::Box);
    auto* facts = new QVBoxLayout(box);
    auto* samples = new QHBoxLayout;
    samples->addWidget(picture(box, "Image2", QSize(75, 23), QStringLiteral("确定"), true));
    samples->addWidget(picture(box, "Image3", QSize(75, 23), QStringLiteral("确定"), false));
    samples->addStretch();
    facts->addLayout(samples);
    facts->addWidget(line(box, "Label4", QStringLiteral("标准版")));
    facts->addWidget(line(box, "Label3", QStringLiteral("适用于 Linux 和其他运行 Qt 6 的桌面系统")));
    facts->addWidget(line(box, "Label2", QStringLiteral("可在 Qt Designer 和任何 Qt 6 程序中使用")));
    facts->addWidget(line(box, "LabelA", QStringLiteral("版本 %1.%2 标准版").arg(VersionMajor).arg(VersionMinor)));
    facts->addWidget(line(box, "LabelB", QStringLiteral("Qelvane 项目 2026")));
    layout->addWidget(box);
    layout->addWidget(rule(this, "Line1", QFrame::HLine));
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
