#include "MessageBox.h"

#include <QGuiApplication>
#include <QAbstractButton>
#include <QMessageBox>

namespace qelvane::msg {

namespace {
Recorder* activeRecorder = nullptr;

QMessageBox::Icon toQt(Icon icon)
{
    switch (icon) {
    case Icon::Information:
        return QMessageBox::Information;
    case Icon::Question:
        return QMessageBox::Question;
    case Icon::Critical:
        return QMessageBox::Critical;
    case Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButton toQt(Answer answer)
{
    switch (answer) {
    case Answer::Yes:
        return QMessageBox::Yes;
    case Answer::No:
        return QMessageBox::No;
    case Answer::Cancel:
        return QMessageBox::Cancel;
    case Answer::Ok:
        break;
    }
    return QMessageBox::Ok;
}
} // namespace

Recorder::Recorder() : m_outer(activeRecorder)
{
    activeRecorder = this;
}

Recorder::~Recorder()
{
    if (activeRecorder == this)
        activeRecorder = m_outer;
}

QStringList Recorder::texts() const
{
    QStringList all;
    for (const Box& box : m_shown)
        all << box.text;
    return all;
}

Answer show(QWidget* parent, const Box& box)
{
    if (activeRecorder) {
        activeRecorder->m_shown.append(box);
        if (!activeRecorder->m_answers.isEmpty())
            return activeRecorder->m_answers.takeFirst();
        return box.defaultButton;
    }
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
    if (box.buttons == Buttons::YesNo)
        buttons = QMessageBox::Yes | QMessageBox::No;
    else if (box.buttons == Buttons::YesNoCancel)
        buttons = QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    QMessageBox dialog(toQt(box.icon), box.title, box.text, buttons, parent);
    const QMessageBox::StandardButton order[] = {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel};
    for (int i = 0; i < box.captions.size() && i < 3; ++i) {
        if (QAbstractButton* button = dialog.button(order[i]))
            button->setText(box.captions.at(i));
    }
    dialog.setDefaultButton(toQt(box.defaultButton));
    switch (dialog.exec()) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        // Closing a box with Escape or the title bar means No, or Cancel where it has one.
        if (box.buttons == Buttons::YesNoCancel)
            return Answer::Cancel;
        return box.buttons == Buttons::YesNo ? Answer::No : Answer::Ok;
    }
}

void notice(QWidget* parent, const QString& text)
{
    show(parent, {text, QStringLiteral("提示"), Icon::Information, Buttons::Ok, Answer::Ok});
}

void plain(QWidget* parent, const QString& text)
{
    show(parent, {text, ApplicationTitle, Icon::None, Buttons::Ok, Answer::Ok});
}

Answer question(QWidget* parent, const QString& text, const QString& title)
{
    return show(parent, {text, title, Icon::Question, Buttons::YesNo, Answer::No});
}

void fatal(const QString& text)
{
    // A box on a platform without a screen would wait for an answer nobody can give.
    const QString platform = QGuiApplication::platformName();
    if (!activeRecorder && (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal")))
        return;
    show(nullptr, {text, ApplicationTitle, Icon::Critical, Buttons::Ok, Answer::Ok});
}

Answer warning(QWidget* parent, const QString& text)
{
    return show(parent, {text, QStringLiteral("警告"), Icon::Critical, Buttons::YesNo, Answer::No});
}

} // namespace qelvane::msg
